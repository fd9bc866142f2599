#include "tab_strip.h"

#include "atl/atl.h"
#include "skin_image.h"

namespace {

constexpr COLORREF kBackground = 0xF5F5F5;
constexpr COLORREF kBand = 0xE7E7E7;
constexpr COLORREF kBandEdge = 0xCCCCCC;
constexpr int kMaxCaptionChars = 31;
constexpr int kCaptionIndent = 5;
// Single line, vertically centred, no prefix, word ellipsis.
constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS;

HBITMAP LoadSkinImage(int id)
{
  return ::SHLoadImageResource(::AtlGetResourceInstance(), static_cast<UINT>(id));
}

SIZE SizeOf(HBITMAP bitmap)
{
  SIZE size{0, 0};
  GetBitmapSize(bitmap, &size);
  return size;
}

// The current tab: the middle image across it, then the caps in their own size at its ends.
void PaintCurrentTab(HDC dc, const RECT& tab, const CSelectedTabImages& images, TabStripStyle style)
{
  HDC source = ::CreateCompatibleDC(dc);
  if (!source)
    return;
  SIZE middle = SizeOf(images.m_hMiddle);
  SIZE left = SizeOf(images.m_hLeftCap);
  SIZE right = SizeOf(images.m_hRightCap);
  HGDIOBJ old = ::SelectObject(source, images.m_hMiddle);
  if (style == TabStripStyle::kStretchedTab) {
    ::StretchBlt(dc, tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top, source, 0, 0, middle.cx,
                 middle.cy, SRCCOPY);
  } else {
    for (LONG x = tab.left; x < tab.right; ++x)
      ::BitBlt(dc, x, tab.top, 1, middle.cy, source, 0, 0, SRCCOPY);
  }
  ::SelectObject(source, images.m_hLeftCap);
  ::BitBlt(dc, tab.left, tab.top, left.cx, left.cy, source, 0, 0, SRCCOPY);
  ::SelectObject(source, images.m_hRightCap);
  ::BitBlt(dc, tab.right - right.cx, tab.top, right.cx, right.cy, source, 0, 0, SRCCOPY);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

}  // namespace

CSelectedTabImages::CSelectedTabImages()
    : m_hLeftCap(LoadSkinImage(kLeftCapId)), m_hMiddle(LoadSkinImage(kMiddleId)), m_hRightCap(LoadSkinImage(kRightCapId))
{
}

CSelectedTabImages::~CSelectedTabImages()
{
  for (HBITMAP bitmap : {m_hLeftCap, m_hMiddle, m_hRightCap})
    if (bitmap)
      ::DeleteObject(bitmap);
}

void PaintTabStrip(HWND tabControl, HDC dc, const CSelectedTabImages& images, TabStripStyle style)
{
  CWindow tabs(tabControl);
  RECT client;
  tabs.GetClientRect(&client);
  FillSolid(dc, client, kBackground);
  RECT first{};
  tabs.SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  RECT band{client.left, client.top, client.right,
            client.top + (first.bottom - first.top) + 2 * ::GetSystemMetrics(SM_CYEDGE)};
  FillSolid(dc, band, kBand);
  FillSolid(dc, RECT{band.left, band.bottom - 1, band.right, band.bottom}, kBandEdge);

  int count = static_cast<int>(tabs.SendMessage(TCM_GETITEMCOUNT));
  int current = static_cast<int>(tabs.SendMessage(TCM_GETCURSEL));
  ::SetBkMode(dc, TRANSPARENT);
  for (int i = 0; i < count; ++i) {
    WCHAR caption[kMaxCaptionChars + 1] = {0};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    item.cchTextMax = kMaxCaptionChars + 1;
    tabs.SendMessage(TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    RECT tab{};
    tabs.SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
    if (i != current)
      FillSolid(dc, tab, kBand);
    else if (images.IsComplete())
      PaintCurrentTab(dc, tab, images, style);
    RECT text = tab;
    if (style == TabStripStyle::kStretchedTab)
      ::OffsetRect(&text, kCaptionIndent, 0);
    else
      text.left += kCaptionIndent;
    ::DrawTextW(dc, caption, -1, &text, kCaptionFormat);
    ::SelectObject(dc, oldFont);
  }
}

void PaintTabPageBackground(HWND tabControl, HDC dc, const RECT& area, int bandExtra)
{
  FillSolid(dc, area, kBackground);
  RECT tab{};
  if (tabControl && ::IsWindow(tabControl) && ::SendMessageW(tabControl, TCM_GETITEMCOUNT, 0, 0) > 0)
    ::SendMessageW(tabControl, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
  int bandHeight = (tab.bottom - tab.top) + 2 * GetSystemMetrics(SM_CXEDGE) + bandExtra;
  RECT band{area.left, area.top, area.right, area.top + bandHeight};
  FillSolid(dc, band, kBand);
  RECT rule{area.left, band.bottom - 1, area.right, band.bottom};
  FillSolid(dc, rule, kBandEdge);
}

void PlaceTabControl(HWND tabControl, const RECT& area, int scale)
{
  int top = area.top + 5 * scale;
  int width = area.right - area.left - 20 * scale;
  int height = area.bottom - top;
  ::SetWindowPos(tabControl, nullptr, area.left + 10 * scale, top, width < 0 ? 0 : width, height < 0 ? 0 : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
