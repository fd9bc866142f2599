// The centre control of the soft-key bar: an owner-drawn button on the skin that shows the time
// of day while the soft input panel is hidden, and the current input method's name while it is
// shown. A tap then opens a menu of the device's input methods, the current one checked, with a
// last item that hides the panel; the control asks its dialog to show or hide the panel.
#pragma once

#include "windows.h"
#include "atl/atl.h"
#include "skin_image.h"
#include "text/cstring.h"

// Posted to the parent: wParam 1 shows the input panel, 0 hides it; lParam 0.
#define WM_KV_SETSIP 0x658

class CSkinCenterKey : public CWindowImpl<CSkinCenterKey> {
 public:
  // Made by Create as an owner-drawn button of its own class, or taken over from a button.
  DECLARE_WND_SUPERCLASS(u"KvCenterKey", WC_BUTTONW)

  CSkinCenterKey() = default;
  ~CSkinCenterKey() override;
  CSkinCenterKey(const CSkinCenterKey&) = delete;
  CSkinCenterKey& operator=(const CSkinCenterKey&) = delete;

  // Starts (the clock as window text, refreshed every 30 s) or stops the clock.
  void ShowClock(bool on);
  // show false: back to the clock (or the title). show true: the input-method menu, built from
  // the device's input methods when there is none and rebuild is true, else re-checked.
  void UpdateInputMethodMenu(bool show, bool rebuild);
  // Whether the control shows the input method (its menu exists).
  bool ShowsInputMethod() const { return m_inputMethodMenu != nullptr; }
  // A text shown in place of the clock; an empty text brings the clock back. While the input
  // panel is up the input method's name shows instead, and the title comes back after.
  void SetTitle(LPCWSTR text);

  // The time of day as the control shows it: "9:05", "13:00".
  static CStringW ClockText();

  CSkinImage m_background;

  BEGIN_MSG_MAP(CSkinCenterKey)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnTap)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(OCM_CTLCOLORBTN, OnColour)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnTap(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnColour(UINT, WPARAM, LPARAM, BOOL&);

  int InputMethodCount() const { return m_inputMethods.GetSize(); }
  UINT CloseItemId() const { return static_cast<UINT>(InputMethodCount() + 1); }
  // Checks the items whose input method is the current one and unchecks the others.
  void CheckCurrentItems();
  void UncheckAllItems();

  HMENU m_inputMethodMenu = nullptr;
  bool m_clockOn = false;
  CStringW m_inputMethodName;
  CStringW m_title;
  CLSID m_currentInputMethod{};
  CSimpleArray<IMENUMINFO> m_inputMethods;
};
