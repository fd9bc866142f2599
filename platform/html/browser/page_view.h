// The browser's page view: the window that shows the page, laid out from its document (again
// whenever the document has changed), with the form controls as child windows over it. It
// scrolls, moves the focus through the page's links and controls, and turns taps and keys into
// what the browser does with them.
#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "browser_page.h"
#include "form_fields.h"
#include "html/view/page_scroller.h"
#include "html/view/stylus_press.h"
#include "internal/html/page.h"

namespace kv::html {

// What the view asks of the browser.
class ViewOwner {
 public:
  // An element was tapped, or chosen with Return (a link, a button, an element with a handler).
  virtual void Activate(uint32_t node) = 0;
  // Return in a text field: its form is submitted.
  virtual void SubmitFrom(uint32_t field) = 0;

 protected:
  ~ViewOwner() = default;
};

class PageView final : private FieldEvents {
 public:
  PageView(HWND view, ViewOwner& owner);
  ~PageView();
  PageView(const PageView&) = delete;
  PageView& operator=(const PageView&) = delete;

  // Shows a page from its top (null: nothing).
  void Show(std::shared_ptr<BrowserPage> page);
  const std::shared_ptr<BrowserPage>& Shown() const { return page_; }
  // Lays the page out again when its document has changed since the last layout; Refresh lays
  // it out again in any case (its images have come).
  void Update();
  void Refresh() { LayOut(); }
  void Resize();
  void Paint(HDC dc, const RECT& area);
  void ScrollBy(WORD code) { scroller_.ScrollBy(code); }
  // Scrolls to the element a fragment names (its id, or an anchor's name); false when none.
  bool ScrollToFragment(const std::u16string& fragment);

  void PointerDown(POINT at);
  void PointerMove(POINT at);
  void PointerUp(POINT at);
  void CancelPress() { press_.Cancel(); }
  // A key pressed in the view; true when taken.
  bool ViewKey(WPARAM key);
  // Whether the page takes a key message addressed to the view or one of its fields.
  bool TakesKey(const MSG& message) const;
  // WM_COMMAND from a field window.
  void FieldCommand(HWND field, WORD code);
  // The focus came to the page: to the focused field, else to the view.
  void TakeFocus();
  // The view gained or lost the focus.
  void FocusChanged();
  // The window the page's focus is in: the focused field's, else the view.
  HWND FocusWindow() const;

 private:
  enum class TargetKind { Link, Control, Handler, Anchor };
  struct Target {
    uint32_t node;
    TargetKind kind;
    std::vector<RECT> boxes;  // page coordinates
  };
  enum class KeyAction { None, Previous, Next, PreviousInView, NextInView, PageUp, PageDown, Activate, Submit, DropDown };

  bool FieldKey(HWND field, WPARAM key) override;
  void FieldFocused(HWND field) override;

  // Lays the document out anew, or only places the present layout in the view again.
  void LayOut();
  void Place();
  KeyAction ActionFor(HWND window, WPARAM key) const;
  void Perform(KeyAction action, uint32_t node);
  int TargetAt(POINT client) const;
  const Target* TargetOf(uint32_t node) const;
  bool Focusable(const Target& target) const;
  bool InView(const Target& target) const;
  void MoveFocus(bool forward, bool inViewOnly);
  void Focus(uint32_t node);
  void ScrollIntoView(const Target& target);

  HWND hwnd_;
  ViewOwner& owner_;
  PageScroller scroller_;
  StylusPress press_;
  FormFields fields_;
  std::shared_ptr<BrowserPage> page_;
  std::unique_ptr<Page> layout_;
  uint64_t laidOutVersion_ = 0;
  std::vector<Target> targets_;
  uint32_t focused_ = 0;  // the node with the page's focus (a link, a control); 0: none
};

}  // namespace kv::html
