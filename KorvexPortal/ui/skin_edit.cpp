// The skinned edit and its frame strips.
#include "skin_edit.h"

LRESULT CEditBorder::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client{};
  GetClientRect(&client);
  ::FillRect(dc, &client, m_pOwner->FrameBrush());
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

CSkinEdit::CSkinEdit() : m_top(this), m_bottom(this), m_left(this), m_right(this) {}

CSkinEdit::~CSkinEdit()
{
  DeleteBrushes();
}

void CSkinEdit::DeleteBrushes()
{
  if (m_hNormalBrush && ::DeleteObject(m_hNormalBrush))
    m_hNormalBrush = nullptr;
  if (m_hFocusBrush && ::DeleteObject(m_hFocusBrush))
    m_hFocusBrush = nullptr;
}

HBRUSH CSkinEdit::FrameBrush() const
{
  if (m_hWnd && ::GetFocus() == m_hWnd)
    return m_hFocusBrush;
  return m_hNormalBrush ? m_hNormalBrush : static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
}

RECT CSkinEdit::RectInParent() const
{
  RECT window{};
  GetWindowRect(&window);
  HWND parent = GetParent();
  POINT corners[2] = {{window.left, window.top}, {window.right, window.bottom}};
  if (::ScreenToClient(parent, &corners[0]))
    ::ScreenToClient(parent, &corners[1]);
  return RECT{corners[0].x, corners[0].y, corners[1].x, corners[1].y};
}

int CSkinEdit::FrameWidth() const
{
  RECT window{};
  RECT client{};
  GetWindowRect(&window);
  GetClientRect(&client);
  return ((window.right - window.left) - (client.right - client.left)) / 2;
}

BOOL CSkinEdit::SubclassEdit(HWND hWnd, COLORREF focusColour)
{
  LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
  if (style & WS_DLGFRAME)
    ::SetWindowLongPtrW(hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_DLGFRAME));
  m_hFocusBrush = ::CreateSolidBrush(focusColour);
  if (!SubclassWindow(hWnd))
    return FALSE;
  RECT w = RectInParent();
  int d = FrameWidth();
  HWND parent = GetParent();
  struct Strip {
    CEditBorder& border;
    RECT rect;
  };
  const Strip strips[] = {
      {m_top, {w.left, w.top, w.right, w.top + d}},
      {m_bottom, {w.left, w.bottom - d, w.right, w.bottom}},
      {m_left, {w.left, w.top + d, w.left + d, w.bottom - d}},
      {m_right, {w.right - d, w.top + d, w.right, w.bottom - d}},
  };
  constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (const Strip& strip : strips) {
    if (!strip.border.Create(parent, strip.rect))
      continue;
    ::SetWindowPos(strip.border, m_hWnd, 0, 0, 0, 0, kKeepPlace);
    ::SetWindowPos(m_hWnd, strip.border, 0, 0, 0, 0, kKeepPlace);
  }
  return TRUE;
}

void CSkinEdit::DestroyBorders()
{
  for (CEditBorder* border : {&m_top, &m_bottom, &m_left, &m_right}) {
    if (border->m_hWnd && ::IsWindow(border->m_hWnd))
      border->DestroyWindow();
  }
  DeleteBrushes();
  if (m_hWnd)
    UnsubclassWindow();
}

LRESULT CSkinEdit::OnReflectedCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  WORD code = HIWORD(wParam);
  if (code != EN_SETFOCUS && code != EN_KILLFOCUS) {
    bHandled = FALSE;
    return 0;
  }
  for (CEditBorder* border : {&m_top, &m_bottom, &m_left, &m_right}) {
    if (border->m_hWnd && ::IsWindow(border->m_hWnd))
      ::InvalidateRect(border->m_hWnd, nullptr, TRUE);
  }
  return 1;
}

LRESULT CSkinEdit::OnCtlColorEdit(UINT, WPARAM, LPARAM, BOOL&)
{
  if (::GetFocus() == m_hWnd)
    return 0;
  return reinterpret_cast<LRESULT>(m_background.GetBrush(m_hWnd));
}

LRESULT CSkinEdit::OnMove(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;
  int x = static_cast<short>(LOWORD(lParam));
  int y = static_cast<short>(HIWORD(lParam));
  RECT client{};
  GetClientRect(&client);
  int c = FrameWidth();
  constexpr UINT kMoveOnly = SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
  struct Move {
    CEditBorder& border;
    POINT to;
  };
  const Move moves[] = {
      {m_top, {x, y - c}},
      {m_bottom, {x, y + client.bottom}},
      {m_left, {x - c, y - c}},
      {m_right, {x + client.right, y - c}},
  };
  for (const Move& move : moves) {
    if (move.border.m_hWnd && ::IsWindow(move.border.m_hWnd))
      ::SetWindowPos(move.border, nullptr, move.to.x, move.to.y, 0, 0, kMoveOnly);
  }
  return 0;
}

LRESULT CSkinEdit::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;
  int w = LOWORD(lParam);
  int h = HIWORD(lParam);
  int b = FrameWidth();
  RECT window = RectInParent();
  constexpr UINT kSizeOnly = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
  constexpr UINT kMoveAndSize = SWP_NOZORDER | SWP_NOACTIVATE;
  struct Change {
    CEditBorder& border;
    POINT at;
    SIZE size;
    UINT flags;
  };
  const Change changes[] = {
      {m_top, {0, 0}, {w, b}, kSizeOnly},
      {m_bottom, {window.left, window.bottom - b}, {w, b}, kMoveAndSize},
      {m_left, {0, 0}, {b, h + b}, kSizeOnly},
      {m_right, {window.right - b, window.top}, {b, h + b}, kMoveAndSize},
  };
  for (const Change& change : changes) {
    if (change.border.m_hWnd && ::IsWindow(change.border.m_hWnd))
      ::SetWindowPos(change.border, nullptr, change.at.x, change.at.y, change.size.cx, change.size.cy, change.flags);
  }
  return 0;
}
