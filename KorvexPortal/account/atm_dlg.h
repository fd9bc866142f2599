// The withdrawal dialog: shows the bank account the money goes to (handed over by the desktop
// from the withdrawal data), takes the amount and the payment password, checks both, sends
// "drawMoney" behind the wait box and shows the outcome.
#pragma once

#include "base_dlg.h"
#include "facade_request.h"
#include "hint_edit.h"
#include "skin_label.h"

// Handles the finished withdrawal request on the user-interface thread (posted to itself).
#define WM_KV_DRAWMONEY_REPLY 0x62F

class CAtmDlg : public CBaseDlg {
 public:
  CAtmDlg();
  ~CAtmDlg() override;

  // The withdrawal data: two texts kept without being shown, then the holder's name, the bank,
  // the account type, the account number and the most one withdrawal may take. Null is empty.
  void SetWithdrawInfo(const WCHAR* kept1, const WCHAR* kept2, const WCHAR* holder, const WCHAR* bank,
                       const WCHAR* accountType, const WCHAR* accountNo, const WCHAR* onceLimit);

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;

  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CAtmDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_KV_DRAWMONEY_REPLY, OnDrawMoneyReply)
    COMMAND_ID_HANDLER(1021, OnSubmit)
    COMMAND_ID_HANDLER(1020, OnCloseCommand)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDrawMoneyReply(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSubmit(WORD, WORD, HWND, BOOL&);
  LRESULT OnCloseCommand(WORD, WORD, HWND, BOOL&);

  CHintEdit m_amountEdit{true, 2};
  CHintEdit m_passwordEdit;
  // The captions and the values, in the template's order.
  CSkinLabel m_captions[6];
  CSkinLabel m_values[5];
  // The kept texts and the shown values of SetWithdrawInfo.
  CStringW m_kept[2];
  CStringW m_valueTexts[5];
  // The answer of the last request, read by the posted handler.
  FacadeReply m_answer;
};
