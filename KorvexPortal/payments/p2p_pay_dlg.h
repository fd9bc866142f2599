// The transfer's entry dialog: the payee account (typed or chosen from the contact picker), the
// amount and the reason, and a banner with the number of the user's unpaid trades. Its submit
// checks the fields and sends "p2pPrePay"; on success the confirmation page opens over it.
#pragma once

#include <memory>

#include "base_dlg.h"
#include "contact_pick_dlg.h"
#include "form_button.h"
#include "hint_edit.h"
#include "owner_draw_ctrl_a.h"
#include "p2p_pay_confirm_dlg.h"
#include "skin_label.h"

// Posted to itself once the dialog shows: asks for the unpaid count.
#define WM_KV_P2P_QUERY_UNPAID 0x639
// Posted to itself to show the confirmation page once the wait box has gone.
#define WM_KV_P2P_OPEN_CONFIRM 0x63B

class CP2PPayDlg : public CBaseDlg {
 public:
  CP2PPayDlg();
  ~CP2PPayDlg() override;

  // Closes and replaces an open picker, showing a new one over this dialog.
  void OpenContactPicker();

  // For the screen's owner and tests.
  CP2PPayConfirmDlg& GetConfirmDlg() { return m_confirmDlg; }
  CContactPickDlg* GetContactPicker() const { return m_pPicker.get(); }
  int GetUnpaidCount() const { return m_nUnpaidCount; }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CP2PPayDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_P2P_QUERY_UNPAID, OnQueryUnpaid)
    MESSAGE_HANDLER(WM_KV_P2P_OPEN_CONFIRM, OnOpenConfirm)
    COMMAND_ID_HANDLER(1010, OnContacts)
    COMMAND_ID_HANDLER(1022, OnBanner)
    COMMAND_ID_HANDLER(1021, OnSubmit)
    COMMAND_ID_HANDLER(1020, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnQueryUnpaid(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOpenConfirm(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnContacts(WORD, WORD, HWND, BOOL&);
  LRESULT OnBanner(WORD, WORD, HWND, BOOL&);
  LRESULT OnSubmit(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD code, WORD, HWND, BOOL&);

  // Acts on the prepay's status.
  void OnPrePayStatus(int status, const CStringW& memo, const PrePayResult* record);
  CStringW ItemText(int id);

  CHintEdit m_accountEdit;
  CHintEdit m_amountEdit{true, 2};
  CHintEdit m_reasonEdit;
  CFormButton m_contactButton;
  CSkinLabel m_captions[4];
  CP2PPayConfirmDlg m_confirmDlg;
  COwnerDrawCtrlA m_banner;
  std::unique_ptr<CContactPickDlg> m_pPicker;
  int m_nUnpaidCount = -1;
};
