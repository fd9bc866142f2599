#include "owner_draw_ctrl_e.h"

LRESULT COwnerDrawCtrlE::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintTabStrip(m_hWnd, dc, m_images, TabStripStyle::kStretchedTab);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}
