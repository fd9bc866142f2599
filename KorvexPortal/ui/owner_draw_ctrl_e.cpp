#include "owner_draw_ctrl_e.h"

#include "skin_image.h"

namespace {

constexpr COLORREF kBackground = 0xF5F5F5;
constexpr COLORREF kBand = 0xE7E7E7;
constexpr COLORREF kBandEdge = 0xCCCCCC;
constexpr int kMaxTabTextChars = 31;
// Single line, vertically centred, no prefix, word ellipsis.
constexpr UINT kTabTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_WORD_ELLIPSIS;

void Fill(HDC dc, const RECT& rect, COLORREF colour)
{
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

HBITMAP LoadSkinImage(int id)
{
  return ::SHLoadImageResource(::AtlGetResourceInstance(), static_cast<UINT>(id));
}

}  // namespace

COwnerDrawCtrlE::COwnerDrawCtrlE()
    : m_hLeftCap(LoadSkinImage(kLeftCapId)),
      m_hRightCap(LoadSkinImage(kRightCapId)),
      m_hMiddle(LoadSkinImage(kMiddleId))
{
}

COwnerDrawCtrlE::~COwnerDrawCtrlE()
{
  for (HBITMAP bitmap : {m_hLeftCap, m_hRightCap, m_hMiddle})
    if (bitmap)
      ::DeleteObject(bitmap);
}

LRESULT COwnerDrawCtrlE::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client;
  GetClientRect(&client);
  Fill(dc, client, kBackground);
  RECT first{};
  SendMessage(TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&first));
  RECT band{client.left, client.top, client.right,
            client.top + (first.bottom - first.top) + 2 * ::GetSystemMetrics(SM_CYEDGE)};
  Fill(dc, band, kBand);
  Fill(dc, RECT{band.left, band.bottom - 1, band.right, band.bottom}, kBandEdge);

  int count = static_cast<int>(SendMessage(TCM_GETITEMCOUNT));
  int current = static_cast<int>(SendMessage(TCM_GETCURSEL));
  for (int i = 0; i < count; ++i) {
    WCHAR text[kMaxTabTextChars + 1] = {0};
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = text;
    item.cchTextMax = kMaxTabTextChars + 1;
    SendMessage(TCM_GETITEMW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    RECT tab{};
    SendMessage(TCM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tab));
    HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
    if (i != current)
      Fill(dc, tab, kBand);
    else if (m_hLeftCap && m_hRightCap && m_hMiddle)
      PaintSelectedTab(dc, tab);
    ::SetBkMode(dc, TRANSPARENT);
    RECT textRect = tab;
    ::OffsetRect(&textRect, 5, 0);
    ::DrawTextW(dc, text, -1, &textRect, kTabTextFormat);
    ::SelectObject(dc, oldFont);
  }
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

// The middle image stretched over the tab, the caps in their own size at its two ends.
void COwnerDrawCtrlE::PaintSelectedTab(HDC dc, const RECT& tab)
{
  HDC source = ::CreateCompatibleDC(dc);
  if (!source)
    return;
  SIZE middle{}, left{}, right{};
  GetBitmapSize(m_hMiddle, &middle);
  GetBitmapSize(m_hLeftCap, &left);
  GetBitmapSize(m_hRightCap, &right);
  HGDIOBJ old = ::SelectObject(source, m_hMiddle);
  ::StretchBlt(dc, tab.left, tab.top, tab.right - tab.left, tab.bottom - tab.top, source, 0, 0, middle.cx, middle.cy,
               SRCCOPY);
  ::SelectObject(source, m_hLeftCap);
  ::BitBlt(dc, tab.left, tab.top, left.cx, left.cy, source, 0, 0, SRCCOPY);
  ::SelectObject(source, m_hRightCap);
  ::BitBlt(dc, tab.right - right.cx, tab.top, right.cx, right.cy, source, 0, 0, SRCCOPY);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}
