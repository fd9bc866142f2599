// The EDIT control.
#include <algorithm>

#include "control_painting.h"
#include "control_procedures.h"
#include "control_support.h"
#include "edit_lines.h"
#include "edit_text.h"

namespace controls_detail {

namespace {

constexpr size_t kDefaultLimit = 0x7FFF;
constexpr size_t kLargestLimit = 0x7FFFFFFE;

struct EditRecord {
  EditText text;
  EditLines lines;
  size_t limit = kDefaultLimit;
  char16_t passwordChar = u'*';
  bool modified = false;
  bool selecting = false;  // the pointer is down and drags a selection
  // The caret stands where the text wraps at the end of the line before, not at the start of
  // the next one (End, Up and Down, or a tap past a line's end put it there).
  bool caretAfterWrap = false;
  HFONT font = nullptr;
  int firstLine = 0;       // multi-line: the first line shown
  size_t firstColumn = 0;  // single-line: the first character shown
};

bool IsMultiLine(HWND hwnd)
{
  return StyleOf(hwnd) & ES_MULTILINE;
}

// A multi-line edit wraps its lines at its width unless it scrolls sideways.
bool Wraps(HWND hwnd)
{
  DWORD style = StyleOf(hwnd);
  return (style & ES_MULTILINE) && !(style & (ES_AUTOHSCROLL | WS_HSCROLL));
}

std::u16string Shown(HWND hwnd, const EditRecord& record)
{
  const std::u16string& text = record.text.Text();
  if (StyleOf(hwnd) & ES_PASSWORD)
    return std::u16string(text.size(), record.passwordChar);
  return text;
}

// Breaks the text into the lines it shows in; again whenever the text, the size or the font
// changes.
void BreakLines(HWND hwnd, EditRecord& record)
{
  std::u16string shown = Shown(hwnd, record);
  if (!IsMultiLine(hwnd)) {
    record.lines.Keep(shown);
    return;
  }
  HDC dc = Wraps(hwnd) ? GetDC(hwnd) : nullptr;
  if (!dc) {
    record.lines.Break(shown, nullptr, 0);
    return;
  }
  HGDIOBJ old = SelectObject(dc, record.font ? record.font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT)));
  RECT client;
  GetClientRect(hwnd, &client);
  auto measure = [dc](std::u16string_view text, std::span<int> advances) {
    // The extents come as running totals.
    GetTextExtentExPointW(dc, text.data(), static_cast<int>(text.size()), 0, nullptr, advances.data(), nullptr);
    for (size_t i = advances.size(); i-- > 1;)
      advances[i] -= advances[i - 1];
  };
  record.lines.Break(shown, measure, client.right - 2 * EditMargin());
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
}

// The line the caret is on. Where the text wraps, the caret starts the next line unless it was
// put at the end of the line before.
size_t CaretLine(const EditRecord& record)
{
  size_t caret = record.text.Caret();
  size_t line = record.lines.LineOf(caret);
  if (record.caretAfterWrap && line > 0 && record.lines[line - 1].wrapped && record.lines[line - 1].End() == caret)
    return line - 1;
  return line;
}

int VisibleLines(HWND hwnd, const EditRecord& record)
{
  RECT client;
  GetClientRect(hwnd, &client);
  return std::max(1, static_cast<int>(client.bottom) / std::max(1, LineHeightOf(hwnd, record.font)));
}

// Keeps the vertical scroll bar of a multi-line edit in step with its lines.
void UpdateScrollBar(HWND hwnd, const EditRecord& record)
{
  if (!IsMultiLine(hwnd) || !(StyleOf(hwnd) & WS_VSCROLL))
    return;
  SCROLLINFO info{sizeof info, SIF_ALL | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  info.nMax = static_cast<int>(record.lines.Count()) - 1;
  info.nPage = static_cast<UINT>(VisibleLines(hwnd, record));
  info.nPos = record.firstLine;
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void ScrollToLine(HWND hwnd, EditRecord& record, int line)
{
  int last = std::max(0, static_cast<int>(record.lines.Count()) - VisibleLines(hwnd, record));
  line = std::clamp(line, 0, last);
  if (line != record.firstLine) {
    record.firstLine = line;
    Redraw(hwnd);
  }
  UpdateScrollBar(hwnd, record);
}

// Scrolls so that the caret is in view.
void ShowCaretPosition(HWND hwnd, EditRecord& record)
{
  size_t caret = record.text.Caret();
  if (IsMultiLine(hwnd)) {
    int line = static_cast<int>(CaretLine(record));
    int visible = VisibleLines(hwnd, record);
    if (line < record.firstLine)
      ScrollToLine(hwnd, record, line);
    else if (line >= record.firstLine + visible)
      ScrollToLine(hwnd, record, line - visible + 1);
    else
      ScrollToLine(hwnd, record, record.firstLine);
    return;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  std::u16string shown = Shown(hwnd, record);
  if (caret < record.firstColumn)
    record.firstColumn = caret;
  while (record.firstColumn < caret &&
         TextWidthOf(hwnd, record.font, std::u16string_view(shown).substr(record.firstColumn, caret - record.firstColumn)) >
             client.right - 1)
    ++record.firstColumn;
}

// After a change of the text: the parent hears EN_UPDATE before it is shown and EN_CHANGE after.
void TextChanged(HWND hwnd, EditRecord& record)
{
  record.modified = true;
  record.caretAfterWrap = false;
  DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(hwnd, record).c_str()));
  BreakLines(hwnd, record);
  ShowCaretPosition(hwnd, record);
  NotifyParent(hwnd, EN_UPDATE);
  if (!IsWindow(hwnd))
    return;
  Redraw(hwnd);
  NotifyParent(hwnd, EN_CHANGE);
}

void SelectionMoved(HWND hwnd, EditRecord& record)
{
  ShowCaretPosition(hwnd, record);
  Redraw(hwnd);
}

// Replaces the selection within the limit; EN_MAXTEXT when the limit cut it.
void Insert(HWND hwnd, EditRecord& record, std::u16string_view insertion)
{
  bool truncated = false;
  bool hadSelection = record.text.HasSelection();
  size_t inserted = record.text.ReplaceSelection(insertion, record.limit, truncated);
  if (inserted > 0 || hadSelection)
    TextChanged(hwnd, record);
  if (truncated && IsWindow(hwnd))
    NotifyParent(hwnd, EN_MAXTEXT);
}

void TypeCharacter(HWND hwnd, EditRecord& record, char16_t character)
{
  DWORD style = StyleOf(hwnd);
  if (style & ES_READONLY)
    return;
  if (character == VK_BACK) {
    if (record.text.DeleteBackward())
      TextChanged(hwnd, record);
    return;
  }
  if (character == u'\r' || character == u'\n') {
    if (style & ES_MULTILINE)
      Insert(hwnd, record, u"\r\n");
    return;
  }
  if (character < 0x20 || character == 0x7F)
    return;
  if ((style & ES_NUMBER) && (character < u'0' || character > u'9'))
    return;
  Insert(hwnd, record, std::u16string_view(&character, 1));
}

// A place for the caret: the position, and whether it stands at the end of a wrapped line.
struct CaretPlace {
  size_t position;
  bool afterWrap;
};

// The position of a line nearest to x (from the left of the line's text).
CaretPlace PlaceInLine(HWND hwnd, const EditRecord& record, size_t start, size_t length, bool wrapped, int x)
{
  std::u16string shown = Shown(hwnd, record);
  std::u16string_view line = std::u16string_view(shown).substr(start, length);
  for (size_t i = 0; i < line.size(); ++i) {
    int before = TextWidthOf(hwnd, record.font, line.substr(0, i));
    int after = TextWidthOf(hwnd, record.font, line.substr(0, i + 1));
    if (x < (before + after) / 2)
      return CaretPlace{start + i, false};
  }
  return CaretPlace{start + line.size(), wrapped};
}

CaretPlace PlaceOnLine(HWND hwnd, const EditRecord& record, size_t index, int x)
{
  const EditLines::Line& line = record.lines[index];
  return PlaceInLine(hwnd, record, line.start, line.length, line.wrapped, x);
}

// The caret's place nearest to a point of the client area.
CaretPlace PlaceAt(HWND hwnd, const EditRecord& record, int x, int y)
{
  x -= EditMargin();
  if (!IsMultiLine(hwnd)) {
    size_t start = std::min(record.firstColumn, record.text.Text().size());
    return PlaceInLine(hwnd, record, start, record.text.Text().size() - start, false, x);
  }
  int line = record.firstLine + std::max(0, y) / std::max(1, LineHeightOf(hwnd, record.font));
  return PlaceOnLine(hwnd, record, static_cast<size_t>(line), x);
}

void PutCaret(EditRecord& record, CaretPlace place, bool extend)
{
  record.text.MoveTo(place.position, extend);
  record.caretAfterWrap = place.afterWrap;
}

void MoveByKey(HWND hwnd, EditRecord& record, UINT key)
{
  bool extend = GetKeyState(VK_SHIFT) & 0x8000;
  const EditText& text = record.text;
  size_t caret = text.Caret();
  CaretPlace target{caret, false};
  bool multi = IsMultiLine(hwnd);
  size_t index = CaretLine(record);
  const EditLines::Line& line = record.lines[index];
  switch (key) {
  case VK_LEFT: target.position = text.PositionBefore(caret); break;
  case VK_RIGHT: target.position = text.PositionAfter(caret); break;
  case VK_HOME: target.position = multi ? line.start : 0; break;
  case VK_END: target = multi ? CaretPlace{line.End(), line.wrapped} : CaretPlace{text.Text().size(), false}; break;
  case VK_UP:
  case VK_DOWN: {
    if (!multi) {
      target.position = key == VK_UP ? text.PositionBefore(caret) : text.PositionAfter(caret);
      break;
    }
    if ((key == VK_UP && index == 0) || (key == VK_DOWN && index + 1 >= record.lines.Count()))
      break;
    // The same place across, on the line above or below.
    std::u16string shown = Shown(hwnd, record);
    int x = TextWidthOf(hwnd, record.font, std::u16string_view(shown).substr(line.start, caret - line.start));
    target = PlaceOnLine(hwnd, record, key == VK_UP ? index - 1 : index + 1, x);
    break;
  }
  default: return;
  }
  PutCaret(record, target, extend);
  SelectionMoved(hwnd, record);
}

void Scroll(HWND hwnd, EditRecord& record, WORD code, int thumb)
{
  int visible = VisibleLines(hwnd, record);
  int line = record.firstLine;
  switch (code) {
  case SB_LINEUP: line -= 1; break;
  case SB_LINEDOWN: line += 1; break;
  case SB_PAGEUP: line -= visible; break;
  case SB_PAGEDOWN: line += visible; break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION: line = thumb; break;
  case SB_TOP: line = 0; break;
  case SB_BOTTOM: line = static_cast<int>(record.lines.Count()); break;
  default: return;
  }
  ScrollToLine(hwnd, record, line);
}

LRESULT GetSelection(const EditRecord& record, WPARAM wParam, LPARAM lParam)
{
  size_t start = record.text.SelStart();
  size_t end = record.text.SelEnd();
  if (auto* out = reinterpret_cast<DWORD*>(wParam))
    *out = static_cast<DWORD>(start);
  if (auto* out = reinterpret_cast<DWORD*>(lParam))
    *out = static_cast<DWORD>(end);
  if (start > 0xFFFF || end > 0xFFFF)
    return -1;
  return MAKELRESULT(start, end);
}

EditLook LookOf(HWND hwnd, const EditRecord& record)
{
  return EditLook{Shown(hwnd, record), &record.lines, record.text.SelStart(), record.text.SelEnd(),
                  record.text.Caret(), CaretLine(record), HasFocus(hwnd), record.firstLine,
                  static_cast<int>(record.firstColumn), record.font};
}

LRESULT Handle(HWND hwnd, EditRecord& record, UINT message, WPARAM wParam, LPARAM lParam)
{
  switch (message) {
  case WM_NCCREATE: {
    auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    if (cs && cs->lpszName && !IS_INTRESOURCE(cs->lpszName))
      record.text.SetText(cs->lpszName);
    DefWindowProcW(hwnd, message, wParam, lParam);
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(hwnd, record).c_str()));
    return TRUE;
  }
  case WM_CREATE:
    if (!(StyleOf(hwnd) & ES_MULTILINE))
      SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(StyleOf(hwnd) & ~static_cast<DWORD>(WS_VSCROLL | WS_HSCROLL)));
    BreakLines(hwnd, record);
    UpdateScrollBar(hwnd, record);
    return 0;
  case WM_GETDLGCODE:
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (IsMultiLine(hwnd) ? DLGC_WANTALLKEYS : 0);
  case WM_SETTEXT: {
    auto* text = reinterpret_cast<LPCWSTR>(lParam);
    record.text.SetText(text ? std::u16string_view(text) : std::u16string_view());
    record.firstLine = 0;
    record.firstColumn = 0;
    record.caretAfterWrap = false;
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(hwnd, record).c_str()));
    record.modified = false;
    BreakLines(hwnd, record);
    UpdateScrollBar(hwnd, record);
    Redraw(hwnd);
    // A multi-line edit keeps quiet about text set by its program.
    if (!IsMultiLine(hwnd)) {
      NotifyParent(hwnd, EN_UPDATE);
      if (IsWindow(hwnd))
        NotifyParent(hwnd, EN_CHANGE);
    }
    return TRUE;
  }
  case WM_GETTEXT: {
    auto* buffer = reinterpret_cast<LPWSTR>(lParam);
    if (!buffer || wParam == 0)
      return 0;
    const std::u16string& text = record.text.Text();
    size_t count = std::min(text.size(), static_cast<size_t>(wParam) - 1);
    std::copy_n(text.begin(), count, buffer);
    buffer[count] = 0;
    return static_cast<LRESULT>(count);
  }
  case WM_GETTEXTLENGTH:
    return static_cast<LRESULT>(record.text.Text().size());
  case WM_CHAR:
    TypeCharacter(hwnd, record, static_cast<char16_t>(wParam));
    return 0;
  case WM_KEYDOWN:
    if (wParam == VK_DELETE) {
      if (!(StyleOf(hwnd) & ES_READONLY) && record.text.DeleteForward())
        TextChanged(hwnd, record);
      return 0;
    }
    MoveByKey(hwnd, record, static_cast<UINT>(wParam));
    return 0;
  case WM_LBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
    if (!HasFocus(hwnd))
      SetFocus(hwnd);
    if (!IsWindow(hwnd))
      return 0;
    PutCaret(record, PlaceAt(hwnd, record, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), (wParam & MK_SHIFT) != 0);
    record.selecting = true;
    SetCapture(hwnd);
    SelectionMoved(hwnd, record);
    return 0;
  case WM_MOUSEMOVE:
    if (record.selecting && GetCapture() == hwnd) {
      PutCaret(record, PlaceAt(hwnd, record, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), true);
      SelectionMoved(hwnd, record);
    }
    return 0;
  case WM_LBUTTONUP:
    if (record.selecting) {
      record.selecting = false;
      if (GetCapture() == hwnd)
        ReleaseCapture();
    }
    return 0;
  case WM_CAPTURECHANGED:
    record.selecting = false;
    return 0;
  case WM_SETFOCUS:
    Redraw(hwnd);
    NotifyParent(hwnd, EN_SETFOCUS);
    return 0;
  case WM_KILLFOCUS:
    Redraw(hwnd);
    NotifyParent(hwnd, EN_KILLFOCUS);
    return 0;
  case WM_ENABLE:
    Redraw(hwnd);
    return 0;
  case WM_SIZE:
    BreakLines(hwnd, record);
    ShowCaretPosition(hwnd, record);
    return 0;
  case WM_VSCROLL:
    Scroll(hwnd, record, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
    return 0;
  case WM_SETFONT: {
    LRESULT result = FontMessage(hwnd, message, wParam, lParam, record.font);
    BreakLines(hwnd, record);
    ShowCaretPosition(hwnd, record);
    return result;
  }
  case WM_GETFONT:
    return FontMessage(hwnd, message, wParam, lParam, record.font);
  case EM_GETSEL:
    return GetSelection(record, wParam, lParam);
  case EM_SETSEL: {
    // -1 as the start drops the selection; an end past the text (or -1) means the end.
    size_t length = record.text.Text().size();
    if (static_cast<int>(wParam) == -1) {
      record.text.MoveTo(record.text.Caret(), false);
    } else {
      size_t start = static_cast<int>(wParam) < 0 ? length : std::min(static_cast<size_t>(wParam), length);
      size_t end = static_cast<int>(lParam) < 0 ? length : std::min(static_cast<size_t>(lParam), length);
      record.text.Select(start, end);
    }
    record.caretAfterWrap = false;
    SelectionMoved(hwnd, record);
    return 0;
  }
  case EM_REPLACESEL: {
    auto* text = reinterpret_cast<LPCWSTR>(lParam);
    Insert(hwnd, record, text ? std::u16string_view(text) : std::u16string_view());
    return 0;
  }
  case EM_LIMITTEXT:
    record.limit = wParam ? static_cast<size_t>(static_cast<UINT>(wParam)) : kLargestLimit;
    return 0;
  case EM_GETLIMITTEXT:
    return static_cast<LRESULT>(record.limit);
  case EM_SETREADONLY: {
    DWORD style = StyleOf(hwnd);
    style = wParam ? (style | ES_READONLY) : (style & ~static_cast<DWORD>(ES_READONLY));
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    Redraw(hwnd);
    return TRUE;
  }
  case EM_SETPASSWORDCHAR: {
    DWORD style = StyleOf(hwnd);
    if (wParam) {
      record.passwordChar = static_cast<char16_t>(wParam);
      style |= ES_PASSWORD;
    } else {
      style &= ~static_cast<DWORD>(ES_PASSWORD);
    }
    SetWindowLongW(hwnd, GWL_STYLE, static_cast<LONG>(style));
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(hwnd, record).c_str()));
    BreakLines(hwnd, record);
    Redraw(hwnd);
    return 0;
  }
  case EM_GETPASSWORDCHAR:
    return (StyleOf(hwnd) & ES_PASSWORD) ? record.passwordChar : 0;
  case EM_GETMODIFY:
    return record.modified;
  case EM_SETMODIFY:
    record.modified = wParam != 0;
    return 0;
  case EM_GETLINECOUNT:
    return static_cast<LRESULT>(record.lines.Count());
  case EM_LINEINDEX: {
    // -1: the caret's line.
    int line = static_cast<int>(wParam);
    size_t index = line < 0 ? CaretLine(record) : static_cast<size_t>(line);
    return index < record.lines.Count() ? static_cast<LRESULT>(record.lines[index].start) : -1;
  }
  case EM_LINEFROMCHAR:
  case EM_LINELENGTH: {
    // A position of -1 is the caret's.
    int position = static_cast<int>(wParam);
    size_t line = position < 0 ? CaretLine(record)
                               : record.lines.LineOf(std::min(static_cast<size_t>(position), record.text.Text().size()));
    return static_cast<LRESULT>(message == EM_LINEFROMCHAR ? line : record.lines[line].length);
  }
  case EM_GETFIRSTVISIBLELINE:
    return IsMultiLine(hwnd) ? record.firstLine : static_cast<LRESULT>(record.firstColumn);
  case EM_LINESCROLL:
    if (IsMultiLine(hwnd))
      ScrollToLine(hwnd, record, record.firstLine + static_cast<int>(lParam));
    return IsMultiLine(hwnd);
  case EM_SCROLL: {
    if (!IsMultiLine(hwnd))
      return FALSE;
    int before = record.firstLine;
    Scroll(hwnd, record, LOWORD(wParam), 0);
    return MAKELRESULT(record.firstLine - before, TRUE);
  }
  case EM_SCROLLCARET:
    SelectionMoved(hwnd, record);
    return TRUE;
  case WM_PAINT:
  case WM_PRINTCLIENT:
    return PaintMessage(hwnd, message, wParam, [&](HDC dc) { PaintEdit(hwnd, dc, LookOf(hwnd, record)); });
  default:
    // Composed input-method text comes back as WM_CHAR through the default procedure.
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

LRESULT EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  return WithRecord<EditRecord>(hwnd, message, wParam, lParam, Handle);
}

}  // namespace controls_detail
