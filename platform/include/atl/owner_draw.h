// COwnerDraw: a mix-in that turns owner-draw messages (plain, and reflected in an alternate map
// numbered 1) into calls of the class's DrawItem, MeasureItem, CompareItem and DeleteItem.
#pragma once

#include "atl/message_map.h"
#include "user/owner_draw.h"

template <class T>
class COwnerDraw {
 public:
  BEGIN_MSG_MAP(COwnerDraw<T>)
    MESSAGE_HANDLER(WM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(WM_MEASUREITEM, OnMeasureItem)
  ALT_MSG_MAP(1)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(OCM_MEASUREITEM, OnMeasureItem)
  END_MSG_MAP()

  LRESULT OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&)
  {
    static_cast<T*>(this)->DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    return TRUE;
  }
  LRESULT OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&)
  {
    static_cast<T*>(this)->MeasureItem(reinterpret_cast<LPMEASUREITEMSTRUCT>(lParam));
    return TRUE;
  }

  // Overridden by the class; the defaults do nothing.
  void DrawItem(LPDRAWITEMSTRUCT) {}
  void MeasureItem(LPMEASUREITEMSTRUCT) {}
};
