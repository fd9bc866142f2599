// A focusable one-line button laid over a dialog item: an icon and runs of text in colours of
// their own, framed in blue while it has the focus. A tap sends the parent its command.
#pragma once

#include "atl/atl.h"
#include "text/cstring.h"
#include "windows.h"

class COwnerDrawCtrlA : public CWindowImpl<COwnerDrawCtrlA> {
 public:
  // Skin images the control holds for the screens (not drawn by it).
  enum { kImageLeftId = 224, kImageMiddleId = 225, kImageRightId = 223 };

  // Loads the skin images from the current resource library.
  COwnerDrawCtrlA();
  ~COwnerDrawCtrlA() override;

  BEGIN_MSG_MAP(COwnerDrawCtrlA)
    MESSAGE_HANDLER(WM_SETFOCUS, OnRedrawNeeded)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnRedrawNeeded)
    MESSAGE_HANDLER(BM_SETSTATE, OnRedrawNeeded)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnLButtonUp)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  // The control takes the icon over; a different previous one is deleted.
  void SetBitmap(HBITMAP icon);
  // Appends a run of text in the colour.
  void AddItem(LPCWSTR text, COLORREF colour);

 private:
  LRESULT OnRedrawNeeded(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonUp(UINT, WPARAM, LPARAM, BOOL&);

  HBITMAP m_hIcon = nullptr;
  CSimpleArray<CStringW> m_texts;
  CSimpleArray<COLORREF> m_colours;
  HBITMAP m_hImageLeft = nullptr;
  HBITMAP m_hImageMiddle = nullptr;
  HBITMAP m_hImageRight = nullptr;
};
