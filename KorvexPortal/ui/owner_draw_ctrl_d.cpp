#include "owner_draw_ctrl_d.h"

#include <algorithm>

#include "skin_image.h"

namespace {

constexpr COLORREF kBackground = 0xF5F5F5;
constexpr int kMaxTextChars = 519;

}  // namespace

LRESULT COwnerDrawCtrlD::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  WCHAR text[kMaxTextChars + 1] = {0};
  int length = ::GetWindowTextW(m_hWnd, text, kMaxTextChars + 1);
  if (length <= 0) {
    ::EndPaint(m_hWnd, &paint);
    return 0;
  }
  RECT client;
  GetClientRect(&client);
  FillSolid(dc, client, kBackground);
  ::SetBkMode(dc, TRANSPARENT);
  SIZE whole{0, 0};
  ::GetTextExtentExPointW(dc, text, length, 0, nullptr, nullptr, &whole);
  // Characters per line from the average character width; a text without width is one line.
  double average = static_cast<double>(whole.cx) / length;
  int perLine = average > 0 ? static_cast<int>(std::min<double>(length, (client.right - client.left) / average))
                            : length;
  int height = client.bottom - client.top;
  int y = 0;
  for (int from = 0; perLine > 0 && height - m_nLineSpacing > 0 && from < length; from += perLine) {
    RECT line{0, y, client.right, client.bottom};
    ::DrawTextW(dc, text + from, std::min(perLine, length - from), &line, DT_SINGLELINE | DT_NOPREFIX);
    y += m_nLineSpacing + static_cast<int>(whole.cy);
    if (y >= height - m_nLineSpacing)
      break;
  }
  ::EndPaint(m_hWnd, &paint);
  return 0;
}
