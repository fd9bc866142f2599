// The state of one HTML viewer window and what it does: the document being built and the page
// shown, the scroll position with the viewer's own scroll bar, the focused link, painting.
#pragma once

#include <memory>
#include <string>

#include "html/view/page_scroller.h"
#include "internal/html/page.h"
#include "windows.h"

namespace kv::html {

class HtmlView {
 public:
  explicit HtmlView(HWND hwnd);
  ~HtmlView();
  HtmlView(const HtmlView&) = delete;
  HtmlView& operator=(const HtmlView&) = delete;

  // The document: text appended (HTML, or plain text shown as it is), ended, or a library's page.
  void Append(std::u16string_view text, bool plain);
  void EndOfSource();
  bool Navigate(std::u16string_view url);
  void Clear();

  // The client area changed size: the page is laid out again for it.
  void Resize();
  void Paint(HDC dc, const RECT& area);

  // Scrolling, by the scroll bar's codes or to a position (kept within the page).
  void ScrollBy(WORD code);
  void ScrollTo(int y);
  int ScrollPos() const { return scroller_.Scroll(); }

  // Links: the one at a client point (-1: none); focus moves to the next or previous link in
  // view, or the page scrolls by a line when there is none.
  int LinkAt(POINT client) const;
  void MoveFocus(bool forward);
  void FocusLink(int link);
  int FocusedLink() const { return focused_; }
  // The focused link's target, empty when none is focused.
  std::u16string FocusedTarget() const;
  std::u16string TargetOf(int link) const;

 private:
  void ShowPage(std::unique_ptr<Page> page);
  void LayOut();
  bool LinkInView(int link) const;
  void ScrollIntoView(int link);
  void Redraw();

  HWND hwnd_;
  PageScroller scroller_;
  std::u16string source_;
  HMODULE library_ = nullptr;  // the library of a page from DTM_NAVIGATE, for its images
  std::unique_ptr<Page> page_;
  int focused_ = -1;
};

}  // namespace kv::html
