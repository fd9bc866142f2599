#include "scroll_form_list.h"

#include <algorithm>
#include <string>

#include "scroll_form_ctrl.h"
#include "skin_image.h"

namespace {

constexpr COLORREF kFill = 0xF8F8F8;
constexpr COLORREF kFrame = 0xCCCCCC;
constexpr int kMaxItemChars = 259;

HBITMAP LoadSkinImage(int id)
{
  return ::LoadBitmapW(::AtlGetResourceInstance(), MAKEINTRESOURCEW(id));
}

}  // namespace

CScrollFormList::CScrollFormList(CScrollFormCtrl* owner)
    : m_pOwner(owner),
      m_hLeftCap(LoadSkinImage(kLeftCapId)),
      m_hMiddle(LoadSkinImage(kMiddleId)),
      m_hRightCap(LoadSkinImage(kRightCapId))
{
}

CScrollFormList::~CScrollFormList()
{
  if (m_hWnd)
    UnsubclassWindow(TRUE);
  for (HBITMAP bitmap : {m_hLeftCap, m_hMiddle, m_hRightCap})
    if (bitmap)
      ::DeleteObject(bitmap);
}

BOOL CScrollFormList::TakeOver(HWND list)
{
  if (!SubclassWindow(list))
    return FALSE;
  GetWindowRect(&m_rcWindow);
  return TRUE;
}

LRESULT CScrollFormList::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
  GetWindowRect(&m_rcWindow);
  return 0;
}

LRESULT CScrollFormList::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  int unitX = m_pOwner->ScreenWidth() / 240;
  int unitY = m_pOwner->ScreenHeight() / 320;
  HDC dc = ::GetWindowDC(m_hWnd);
  ::SetBkMode(dc, TRANSPARENT);
  RECT client;
  GetClientRect(&client);
  RECT r = ExtendedClientRect(m_hWnd, unitX * 2, unitY * 2, 0);
  FillSolid(dc, r, kFill);
  HBRUSH frame = ::CreateSolidBrush(kFrame);
  FrameRectWithBrush(dc, r, frame);
  ::DeleteObject(frame);

  int count = static_cast<int>(SendMessage(LB_GETCOUNT));
  int selected = static_cast<int>(SendMessage(LB_GETCURSEL));
  if (count > 0 && selected >= 0) {
    RECT item{};
    SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(&item));
    item.left += unitX + 3;
    item.right -= 2;
    item.top += 4;
    item.bottom -= 3;
    PaintSelection(dc, item);
  }
  HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
  for (int i = 0; i < count; ++i) {
    // The item is read whole (its length first), then at most kMaxItemChars of it are shown.
    int length = static_cast<int>(SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(i)));
    if (length < 0)
      continue;
    std::u16string text(static_cast<size_t>(length) + 1, u'\0');
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    RECT item{};
    SendMessage(LB_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
    item.left += 10;
    item.top += 5;
    item.right = client.right - 5;
    ::DrawTextW(dc, text.c_str(), std::min(length, kMaxItemChars), &item, 0);
  }
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(m_hWnd, dc);
  // Painted through the window's DC: the paint cycle ends here, or it would come again.
  ::ValidateRect(m_hWnd, nullptr);
  return 0;
}

// The selected item's bar: the left cap, the middle image and a 2-pixel right cap, each
// stretched to the item's height.
void CScrollFormList::PaintSelection(HDC dc, const RECT& item)
{
  if (!m_hLeftCap || !m_hMiddle || !m_hRightCap)
    return;
  HDC source = ::CreateCompatibleDC(dc);
  if (!source)
    return;
  int height = item.bottom - item.top;
  SIZE left{}, middle{}, right{};
  GetBitmapSize(m_hLeftCap, &left);
  GetBitmapSize(m_hMiddle, &middle);
  GetBitmapSize(m_hRightCap, &right);
  HGDIOBJ old = ::SelectObject(source, m_hLeftCap);
  ::StretchBlt(dc, item.left, item.top, left.cx, height, source, 0, 0, left.cx, left.cy, SRCCOPY);
  ::SelectObject(source, m_hMiddle);
  ::StretchBlt(dc, item.left + 2, item.top, item.right - item.left - 2, height, source, 0, 0, middle.cx,
               middle.cy, SRCCOPY);
  ::SelectObject(source, m_hRightCap);
  ::StretchBlt(dc, item.right - 2, item.top, 2, height, source, 0, 0, right.cx, right.cy, SRCCOPY);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}
