// Page C of the bank-card wizard: the chosen bank, the account, the real name and the ID card
// number (read-only, the number masked, when the account has its identity on file), and the
// application "requestMC".
#pragma once

#include "hint_edit.h"
#include "milocard_ids.h"
#include "milocard_page.h"

class CMilocardApplyPage : public CMilocardPageT<CMilocardApplyPage> {
 public:
  enum { IDD = IDD_MILOCARD_APPLY };
  // The facade's notification codes of "requestMC".
  enum : int { kApplied = 28, kApplyFailed = 29 };

  CMilocardApplyPage() = default;
  ~CMilocardApplyPage() override = default;

  // The host's forward key while the page shows: checks the fields and sends the application.
  void Apply();
  HWND GetFirstEdit() const { return m_nameEdit.m_hWnd; }

  BEGIN_MSG_MAP(CMilocardApplyPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CMilocardPageT<CMilocardApplyPage>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  void ShowBankName();

  CHintEdit m_nameEdit;
  CHintEdit m_idCardEdit;
};
