// The desktop's grid of entries: a list view in icon view taken over from the desktop's template.
// It places the nine entries itself (3 columns in portrait, 4 in landscape), paints their icons
// double-buffered (the selected entry with its selected icon), and scrolls by moving the entries
// under a skinned scroll bar of its own when the grid is taller than the list.
#pragma once

#include "atl/atl.h"
#include "desktop_menu_geometry.h"
#include "skin_scroll_bar.h"
#include "windows.h"

class CDesktopMenuList : public CWindowImpl<CDesktopMenuList> {
 public:
  // The scroll bar's control id: the bar is the list's only child window, so no id of the
  // desktop's items can meet it.
  static constexpr int kScrollBarId = 1500;
  // The grid's background.
  static constexpr COLORREF kBackground = RGB(0xF4, 0xF4, 0xF4);

  CDesktopMenuList() = default;
  ~CDesktopMenuList() override;
  CDesktopMenuList(const CDesktopMenuList&) = delete;
  CDesktopMenuList& operator=(const CDesktopMenuList&) = delete;

  // Takes the list over, loads the icons (with their captions), sets the spacing and the image
  // list and inserts the nine entries with the first selected.
  BOOL Attach(HWND list);
  // Gives the list back and frees the icons and the scroll bar.
  void Detach();

  // Places the entries for the screen's orientation when it changed since the last placing.
  void LayOutIfTurned();
  // Shows, places or hides the scroll bar for the list's present height.
  void UpdateScrollBar();
  // The scroll bar (null while it has none) and its position.
  HWND GetScrollBar() const { return m_bar.m_hWnd; }
  int GetScrollPosition() const;

  BEGIN_MSG_MAP(CDesktopMenuList)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);

  void LoadIcons();
  void FreeIcons();
  // Moves every entry up by dy pixels (down for a negative dy).
  void MoveEntries(int dy);
  int SelectedEntry() const;

  HBITMAP m_icons[desktop_menu::kEntryCount] = {};
  HBITMAP m_selectedIcons[desktop_menu::kEntryCount] = {};
  HIMAGELIST m_imageList = nullptr;
  CSkinScrollBar m_bar;
  HBITMAP m_barBitmap = nullptr;
  int m_previous = 0;
  // The orientation the entries were placed for (0: not yet placed).
  int m_laidOut = 0;
};
