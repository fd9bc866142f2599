// The transaction detail ("账户信息") that the account statement opens for one transaction: the
// label and value rows the statement prepared, in the single tab "账户详情". It sends nothing.
// Up and down scroll the rows.
#pragma once

#include "account_tab_ctrl.h"
#include "list_rows.h"
#include "tab_detail_dlg.h"

class CTransDetailDlg : public CTabDetailDlg {
 public:
  CTransDetailDlg() = default;
  ~CTransDetailDlg() override = default;

  // Set by the opener before the dialog shows: the rows (the statement's) and the account query
  // page to close on the way to the desktop (null for none).
  void SetRows(CListRows* rows) { m_pRows = rows; }
  void SetAccountPage(HWND page) { m_hAccountPage = page; }

  CAccountTabCtrl& GetTabs() { return m_tabs; }
  CKorvexListView& GetList() { return m_tabs.GetList(CAccountTabCtrl::kAccountDetailPage); }

  BOOL BindControls(BOOL save, int controlId) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  BEGIN_MSG_MAP(CTransDetailDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    COMMAND_ID_HANDLER(ID_KV_GODESKTOP, OnGoDesktop)
    CHAIN_MSG_MAP(CTabDetailDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnGoDesktop(WORD, WORD, HWND, BOOL&);

  void Layout();

  CAccountTabCtrl m_tabs;
  CListRows* m_pRows = nullptr;
  HWND m_hAccountPage = nullptr;
};
