#include "caption_strip.h"

#include "skin_image.h"

namespace {

}  // namespace

void CCaptionStrip::SetText(const CStringW& text)
{
  m_strText = text;
  if (IsWindow())
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CCaptionStrip::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client{};
  GetClientRect(&client);
  FillSolid(dc, client, kFrameColour);
  RECT inner{client.left + 1, client.top + 1, client.right - 1, client.bottom - 1};
  FillSolid(dc, inner, kFillColour);
  ::SetBkMode(dc, TRANSPARENT);
  if (!m_strText.IsEmpty()) {
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
    RECT text{client.left + 10, client.top, client.right, client.bottom};
    ::DrawTextW(dc, m_strText, m_strText.GetLength(), &text, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS);
    ::SelectObject(dc, oldFont);
  }
  ::EndPaint(m_hWnd, &paint);
  return 0;
}
