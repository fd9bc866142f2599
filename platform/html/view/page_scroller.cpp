#include "page_scroller.h"

#include <algorithm>

namespace kv::html {

int ScreenDpi()
{
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

PageScroller::PageScroller(HWND hwnd) : hwnd_(hwnd), dpi_(ScreenDpi()) {}

void PageScroller::LayOut(Page* page)
{
  page_ = page;
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int width = client.right, height = client.bottom;
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  if (!page_) {
    barShown_ = false;
  } else {
    // The last layout's choice is tried first.
    bool bar = barShown_ && width > barWidth;
    page_->LayOut(bar ? width - barWidth : width, height);
    if (bar && page_->Height() <= height) {
      bar = false;
      page_->LayOut(width, height);
    } else if (!bar && page_->Height() > height && width > barWidth) {
      bar = true;
      page_->LayOut(width - barWidth, height);
    }
    barShown_ = bar;
  }
  scroll_ = std::clamp(scroll_, 0, std::max(0, PageHeight() - height));
  UpdateScrollBar();
}

void PageScroller::UpdateScrollBar()
{
  if (!barShown_) {
    if (bar_)
      ShowWindow(bar_, SW_HIDE);
    return;
  }
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int barWidth = GetSystemMetrics(SM_CXVSCROLL);
  if (!bar_)
    bar_ = CreateWindowExW(0, WC_SCROLLBARW, u"", WS_CHILD | SBS_VERT, 0, 0, 0, 0, hwnd_, nullptr, nullptr, nullptr);
  MoveWindow(bar_, client.right - barWidth, 0, barWidth, client.bottom, TRUE);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, PageHeight() - 1, static_cast<UINT>(client.bottom),
                  scroll_, 0};
  SetScrollInfo(bar_, SB_CTL, &info, TRUE);
  ShowWindow(bar_, SW_SHOW);
}

RECT PageScroller::PageArea() const
{
  RECT client{};
  GetClientRect(hwnd_, &client);
  if (barShown_)
    client.right -= GetSystemMetrics(SM_CXVSCROLL);
  return client;
}

int PageScroller::ViewHeight() const
{
  RECT client{};
  GetClientRect(hwnd_, &client);
  return client.bottom;
}

void PageScroller::Paint(HDC dc, const RECT& area)
{
  const RECT pageArea = PageArea();
  RECT fill{};
  if (!IntersectRect(&fill, &area, &pageArea))
    return;
  FillRect(dc, &fill, GetSysColorBrush(COLOR_WINDOW));
  if (page_)
    page_->Paint(dc, POINT{0, -scroll_}, fill);
}

void PageScroller::ScrollBy(WORD code)
{
  const int page = std::max(LineStep(), ViewHeight() - LineStep());
  switch (code) {
  case SB_LINEUP: ScrollTo(scroll_ - LineStep()); break;
  case SB_LINEDOWN: ScrollTo(scroll_ + LineStep()); break;
  case SB_PAGEUP: ScrollTo(scroll_ - page); break;
  case SB_PAGEDOWN: ScrollTo(scroll_ + page); break;
  case SB_TOP: ScrollTo(0); break;
  case SB_BOTTOM: ScrollTo(PageHeight()); break;
  case SB_THUMBTRACK:
  case SB_THUMBPOSITION: {
    // The tracked position from the bar itself: the message carries only 16 bits of it.
    SCROLLINFO info{sizeof info, SIF_TRACKPOS, 0, 0, 0, 0, 0};
    if (bar_ && GetScrollInfo(bar_, SB_CTL, &info))
      ScrollTo(info.nTrackPos);
    break;
  }
  default: break;
  }
}

void PageScroller::ScrollTo(int y)
{
  y = std::clamp(y, 0, std::max(0, PageHeight() - ViewHeight()));
  if (y == scroll_)
    return;
  scroll_ = y;
  if (bar_ && barShown_) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, scroll_, 0};
    SetScrollInfo(bar_, SB_CTL, &info, TRUE);
  }
  if (scrolled_)
    scrolled_();
  InvalidateRect(hwnd_, nullptr, FALSE);
}

}  // namespace kv::html
