// Vertical scrolling of a form dialog whose fields reach below the visible area (which ends
// above the soft input panel while it is shown): a skinned bar at the dialog's right edge, and
// scrolling by moving every child window of the dialog.
#pragma once

#include "atl/atl.h"
#include "skin_scroll_bar.h"
#include "windows.h"

class CScrollForm {
 public:
  // The bar's control id in the dialog: below the rows the forms number from 1500 up (recharge
  // methods, card and bank rows, contacts), so an item looked up by a row's id is that row.
  static constexpr int kBarId = 1400;

  using ChildWindowCallback = void (*)(HWND window, void* context);

  // The dialog whose children scroll; its window may come later.
  explicit CScrollForm(CWindow* owner);
  virtual ~CScrollForm();
  CScrollForm(const CScrollForm&) = delete;
  CScrollForm& operator=(const CScrollForm&) = delete;

  // Measures how far the dialog's children reach and shows, moves or hides the bar; with the bar
  // shown, keeps the focused child in view.
  void Relayout();
  // The dialog's WM_VSCROLL: scrolls by a line, a page or to the thumb.
  void OnVScroll(WPARAM wParam);
  // Scrolls so a child of the dialog (the one the keys or a tap moved the focus to) lies inside
  // its visible area, above the input panel while it shows; nothing while everything fits.
  void ScrollIntoView(HWND child);

  // Calls the callback for every descendant of the parent, depth first. TRUE when the parent
  // has a child; without a callback FALSE with ERROR_INVALID_PARAMETER.
  static BOOL ForEachChildWindow(HWND parent, ChildWindowCallback callback, void* context);

  HWND GetBar() const { return bar_.m_hWnd; }

 private:
  int BarPosition() const;
  // The bottom of the dialog's client area that shows: above the input panel while it is up.
  int VisibleBottom() const;

  CWindow* owner_;
  CSkinScrollBar bar_;
  HBITMAP barBitmap_ = nullptr;
  int contentBottom_ = 0;
  int lastDelta_ = 0;
};
