// A block of text laid over a dialog item: the window text cut into lines of as many characters
// as fit the width (measured from the text's average character width), spaced 5 pixels apart.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class COwnerDrawCtrlD : public CWindowImpl<COwnerDrawCtrlD> {
 public:
  BEGIN_MSG_MAP(COwnerDrawCtrlD)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);

  int m_nLineSpacing = 5;
};
