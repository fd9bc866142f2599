// A tab control that keeps one page window per tab: the page of the current tab is shown,
// enabled and focused in the display rectangle, the others are hidden and disabled. A tap on a
// tab switches pages through TCN_SELCHANGE, which the parent must reflect back
// (REFLECT_NOTIFICATIONS); the control reflects its own children's notifications to them.
#pragma once

#include <vector>

#include "atl/atl.h"
#include "windows.h"

class CKorvexTabCtrl : public CWindowImpl<CKorvexTabCtrl> {
 public:
  DECLARE_WND_SUPERCLASS(u"KvTabCtrl", WC_TABCONTROLW)

  // Space between the display rectangle and the client edges away from the tabs, and between
  // it and the tabs; in pixels on a 240-pixel-wide screen, times the screen's whole factor.
  enum { kPageMargin = 3, kTabBandMargin = 5 };

  CKorvexTabCtrl() = default;
  // Destroys the window if it is still there.
  ~CKorvexTabCtrl() override;
  CKorvexTabCtrl(const CKorvexTabCtrl&) = delete;
  CKorvexTabCtrl& operator=(const CKorvexTabCtrl&) = delete;

  BEGIN_MSG_MAP(CKorvexTabCtrl)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_WINDOWPOSCHANGED, OnWindowPosChanged)
    REFLECTED_NOTIFY_CODE_HANDLER(TCN_SELCHANGE, OnSelChange)
    REFLECT_NOTIFICATIONS()
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  // Appends a tab for the page window and returns its index (-1 without a control). The page
  // is hidden and disabled until its tab is current; a page that was disabled when added stays
  // disabled then too. The first page is selected whatever select says.
  int AddPage(LPCWSTR caption, HWND page, BOOL select = FALSE, int image = -1, LPARAM data = 0);
  // Makes the tab current and shows its page; an index out of range or already current does
  // nothing.
  void SetCurSel(int index);
  // Removes the tab and returns its page window (null for a bad index); the window itself stays.
  // Removing the current tab hides and disables its page and selects the tab before it (the
  // next one for the first).
  HWND DeletePage(int index);
  // Removes every tab, last first.
  void DeleteAllPages();
  // Moves every page window to the display rectangle.
  void RepositionPages();
  // The client area left for the pages by the tabs.
  RECT GetDisplayRect();

  // The current tab and its page: -1 and null for none.
  int GetCurSel() const { return m_nCurrent; }
  HWND GetCurrentPage() const { return m_hCurrentPage; }
  int GetPageCount() const { return static_cast<int>(m_pages.size()); }
  HWND GetPage(int index) const;

  // One message to the tab control each.
  int GetItemCount();
  BOOL GetItem(int index, TCITEMW* item);
  BOOL GetItemRect(int index, RECT* rect);
  int GetRowCount();
  int InsertItem(int index, const TCITEMW* item);
  int TabCtrlGetCurSel();
  int TabCtrlSetCurSel(int index);

 protected:
  // Called with the index of a page about to be removed.
  virtual void OnPageRemoved(int /*index*/) {}

  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnWindowPosChanged(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSelChange(int, LPNMHDR, BOOL&);

 private:
  struct Page {
    HWND window;
    bool disabled;  // the window had WS_DISABLED when it was added
  };

  std::vector<Page> m_pages;
  int m_nCurrent = -1;
  HWND m_hCurrentPage = nullptr;
};
