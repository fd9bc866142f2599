// The owner-drawn list of the trade and account screens: a report list view without header or
// scroll bars whose fixed-height rows it draws itself from a CListRows model (grey background,
// separator line, text cells with a word ellipsis, transparent image cells and a selection bar
// made of three bitmaps). The parent must reflect notifications (REFLECT_NOTIFICATIONS) so that
// the list measures and draws its rows.
#pragma once

#include "atl/atl.h"
#include "list_rows.h"
#include "windows.h"

// Child, tab stop, no column header, no scroll, owner-draw fixed, single selection, report view.
typedef CWinTraits<0x40016405, 0> CKorvexListViewTraits;

class CKorvexListView : public CWindowImpl<CKorvexListView, CWindow, CKorvexListViewTraits> {
 public:
  DECLARE_WND_SUPERCLASS(u"WTL_KorvexListView", u"SysListView32")

  // Resource ids of the selection bar's middle, left and right bitmaps.
  enum { kSelectionMiddleId = 1022, kSelectionLeftId = 1023, kSelectionRightId = 1024 };
  // Row height on a 240-pixel-wide screen.
  enum { kBaseRowHeight = 32 };

  // Loads the selection bitmaps from the current resource library.
  CKorvexListView();
  ~CKorvexListView() override;

  BEGIN_MSG_MAP(CKorvexListView)
    MESSAGE_HANDLER(WM_CREATE, OnCreate)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_HSCROLL, OnScroll)
    MESSAGE_HANDLER(WM_VSCROLL, OnScroll)
    MESSAGE_HANDLER(OCM_DRAWITEM, OnDrawItem)
    MESSAGE_HANDLER(OCM_MEASUREITEM, OnMeasureItem)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  // Points the list to the owner's model and refills it. Without a model the list drops the
  // items of the one it had.
  void SetModel(CListRows* model);
  CListRows* GetModel() const { return m_pModel; }
  // Refills the control from the model: one column per width, one item per row, blank items up
  // to a page, then the model's selection. Without a model nothing changes.
  void Rebuild();

  // Rows that fit on the list, or the minimum rows per page when that is larger.
  int GetCountPerPage();
  void SetMinRowsPerPage(int rows) { m_nMinRowsPerPage = rows; }
  BOOL SetItemState(int index, UINT state, UINT mask);
  // Selects and focuses a row and scrolls it into view.
  BOOL SelectItem(int index);
  BOOL EnsureVisible(int index, BOOL partialOk);
  int GetSelectedIndex();
  int GetItemCount();
  BOOL GetItem(LVITEMW* item);
  BOOL GetItemRect(int index, RECT* rect, UINT portion);
  BOOL GetSubItemRect(int item, int subItem, UINT portion, RECT* rect);
  DWORD SetExtendedListViewStyle(DWORD mask, DWORD style);
  BOOL Scroll(int dx, int dy);
  COLORREF GetTextColor();
  BOOL GetColumn(int index, LVCOLUMNW* column);
  int InsertColumn(int index, const LVCOLUMNW* column);
  BOOL DeleteColumn(int index);
  int InsertItem(const LVITEMW* item);
  BOOL DeleteAllItems();
  // Deletes the selection bitmaps.
  void DeleteImages();

  // Rows are drawn only while this is set.
  void EnableDrawing(BOOL enable) { m_bDrawEnabled = enable; }

 protected:
  LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnScroll(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDrawItem(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnMeasureItem(UINT, WPARAM, LPARAM, BOOL&);

  void DrawRow(const DRAWITEMSTRUCT& draw);
  void DrawSelectionBar(HDC dc, HDC source, int width);
  void DrawCells(HDC dc, const DRAWITEMSTRUCT& draw, const RECT& bounds, const CListRow* row, COLORREF color);

  BOOL m_bDrawEnabled = TRUE;
  int m_nRememberedRow = 0;  // the last data row that held the selection (paged list)
  CListRows* m_pModel = nullptr;
  int m_nMinRowsPerPage = 0;
  HBITMAP m_hSelectionMiddle = nullptr;
  HBITMAP m_hSelectionLeft = nullptr;
  HBITMAP m_hSelectionRight = nullptr;
  int m_nWidth = 0;
  int m_nHeight = 0;
};
