// A link: an owner-drawn button that shows its window text in blue on one line. It answers the
// owner-draw messages, plain (when its parent chains them to it) or reflected; a tap reaches
// the parent as the button's usual command.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class CLinkLabel : public CWindowImpl<CLinkLabel> {
 public:
  BEGIN_MSG_MAP(CLinkLabel)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
    MESSAGE_HANDLER(OCM_MEASUREITEM, OnMeasureItem)
    MESSAGE_HANDLER(WM_DELETEITEM, OnDeleteItem)
    MESSAGE_HANDLER(OCM_DELETEITEM, OnDeleteItem)
    MESSAGE_HANDLER(WM_COMPAREITEM, OnCompareItem)
    MESSAGE_HANDLER(OCM_COMPAREITEM, OnCompareItem)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnDrawItem(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnMeasureItem(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDeleteItem(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnCompareItem(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
};
