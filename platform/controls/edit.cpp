// The EDIT control.
#include <algorithm>

#include "control_painting.h"
#include "control_procedures.h"
#include "control_support.h"
#include "edit_text.h"

namespace controls_detail {

namespace {

constexpr size_t kDefaultLimit = 0x7FFF;
constexpr size_t kLargestLimit = 0x7FFFFFFE;

struct EditRecord {
  EditText text;
  size_t limit = kDefaultLimit;
  char16_t passwordChar = u'*';
  bool modified = false;
  bool selecting = false;  // the pointer is down and drags a selection
  HFONT font = nullptr;
  int firstLine = 0;       // multi-line: the first line shown
  size_t firstColumn = 0;  // single-line: the first character shown
};

bool IsMultiLine(HWND hwnd)
{
  return StyleOf(hwnd) & ES_MULTILINE;
}

std::u16string Shown(HWND hwnd, const EditRecord& record)
{
  const std::u16string& text = record.text.Text();
  if (StyleOf(hwnd) & ES_PASSWORD)
    return std::u16string(text.size(), record.passwordChar);
  return text;
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
  info.nMax = static_cast<int>(record.text.LineCount()) - 1;
  info.nPage = static_cast<UINT>(VisibleLines(hwnd, record));
  info.nPos = record.firstLine;
  SetScrollInfo(hwnd, SB_VERT, &info, TRUE);
}

void ScrollToLine(HWND hwnd, EditRecord& record, int line)
{
  int last = std::max(0, static_cast<int>(record.text.LineCount()) - VisibleLines(hwnd, record));
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
    int line = static_cast<int>(record.text.LineOf(caret));
    int visible = VisibleLines(hwnd, record);
    if (line < record.firstLine)
      ScrollToLine(hwnd, record, line);
    else if (line >= record.firstLine + visible)
      ScrollToLine(hwnd, record, line - visible + 1);
    else
      UpdateScrollBar(hwnd, record);
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
  DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(hwnd, record).c_str()));
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

// The character nearest to a point of the client area.
size_t PositionAt(HWND hwnd, const EditRecord& record, int x, int y)
{
  std::u16string shown = Shown(hwnd, record);
  size_t start = record.firstColumn;
  size_t length = shown.size() - std::min(shown.size(), start);
  if (IsMultiLine(hwnd)) {
    int line = record.firstLine + std::max(0, y) / std::max(1, LineHeightOf(hwnd, record.font));
    line = std::min(line, static_cast<int>(record.text.LineCount()) - 1);
    start = record.text.LineStart(static_cast<size_t>(line));
    length = record.text.LineLength(static_cast<size_t>(line));
  }
  std::u16string_view line = std::u16string_view(shown).substr(start, length);
  for (size_t i = 0; i < line.size(); ++i) {
    int before = TextWidthOf(hwnd, record.font, line.substr(0, i));
    int after = TextWidthOf(hwnd, record.font, line.substr(0, i + 1));
    if (x < (before + after) / 2)
      return start + i;
  }
  return start + line.size();
}

void MoveByKey(HWND hwnd, EditRecord& record, UINT key)
{
  bool extend = GetKeyState(VK_SHIFT) & 0x8000;
  const EditText& text = record.text;
  size_t caret = text.Caret();
  size_t target = caret;
  bool multi = IsMultiLine(hwnd);
  size_t line = text.LineOf(caret);
  switch (key) {
  case VK_LEFT: target = text.PositionBefore(caret); break;
  case VK_RIGHT: target = text.PositionAfter(caret); break;
  case VK_HOME: target = multi ? text.LineStart(line) : 0; break;
  case VK_END: target = multi ? text.LineStart(line) + text.LineLength(line) : text.Text().size(); break;
  case VK_UP:
  case VK_DOWN: {
    if (!multi) {
      target = key == VK_UP ? text.PositionBefore(caret) : text.PositionAfter(caret);
      break;
    }
    size_t column = caret - text.LineStart(line);
    if (key == VK_UP && line == 0)
      break;
    if (key == VK_DOWN && line + 1 >= text.LineCount())
      break;
    size_t next = key == VK_UP ? line - 1 : line + 1;
    target = text.LineStart(next) + std::min(column, text.LineLength(next));
    break;
  }
  default: return;
  }
  record.text.MoveTo(target, extend);
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
  case SB_BOTTOM: line = static_cast<int>(record.text.LineCount()); break;
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
  return EditLook{Shown(hwnd, record), record.text.SelStart(), record.text.SelEnd(), record.text.Caret(),
                  HasFocus(hwnd), record.firstLine, static_cast<int>(record.firstColumn), record.font};
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
    UpdateScrollBar(hwnd, record);
    return 0;
  case WM_GETDLGCODE:
    return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (IsMultiLine(hwnd) ? DLGC_WANTALLKEYS : 0);
  case WM_SETTEXT: {
    auto* text = reinterpret_cast<LPCWSTR>(lParam);
    record.text.SetText(text ? std::u16string_view(text) : std::u16string_view());
    record.firstLine = 0;
    record.firstColumn = 0;
    DefWindowProcW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Shown(hwnd, record).c_str()));
    record.modified = false;
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
    record.text.MoveTo(PositionAt(hwnd, record, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)),
                       (wParam & MK_SHIFT) != 0);
    record.selecting = true;
    SetCapture(hwnd);
    SelectionMoved(hwnd, record);
    return 0;
  case WM_MOUSEMOVE:
    if (record.selecting && GetCapture() == hwnd) {
      record.text.MoveTo(PositionAt(hwnd, record, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)), true);
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
    ShowCaretPosition(hwnd, record);
    return 0;
  case WM_VSCROLL:
    Scroll(hwnd, record, LOWORD(wParam), static_cast<SHORT>(HIWORD(wParam)));
    return 0;
  case WM_SETFONT:
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
    return static_cast<LRESULT>(record.text.LineCount());
  case EM_LINEINDEX: {
    int line = static_cast<int>(wParam);
    size_t index = line < 0 ? record.text.LineOf(record.text.Caret()) : static_cast<size_t>(line);
    return index < record.text.LineCount() ? static_cast<LRESULT>(record.text.LineStart(index)) : -1;
  }
  case EM_LINEFROMCHAR: {
    int position = static_cast<int>(wParam);
    size_t at = position < 0 ? record.text.Caret() : static_cast<size_t>(position);
    return static_cast<LRESULT>(record.text.LineOf(std::min(at, record.text.Text().size())));
  }
  case EM_LINELENGTH: {
    int position = static_cast<int>(wParam);
    size_t at = position < 0 ? record.text.Caret() : std::min(static_cast<size_t>(position), record.text.Text().size());
    return static_cast<LRESULT>(record.text.LineLength(record.text.LineOf(at)));
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
