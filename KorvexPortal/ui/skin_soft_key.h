// A soft key of the soft-key bar: an owner-drawn button painted over a piece of the skin. A
// command key sends WM_COMMAND with its control id to the dialog; a menu key opens its skinned
// popup menu above itself, telling the dialog before and after. A text set on the key
// (WM_SETTEXT) replaces the caption a menu gave it; an empty text leaves the key blank.
#pragma once

#include "windows.h"
#include "atl/atl.h"
#include "skin_image.h"
#include "skin_popup_menu.h"
#include "text/cstring.h"

// Sent to the parent by a menu key before its popup opens (so the dialog can enable or grey the
// items) and after it closes; wParam the key's control id, lParam 0.
#define WM_KV_SOFTKEY_POPUP 0x602
#define WM_KV_SOFTKEY_POPUP_DONE 0x603

class CSkinSoftKey : public CWindowImpl<CSkinSoftKey> {
 public:
  CSkinSoftKey() = default;
  ~CSkinSoftKey() override = default;
  CSkinSoftKey(const CSkinSoftKey&) = delete;
  CSkinSoftKey& operator=(const CSkinSoftKey&) = delete;

  // Takes a button of the dialog over and makes it owner-drawn. A key that takes no focus never
  // activates its window; a key that does becomes a command key with its control id.
  BOOL Attach(HWND button, bool takesFocus);
  // Null: a command key. Position below 0: the whole menu is the popup. Otherwise the item at the
  // position gives the caption, and its submenu, when it has one, is the popup.
  void SetMenu(HMENU menu, int position);
  // Gives the key the size of its background's source bitmap.
  void SizeToBitmap();
  // The press: opens the popup of a menu key, or sends the command of a command key.
  void Click();

  CSkinImage m_background;

  BEGIN_MSG_MAP(CSkinSoftKey)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnTap)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(OCM_CTLCOLORBTN, OnColour)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnSetText(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnFocusChange(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnTap(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnColour(UINT, WPARAM, LPARAM, BOOL&);

  HMENU m_popupMenu = nullptr;
  int m_commandId = 0;
  CStringW m_caption;
  CSkinPopupMenu m_popup;
};
