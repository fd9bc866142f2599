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

std::array<RECT, 4> CSkinEdit::StripRects() const
{
  RECT w = RectInParent();
  int d = FrameWidth();
  return {RECT{w.left, w.top, w.right, w.top + d}, RECT{w.left, w.bottom - d, w.right, w.bottom},
          RECT{w.left, w.top + d, w.left + d, w.bottom - d}, RECT{w.right - d, w.top + d, w.right, w.bottom - d}};
}

BOOL CSkinEdit::SubclassEdit(HWND hWnd, COLORREF focusColour)
{
  LONG_PTR style = ::GetWindowLongPtrW(hWnd, GWL_STYLE);
  if (style & WS_DLGFRAME)
    ::SetWindowLongPtrW(hWnd, GWL_STYLE, style & ~static_cast<LONG_PTR>(WS_DLGFRAME));
  m_hFocusBrush = ::CreateSolidBrush(focusColour);
  if (!SubclassWindow(hWnd))
    return FALSE;
  HWND parent = GetParent();
  std::array<RECT, 4> rects = StripRects();
  constexpr UINT kKeepPlace = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
  for (size_t i = 0; i < rects.size(); ++i) {
    CEditBorder& border = *Strips()[i];
    if (!border.Create(parent, rects[i]))
      continue;
    ::SetWindowPos(border, m_hWnd, 0, 0, 0, 0, kKeepPlace);
    ::SetWindowPos(m_hWnd, border, 0, 0, 0, 0, kKeepPlace);
  }
  return TRUE;
}

void CSkinEdit::DestroyBorders()
{
  for (CEditBorder* border : Strips()) {
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
  for (CEditBorder* border : Strips()) {
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

LRESULT CSkinEdit::OnMove(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  PlaceStrips();
  return 0;
}

LRESULT CSkinEdit::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  PlaceStrips();
  return 0;
}

void CSkinEdit::PlaceStrips()
{
  // The strips lie where SubclassEdit put them for the edit's present rectangle.
  std::array<RECT, 4> rects = StripRects();
  for (size_t i = 0; i < rects.size(); ++i) {
    CEditBorder& border = *Strips()[i];
    if (border.m_hWnd && ::IsWindow(border.m_hWnd))
      ::SetWindowPos(border, nullptr, rects[i].left, rects[i].top, rects[i].right - rects[i].left,
                     rects[i].bottom - rects[i].top, SWP_NOZORDER | SWP_NOACTIVATE);
  }
}
