#include "owner_draw_ctrl_c.h"

#include "skin_image.h"

namespace {

constexpr COLORREF kBackground = 0xF5F5F5;
constexpr COLORREF kShade = 0xD4D4D4;
constexpr COLORREF kLight = 0xFFFFFF;

void HorizontalLine(HDC dc, int left, int right, int y, COLORREF colour)
{
  HPEN pen = ::CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = ::SelectObject(dc, pen);
  ::MoveToEx(dc, left, y, nullptr);
  ::LineTo(dc, right, y);
  ::SelectObject(dc, old);
  ::DeleteObject(pen);
}

}  // namespace

LRESULT COwnerDrawCtrlC::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client;
  GetClientRect(&client);
  FillSolid(dc, client, kBackground);
  HorizontalLine(dc, client.left, client.right, client.top, kShade);
  HorizontalLine(dc, client.left, client.right, client.top + 1, kLight);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}
