// The page after a transfer to a payee who is not yet a contact: it offers to keep the payee in
// the local contact list and in the gateway's ("addContact"). Either soft key ends the transfer.
#pragma once

#include "base_dlg.h"
#include "contact_store.h"
#include "owner_draw_ctrl_b.h"
#include "skin_label.h"

// Posted to itself after "addContact" was answered (wParam: the status).
#define WM_KV_CONTACT_ADDED 0x636
// Posted to the owning confirmation page when this page closes.
#define WM_KV_P2P_RESULT_CLOSED 0x637

class CP2PPayResultDlg : public CBaseDlg {
 public:
  CP2PPayResultDlg();
  ~CP2PPayResultDlg() override;

  // The confirmation page's window, told when this page closes.
  void SetOwner(HWND owner) { m_hOwner = owner; }
  void SetContact(const CContactRecord& payee) { m_payee = payee; }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;

  BEGIN_MSG_MAP(CP2PPayResultDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_CONTACT_ADDED, OnContactAdded)
    COMMAND_ID_HANDLER(1152, OnAdd)
    COMMAND_ID_HANDLER(1082, OnSkip)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnContactAdded(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnAdd(WORD, WORD, HWND, BOOL&);
  LRESULT OnSkip(WORD, WORD, HWND, BOOL&);

  COwnerDrawCtrlB m_banner;
  CSkinLabel m_payeeLabel;
  CContactRecord m_payee;
  HWND m_hOwner = nullptr;
  CStringW m_strMemo;
};
