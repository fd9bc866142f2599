// An engraved horizontal separator laid over a dialog item: a grey line over a white one.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class COwnerDrawCtrlC : public CWindowImpl<COwnerDrawCtrlC> {
 public:
  BEGIN_MSG_MAP(COwnerDrawCtrlC)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
};
