// A skinned tab strip over a platform tab control: a grey band with the tabs of the control,
// the current one drawn from a middle image stretched between a left and a right cap.
#pragma once

#include "atl/atl.h"
#include "tab_strip.h"
#include "windows.h"

class COwnerDrawCtrlE : public CWindowImpl<COwnerDrawCtrlE> {
 public:
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

  // Loaded with the control from the current resource library.
  CSelectedTabImages m_images;
};
