// A skinned tab strip over a platform tab control: a grey band with the tabs of the control,
// the current one drawn from a middle bitmap between a left and a right cap.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class COwnerDrawCtrlE : public CWindowImpl<COwnerDrawCtrlE> {
 public:
  // The selected tab's images in the resource library.
  enum { kLeftCapId = 1028, kMiddleId = 1029, kRightCapId = 1030 };

  // Loads the selected tab's images from the current resource library.
  COwnerDrawCtrlE();
  ~COwnerDrawCtrlE() override;

  BEGIN_MSG_MAP(COwnerDrawCtrlE)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  // The strip paints every tab itself.
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&) { return 0; }

  void PaintSelectedTab(HDC dc, const RECT& tab);

  HBITMAP m_hLeftCap = nullptr;
  HBITMAP m_hRightCap = nullptr;
  HBITMAP m_hMiddle = nullptr;
};
