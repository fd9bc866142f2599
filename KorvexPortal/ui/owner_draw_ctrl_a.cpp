#include "owner_draw_ctrl_a.h"

#include "text_runs.h"

namespace {

constexpr COLORREF kFocusFrame = 0xFF0000;
constexpr COLORREF kFrame = 0xF4DBD8;

HBITMAP LoadSkinImage(int id)
{
  return ::LoadBitmapW(::AtlGetResourceInstance(), MAKEINTRESOURCEW(id));
}

}  // namespace

COwnerDrawCtrlA::COwnerDrawCtrlA()
    : m_hImageLeft(LoadSkinImage(kImageLeftId)),
      m_hImageMiddle(LoadSkinImage(kImageMiddleId)),
      m_hImageRight(LoadSkinImage(kImageRightId))
{
}

COwnerDrawCtrlA::~COwnerDrawCtrlA()
{
  for (HBITMAP bitmap : {m_hIcon, m_hImageLeft, m_hImageMiddle, m_hImageRight})
    if (bitmap)
      ::DeleteObject(bitmap);
}

void COwnerDrawCtrlA::SetBitmap(HBITMAP icon)
{
  if (m_hIcon && m_hIcon != icon)
    ::DeleteObject(m_hIcon);
  m_hIcon = icon;
}

void COwnerDrawCtrlA::AddItem(LPCWSTR text, COLORREF colour)
{
  m_texts.Add(CStringW(text));
  m_colours.Add(colour);
}

LRESULT COwnerDrawCtrlA::OnRedrawNeeded(UINT, WPARAM, LPARAM, BOOL&)
{
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return 0;
}

LRESULT COwnerDrawCtrlA::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client;
  GetClientRect(&client);
  PaintTextRuns(dc, client, ::GetFocus() == m_hWnd ? kFocusFrame : kFrame, m_hIcon, m_texts, m_colours);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT COwnerDrawCtrlA::OnLButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  ::PostMessageW(GetParent(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), 0), reinterpret_cast<LPARAM>(m_hWnd));
  bHandled = FALSE;
  return 0;
}
