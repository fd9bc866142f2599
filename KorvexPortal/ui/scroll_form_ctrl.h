// The skinned drop-down choice field of the forms: a platform combo box whose closed box it
// paints itself (white, or light with a dark frame while focused, a drawn arrow and the chosen
// text), whose edit part gets a flat background, and whose drop-down list it takes over the
// first time the list shows. A tap on an item closes the list at once; the arrow keys move the
// selection while the list stays open.
#pragma once

#include <memory>

#include "atl/atl.h"
#include "windows.h"

class CScrollFormList;

class CScrollFormCtrl : public CWindowImpl<CScrollFormCtrl>, public COwnerDraw<CScrollFormCtrl> {
 public:
  // Skin images of the list's selection (held here too, not drawn by the box).
  enum { kLeftCapId = 224, kMiddleId = 225, kRightCapId = 223 };

  // Loads the images and takes the display mode as the scale base.
  CScrollFormCtrl();
  // Gives the box and its list their own procedures back when they are still there.
  ~CScrollFormCtrl() override;

  BEGIN_MSG_MAP(CScrollFormCtrl)
    MESSAGE_HANDLER(WM_SETFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnFocusChange)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKey)
    MESSAGE_HANDLER(WM_KEYUP, OnKey)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_CTLCOLOREDIT, OnChildColour)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnChildColour)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnChildColour)
    MESSAGE_HANDLER(WM_CTLCOLORLISTBOX, OnListColour)
    CHAIN_MSG_MAP(COwnerDraw<CScrollFormCtrl>)
    CHAIN_MSG_MAP_ALT(COwnerDraw<CScrollFormCtrl>, 1)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  // The display's pixel size, the base of the scale factors (width / 240, height / 320).
  int ScreenWidth() const { return static_cast<int>(m_displayMode.dmPelsWidth); }
  int ScreenHeight() const { return static_cast<int>(m_displayMode.dmPelsHeight); }
  // Whether the drop-down list has been taken over.
  bool IsListTakenOver() const { return m_bListTakenOver; }

  // Owner-drawn items: the height of the item's control font (the menu height for menus).
  void MeasureItem(LPMEASUREITEMSTRUCT measure);

 private:
  LRESULT OnFocusChange(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnKey(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnChildColour(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnListColour(UINT, WPARAM, LPARAM, BOOL&);

  void PaintListFrame(HWND list);

  std::unique_ptr<CScrollFormList> m_pList;
  HBITMAP m_hLeftCap = nullptr;
  HBITMAP m_hMiddle = nullptr;
  HBITMAP m_hRightCap = nullptr;
  bool m_bListTakenOver = false;
  DEVMODEW m_displayMode{};
  bool m_bArrowHeld = false;
  HBRUSH m_hChildBrush = nullptr;  // handed to the edit part; kept until the box goes
};

// The client rectangle extended by (right, bottom), for painting through the window's DC, kept
// within the window with `shadow` pixels to spare at the right and bottom: a box or list
// without a non-client edge still shows its whole frame and shadow.
RECT ExtendedClientRect(HWND hwnd, int right, int bottom, int shadow);
