#include "owner_draw_ctrl_b.h"

#include "text_runs.h"

namespace {

constexpr COLORREF kFrame = 0xE9B49A;

}  // namespace

COwnerDrawCtrlB::~COwnerDrawCtrlB()
{
  if (m_hIcon)
    ::DeleteObject(m_hIcon);
}

void COwnerDrawCtrlB::SetImage(HBITMAP icon)
{
  if (m_hIcon && m_hIcon != icon)
    ::DeleteObject(m_hIcon);
  m_hIcon = icon;
}

void COwnerDrawCtrlB::AddItem(LPCWSTR text, COLORREF colour)
{
  m_texts.Add(CStringW(text));
  m_colours.Add(colour);
}

LRESULT COwnerDrawCtrlB::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client;
  GetClientRect(&client);
  PaintTextRuns(dc, client, kFrame, m_hIcon, m_texts, m_colours);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}
