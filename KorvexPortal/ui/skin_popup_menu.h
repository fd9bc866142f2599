// The skinned popup menu of a soft key: the platform's popup menu with owner-drawn items of a
// fixed size, item backgrounds from two bitmaps of the resource library, a blue selection and a
// grey frame around the menu window. Its own hidden window receives the tracked menu's messages: it
// measures and draws the items and passes the chosen command on to the notify window.
#pragma once

#include <map>

#include "windows.h"
#include "atl/atl.h"
#include "text/cstring.h"

class CSkinPopupMenu : public CWindowImpl<CSkinPopupMenu> {
 public:
  // Bitmap ids of the resource library; -1 loads none.
  explicit CSkinPopupMenu(int normalId = -1, int selectedId = -1);
  ~CSkinPopupMenu() override;
  CSkinPopupMenu(const CSkinPopupMenu&) = delete;
  CSkinPopupMenu& operator=(const CSkinPopupMenu&) = delete;

  // Loads the item bitmaps from the application's resource library. An id of -1, or one that
  // does not load, keeps the current bitmap.
  void LoadImages(int normalId, int selectedId);
  // Shows the menu from now on and makes its items owner-drawn. The menu stays its giver's: the
  // popup never destroys it.
  void SetMenu(HMENU menu);
  // Shows the menu at (x, y) until it closes; the choice reaches notifyWindow as WM_COMMAND.
  BOOL TrackPopup(UINT flags, int x, int y, HWND notifyWindow);
  // Lets go of the menu (which its giver keeps), the item bitmaps and the hidden window.
  void Reset();

  BEGIN_MSG_MAP(CSkinPopupMenu)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
  END_MSG_MAP()

 private:
  struct Item {
    CStringW text;
    int position;
  };

  LRESULT OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnMeasureItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&);

  // Replaces the bitmap held in target by the one with the id; false when it does not load.
  bool LoadImage(int id, HBITMAP& target, SIZE& size);
  void DrawItemBackground(HDC dc, const RECT& item, int position) const;
  void DrawItem(const DRAWITEMSTRUCT& draw) const;

  int m_itemWidth;
  int m_itemHeight;
  SIZE m_normalSize{0, 0};
  SIZE m_selectedSize{0, 0};
  HBITMAP m_normalBitmap = nullptr;
  HBITMAP m_selectedBitmap = nullptr;
  bool m_hasSelectedBitmap = false;
  bool m_hasNormalBitmap = false;
  HMENU m_menu = nullptr;
  int m_itemCount = 0;
  std::map<int, Item> m_items;
  HWND m_notifyWindow = nullptr;
};
