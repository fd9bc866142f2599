// The owner-drawn list for lists that the owner fills one page at a time: left and right ask the
// parent for the previous and next page, Enter or a tap on a row asks it to open the row, and
// the selection never rests on the blank items that pad a short page.
#pragma once

#include "korvex_list_view.h"

// Posted to the list's parent, wParam and lParam 0.
#define WM_KV_LIST_NEXTPAGE 0x61C
#define WM_KV_LIST_PREVPAGE 0x61D
#define WM_KV_LIST_OPENITEM 0x61E

class CPagedListView : public CKorvexListView {
 public:
  ~CPagedListView() override;

  BEGIN_MSG_MAP(CPagedListView)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnLButtonDown)
    CHAIN_MSG_MAP(CKorvexListView)
  END_MSG_MAP()

  // The row of an item: null for a padding item or an index without an item.
  CListRow* GetItemData(int index);

 private:
  LRESULT OnKeyDown(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnLButtonDown(UINT, WPARAM, LPARAM, BOOL&);

  // Puts the selection back on the remembered row, or clears it when that is no data row.
  void RestoreRememberedRow();
  // The model follows the remembered row.
  void StoreSelection();
  void PostToParent(UINT message);
};
