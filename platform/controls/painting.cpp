// Painting of the controls: plain and correct. Each control asks its parent for colours
// (WM_CTLCOLOR*) after setting the device's defaults on the DC, fills its background with the
// brush it got (the system colour when the parent gives none), draws its text, and marks focus.
// A control's own scroll bars are drawn in its non-client area.
#include <algorithm>

#include "control_painting.h"
#include "control_support.h"
#include "scroll_bar_geometry.h"
#include "window_bars.h"

namespace controls_detail {

namespace {

HFONT FontOr(HFONT font)
{
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

// Selects the font and the device's text colours for the painting, restoring them after.
class TextSetup {
 public:
  TextSetup(HDC dc, HFONT font, bool enabled) : dc_(dc)
  {
    old_ = SelectObject(dc, FontOr(font));
    SetTextColor(dc, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    SetBkMode(dc, TRANSPARENT);
  }
  ~TextSetup() { SelectObject(dc_, old_); }
  TextSetup(const TextSetup&) = delete;
  TextSetup& operator=(const TextSetup&) = delete;

 private:
  HDC dc_;
  HGDIOBJ old_;
};

HBRUSH BackgroundOf(HWND hwnd, UINT ctlColorMessage, HDC dc, int defaultColour)
{
  HBRUSH brush = AskParentForBrush(hwnd, ctlColorMessage, dc);
  return brush ? brush : GetSysColorBrush(defaultColour);
}

void FillWith(HDC dc, const RECT& rect, COLORREF colour)
{
  HBRUSH brush = CreateSolidBrush(colour);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void Frame(HDC dc, const RECT& rect, int colourIndex, int width = 1)
{
  RECT r = rect;
  for (int i = 0; i < width; ++i) {
    FrameRect(dc, &r, GetSysColorBrush(colourIndex));
    InflateRect(&r, -1, -1);
  }
}

// A filled disc inside the square box, one row of pixels at a time, so that it is clipped and
// offset like any other fill.
void FillDisc(HDC dc, const RECT& box, HBRUSH brush)
{
  int size = box.right - box.left;
  if (size <= 0)
    return;
  // Twice the coordinates, so that the centre of an even box lies between two pixels.
  int centre2 = size;
  int radius2 = size;
  for (int row = 0; row < size; ++row) {
    int dy = 2 * row + 1 - centre2;
    int span = 0;
    while (span < size / 2 && dy * dy + (2 * span + 1 - centre2) * (2 * span + 1 - centre2) > radius2 * radius2)
      ++span;
    RECT line{box.left + span, box.top + row, box.right - span, box.top + row + 1};
    if (line.left < line.right)
      FillRect(dc, &line, brush);
  }
}

std::u16string TextOfWindow(HWND hwnd)
{
  // The window's own text as the default procedure keeps it, not what a subclass answers to
  // WM_GETTEXT: a subclass that shows a text of its own keeps the window's text empty.
  auto length = static_cast<size_t>(DefWindowProcW(hwnd, WM_GETTEXTLENGTH, 0, 0));
  std::u16string text(length + 1, u'\0');
  text.resize(static_cast<size_t>(
      DefWindowProcW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
  return text;
}

int Scale()
{
  return std::max(1, GetSystemMetrics(SM_CXSCREEN) / 240);
}

void PaintBarParts(HDC dc, const ScrollBarGeometry& g, bool enabled)
{
  FillRect(dc, &g.bar, GetSysColorBrush(COLOR_SCROLLBAR));
  for (ScrollPart part : {ScrollPart::firstArrow, ScrollPart::secondArrow, ScrollPart::thumb}) {
    RECT r = g.PartRect(part);
    if (IsRectEmpty(&r))
      continue;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    Frame(dc, r, COLOR_BTNSHADOW);
  }
  // Arrow marks: a small triangle made of lines, grey when the bar is disabled.
  HPEN pen = CreatePen(0, 1, GetSysColor(enabled && g.thumbLength ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  HGDIOBJ old = SelectObject(dc, pen);
  for (ScrollPart part : {ScrollPart::firstArrow, ScrollPart::secondArrow}) {
    RECT r = g.PartRect(part);
    int cx = (r.left + r.right) / 2;
    int cy = (r.top + r.bottom) / 2;
    int size = std::max(1, std::min(r.right - r.left, r.bottom - r.top) / 4);
    bool first = part == ScrollPart::firstArrow;
    for (int i = 0; i <= size; ++i) {
      if (g.vertical) {
        int y = first ? cy - size / 2 + i : cy + size / 2 - i;
        MoveToEx(dc, cx - i, y, nullptr);
        LineTo(dc, cx + i + 1, y);
      } else {
        int x = first ? cx - size / 2 + i : cx + size / 2 - i;
        MoveToEx(dc, x, cy - i, nullptr);
        LineTo(dc, x, cy + i + 1);
      }
    }
  }
  SelectObject(dc, old);
  DeleteObject(pen);
}

// The window's own scroll bars, in window coordinates (the drawing layer paints the frame).
void PaintWindowBars(HWND hwnd)
{
  DWORD style = StyleOf(hwnd);
  DWORD exStyle = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_EXSTYLE));
  if (!(style & (WS_VSCROLL | WS_HSCROLL)))
    return;
  HDC dc = GetWindowDC(hwnd);
  if (!dc)
    return;
  RECT client;
  GetClientRect(hwnd, &client);
  POINT origin{0, 0};
  ClientToScreen(hwnd, &origin);
  RECT screen;
  GetWindowRect(hwnd, &screen);
  OffsetRect(&client, origin.x - screen.left, origin.y - screen.top);
  bool enabled = IsWindowEnabled(hwnd);
  if (style & WS_VSCROLL) {
    RECT bar{client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL), client.bottom};
    if (exStyle & WS_EX_LEFTSCROLLBAR)
      bar = RECT{client.left - GetSystemMetrics(SM_CXVSCROLL), client.top, client.left, client.bottom};
    PaintBarParts(dc, ScrollBarGeometry::Of(bar, true, WindowBarData(hwnd, SB_VERT)), enabled);
  }
  if (style & WS_HSCROLL) {
    RECT bar{client.left, client.bottom, client.right, client.bottom + GetSystemMetrics(SM_CYHSCROLL)};
    PaintBarParts(dc, ScrollBarGeometry::Of(bar, false, WindowBarData(hwnd, SB_HORZ)), enabled);
  }
  ReleaseDC(hwnd, dc);
}

}  // namespace

int LineHeightOf(HWND hwnd, HFONT font)
{
  HDC dc = GetDC(hwnd);
  if (!dc)
    return 16;
  HGDIOBJ old = SelectObject(dc, FontOr(font));
  TEXTMETRICW metrics{};
  int height = GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 16;
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return std::max(1, height);
}

int TextWidthOf(HWND hwnd, HFONT font, std::u16string_view text)
{
  if (text.empty())
    return 0;
  HDC dc = GetDC(hwnd);
  if (!dc)
    return static_cast<int>(text.size()) * 8;
  HGDIOBJ old = SelectObject(dc, FontOr(font));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return size.cx;
}

void PaintWithDc(HWND hwnd, const std::function<void(HDC)>& painter)
{
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc)
    painter(dc);
  EndPaint(hwnd, &paint);
  PaintWindowBars(hwnd);
}

LRESULT PaintMessage(HWND hwnd, UINT message, WPARAM wParam, const std::function<void(HDC)>& painter)
{
  if (message == WM_PRINTCLIENT)
    painter(reinterpret_cast<HDC>(wParam));
  else
    PaintWithDc(hwnd, painter);
  return 0;
}

HBRUSH AskParentForBrush(HWND control, UINT ctlColorMessage, HDC dc)
{
  HWND parent = GetParent(control);
  if (!parent)
    return nullptr;
  return reinterpret_cast<HBRUSH>(
      SendMessageW(parent, ctlColorMessage, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control)));
}

void PaintStatic(HWND hwnd, HDC dc, HFONT font)
{
  DWORD style = StyleOf(hwnd);
  TextSetup setup(dc, font, IsWindowEnabled(hwnd));
  HBRUSH brush = BackgroundOf(hwnd, WM_CTLCOLORSTATIC, dc, COLOR_STATIC);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  std::u16string text = TextOfWindow(hwnd);
  if (text.empty())
    return;
  UINT format = DT_EXPANDTABS;
  switch (style & SS_TYPEMASK) {
  case SS_CENTER: format |= DT_CENTER | DT_WORDBREAK; break;
  case SS_RIGHT: format |= DT_RIGHT | DT_WORDBREAK; break;
  case SS_LEFTNOWORDWRAP: format |= DT_SINGLELINE; break;
  default: format |= DT_WORDBREAK; break;
  }
  if (style & SS_CENTERIMAGE)
    format = (format & ~static_cast<UINT>(DT_WORDBREAK)) | DT_VCENTER | DT_SINGLELINE;
  if (style & SS_NOPREFIX)
    format |= DT_NOPREFIX;
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &client, format);
}

void PaintButton(HWND hwnd, HDC dc, const ButtonLook& look)
{
  DWORD style = StyleOf(hwnd);
  UINT type = style & BS_TYPEMASK;
  bool enabled = !(style & WS_DISABLED);
  RECT client;
  GetClientRect(hwnd, &client);
  if (type == BS_OWNERDRAW) {
    // The parent draws the button: its brush first, then the item.
    HBRUSH brush = AskParentForBrush(hwnd, WM_CTLCOLORBTN, dc);
    if (brush)
      FillRect(dc, &client, brush);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.CtlID = static_cast<UINT>(GetDlgCtrlID(hwnd));
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ((look.state & BST_PUSHED) ? ODS_SELECTED : 0) | ((look.state & BST_FOCUS) ? ODS_FOCUS : 0) |
                     (enabled ? 0 : ODS_DISABLED);
    item.hwndItem = hwnd;
    item.hDC = dc;
    item.rcItem = client;
    if (HWND parent = GetParent(hwnd))
      SendMessageW(parent, WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    return;
  }
  TextSetup setup(dc, look.font, enabled);
  HBRUSH brush = BackgroundOf(hwnd, WM_CTLCOLORBTN, dc, COLOR_BTNFACE);
  FillRect(dc, &client, brush);
  std::u16string text = TextOfWindow(hwnd);
  int scale = Scale();
  RECT textRect = client;
  UINT format = DT_SINGLELINE | DT_VCENTER;
  switch (type) {
  case BS_PUSHBUTTON:
  case BS_DEFPUSHBUTTON: {
    bool pushed = look.state & BST_PUSHED;
    if (pushed)
      FillRect(dc, &client, GetSysColorBrush(COLOR_BTNSHADOW));
    Frame(dc, client, COLOR_WINDOWFRAME, type == BS_DEFPUSHBUTTON ? 2 : 1);
    format |= DT_CENTER;
    if (pushed)
      OffsetRect(&textRect, 1, 1);
    break;
  }
  case BS_GROUPBOX: {
    int half = LineHeightOf(hwnd, look.font) / 2;
    RECT frame{client.left, client.top + half, client.right, client.bottom};
    Frame(dc, frame, COLOR_BTNSHADOW);
    int width = TextWidthOf(hwnd, look.font, text);
    textRect = RECT{client.left + 6 * scale, client.top, client.left + 6 * scale + width + 4, client.top + 2 * half};
    if (!text.empty())
      FillRect(dc, &textRect, brush);
    format = DT_SINGLELINE | DT_CENTER | DT_VCENTER;
    break;
  }
  default: {
    // Check boxes and radio buttons: a box beside the text.
    int box = std::min(13 * scale, static_cast<int>(client.bottom - client.top));
    bool leftText = style & BS_LEFTTEXT;
    int top = (client.top + client.bottom - box) / 2;
    RECT square = leftText ? RECT{client.right - box, top, client.right, top + box}
                           : RECT{client.left, top, client.left + box, top + box};
    // A radio button is round: a ring with a dot when checked; a check box is a square.
    bool round = type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
    int frameColour = enabled ? COLOR_WINDOWFRAME : COLOR_GRAYTEXT;
    if (round) {
      FillDisc(dc, square, GetSysColorBrush(frameColour));
      RECT inside = square;
      InflateRect(&inside, -scale, -scale);
      FillDisc(dc, inside, GetSysColorBrush(COLOR_WINDOW));
    } else {
      FillRect(dc, &square, GetSysColorBrush(COLOR_WINDOW));
      Frame(dc, square, frameColour);
    }
    UINT check = look.state & (BST_CHECKED | BST_INDETERMINATE);
    if (check || (look.state & BST_PUSHED)) {
      RECT mark = square;
      InflateRect(&mark, -3 * scale, -3 * scale);
      COLORREF colour = GetSysColor((look.state & BST_PUSHED) && !check ? COLOR_BTNSHADOW
                                    : check == BST_INDETERMINATE || !enabled ? COLOR_GRAYTEXT
                                                                             : COLOR_WINDOWTEXT);
      if (round) {
        HBRUSH dot = CreateSolidBrush(colour);
        FillDisc(dc, mark, dot);
        DeleteObject(dot);
      } else {
        FillWith(dc, mark, colour);
      }
    }
    textRect = leftText ? RECT{client.left, client.top, square.left - 4 * scale, client.bottom}
                        : RECT{square.right + 4 * scale, client.top, client.right, client.bottom};
    break;
  }
  }
  if (!text.empty())
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, format);
  if ((look.state & BST_FOCUS) && type != BS_GROUPBOX) {
    // Push buttons show the focus inside their frame; check boxes and radio buttons around
    // their text, leaving the box itself as it is.
    RECT focus = client;
    if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
      InflateRect(&focus, -3, -3);
    } else {
      focus = textRect;
      focus.right = std::min(focus.right, focus.left + TextWidthOf(hwnd, look.font, text) + 4 * scale);
      focus.left = std::max(client.left, focus.left - 2 * scale);
    }
    if (focus.left < focus.right && focus.top < focus.bottom)
      DrawFocusRect(dc, &focus);
  }
}

int EditMargin()
{
  return 2 * Scale();
}

void PaintEdit(HWND hwnd, HDC dc, const EditLook& look)
{
  DWORD style = StyleOf(hwnd);
  bool enabled = !(style & WS_DISABLED);
  bool quiet = (style & ES_READONLY) || !enabled;
  TextSetup setup(dc, look.font, enabled);
  HBRUSH brush = BackgroundOf(hwnd, quiet ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT, dc, quiet ? COLOR_STATIC : COLOR_WINDOW);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  int lineHeight = LineHeightOf(hwnd, look.font);
  int margin = EditMargin();
  bool multi = style & ES_MULTILINE;
  bool showSelection = look.focused || (style & ES_NOHIDESEL);
  // The lines shown: [start, end) of the shown text, the top of each, and the caret's line.
  struct Line {
    size_t start;
    size_t end;
    int top;
    bool hasCaret;
  };
  std::vector<Line> lines;
  if (multi) {
    int top = client.top;
    for (size_t index = static_cast<size_t>(std::max(0, look.firstLine)); index < look.lines->Count() && top < client.bottom;
         ++index, top += lineHeight) {
      const EditLines::Line& line = (*look.lines)[index];
      lines.push_back({line.start, line.End(), top, index == look.caretLine});
    }
  } else {
    size_t first = std::min(static_cast<size_t>(look.firstColumn), look.shown.size());
    lines.push_back({first, look.shown.size(), (client.top + client.bottom - lineHeight) / 2, true});
  }
  COLORREF textColour = GetTextColor(dc);
  for (const Line& line : lines) {
    if (line.top >= client.bottom)
      break;
    std::u16string_view text = std::u16string_view(look.shown).substr(line.start, line.end - line.start);
    int width = TextWidthOf(hwnd, look.font, text);
    int x = client.left + margin;
    if (!multi && width < client.right - 2 * margin) {
      if (style & ES_CENTER)
        x = (client.right - width) / 2;
      else if (style & ES_RIGHT)
        x = client.right - margin - width;
    }
    auto xAt = [&](size_t position) {
      return x + TextWidthOf(hwnd, look.font, text.substr(0, std::clamp(position, line.start, line.end) - line.start));
    };
    ExtTextOutW(dc, x, line.top, 0, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    size_t from = std::max(look.selStart, line.start);
    size_t to = std::min(look.selEnd, line.end);
    if (showSelection && from < to) {
      RECT selected{xAt(from), line.top, xAt(to), line.top + lineHeight};
      FillRect(dc, &selected, GetSysColorBrush(COLOR_HIGHLIGHT));
      SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      std::u16string_view part = std::u16string_view(look.shown).substr(from, to - from);
      ExtTextOutW(dc, selected.left, line.top, 0, nullptr, part.data(), static_cast<UINT>(part.size()), nullptr);
      SetTextColor(dc, textColour);
    }
    if (look.focused && line.hasCaret) {
      RECT caret{xAt(look.caret), line.top, xAt(look.caret) + Scale(), line.top + lineHeight};
      FillWith(dc, caret, textColour);
    }
  }
}

void PaintScrollBar(HWND hwnd, HDC dc, const ScrollData& data, bool vertical, int thumbPos)
{
  HBRUSH brush = AskParentForBrush(hwnd, WM_CTLCOLORSCROLLBAR, dc);
  RECT client;
  GetClientRect(hwnd, &client);
  ScrollBarGeometry g = ScrollBarGeometry::Of(client, vertical, data, thumbPos);
  PaintBarParts(dc, g, IsWindowEnabled(hwnd));
  if (brush) {
    // The parent's brush colours the track.
    for (ScrollPart part : {ScrollPart::trackBefore, ScrollPart::trackAfter}) {
      RECT r = g.PartRect(part);
      FillRect(dc, &r, brush);
    }
  }
}

}  // namespace controls_detail
