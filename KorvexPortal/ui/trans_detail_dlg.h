// The transaction detail ("账户信息") that the account statement opens for one transaction: the
// label and value rows the statement prepared, in the single tab "账户详情". It sends nothing.
// Up and down scroll the rows.
#pragma once

#include "account_tab_ctrl.h"
#include "base_dlg.h"
#include "dialog_ids.h"
#include "list_rows.h"
#include "skin_soft_key.h"

class CTransDetailDlg : public CBaseDlg {
 public:
  enum { kBackKeyId = 133, kTabsId = 1005 };

  CTransDetailDlg() = default;
  ~CTransDetailDlg() override = default;

  // Set by the opener before the dialog shows: the rows (the statement's) and the account query
  // page to close on the way to the desktop (null for none).
  void SetRows(CListRows* rows) { m_pRows = rows; }
  void SetAccountPage(HWND page) { m_hAccountPage = page; }

  CAccountTabCtrl& GetTabs() { return m_tabs; }
  CKorvexListView& GetList() { return m_tabs.GetList(CAccountTabCtrl::kAccountDetailPage); }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetMenuId() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;
  BOOL PreTranslateMessage(MSG* pMsg) override;

  BEGIN_MSG_MAP(CTransDetailDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_KV_SOFTKEY_POPUP, OnSoftKeyPopup)
    COMMAND_ID_HANDLER(kBackKeyId, OnBack)
    COMMAND_ID_HANDLER(ID_KV_GODESKTOP, OnGoDesktop)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSoftKeyPopup(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);
  LRESULT OnGoDesktop(WORD, WORD, HWND, BOOL&);

  void Layout();

  CAccountTabCtrl m_tabs;
  CListRows* m_pRows = nullptr;
  HWND m_hAccountPage = nullptr;
};
