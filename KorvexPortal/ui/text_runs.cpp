#include "text_runs.h"

#include "skin_image.h"

namespace {

constexpr COLORREF kLineBackground = 0xFEF6ED;
constexpr COLORREF kIconKey = 0xF7F7F7;

}  // namespace

void PaintTextRuns(HDC dc, const RECT& client, COLORREF frame, HBITMAP icon, const CSimpleArray<CStringW>& texts,
                   const CSimpleArray<COLORREF>& colours)
{
  ::SetBkMode(dc, TRANSPARENT);
  FillSolid(dc, client, kLineBackground);
  HBRUSH frameBrush = ::CreateSolidBrush(frame);
  FrameRectWithBrush(dc, client, frameBrush);
  ::DeleteObject(frameBrush);

  SIZE iconSize{0, 0};
  if (icon && GetBitmapSize(icon, &iconSize)) {
    int y = client.top + (client.bottom - client.top - iconSize.cy) / 2;
    ::TransparentImage(dc, client.left + 5, y, iconSize.cx, iconSize.cy, icon, 0, 0, iconSize.cx, iconSize.cy,
                       kIconKey);
  }
  int x = client.left + iconSize.cx + 10;
  for (int i = 0; i < texts.GetSize() && i < colours.GetSize(); ++i) {
    ::SetTextColor(dc, colours[i]);
    RECT run{x, client.top, client.right, client.bottom};
    ::DrawTextW(dc, texts[i], -1, &run, DT_VCENTER | DT_SINGLELINE);
    SIZE extent{0, 0};
    ::GetTextExtentExPointW(dc, texts[i], texts[i].GetLength(), 0, nullptr, nullptr, &extent);
    x += extent.cx;
  }
}
