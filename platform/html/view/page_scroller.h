// A page shown in a window's client area and scrolled vertically: the page takes the whole
// width unless it is taller than the window, when a scroll bar (a child of the window) takes
// its part. The HTML viewer and the browser's page view both show their pages this way.
#pragma once

#include <functional>

#include "internal/html/page.h"
#include "windows.h"

namespace kv::html {

class PageScroller {
 public:
  explicit PageScroller(HWND hwnd);
  PageScroller(const PageScroller&) = delete;
  PageScroller& operator=(const PageScroller&) = delete;

  // The page shown (null: none); laid out again for the window's size.
  void LayOut(Page* page);
  // Fills the background and paints the page within `area` (client coordinates).
  void Paint(HDC dc, const RECT& area);

  // Scrolling by the scroll bar's codes, or to a position, kept within the page; `scrolled`
  // hears of each move.
  void ScrollBy(WORD code);
  void ScrollTo(int y);
  void OnScrolled(std::function<void()> scrolled) { scrolled_ = std::move(scrolled); }

  int Scroll() const { return scroll_; }
  int ViewHeight() const;
  // The part of the client area the page takes (without the scroll bar).
  RECT PageArea() const;
  // About one line of the page's default text.
  int LineStep() const { return std::max(1, 16 * dpi_ / 96); }
  int Dpi() const { return dpi_; }

 private:
  void UpdateScrollBar();
  int PageHeight() const { return page_ ? page_->Height() : 0; }

  HWND hwnd_;
  int dpi_;
  Page* page_ = nullptr;
  HWND bar_ = nullptr;
  bool barShown_ = false;
  int scroll_ = 0;
  std::function<void()> scrolled_;
};

// The screen's density.
int ScreenDpi();

}  // namespace kv::html
