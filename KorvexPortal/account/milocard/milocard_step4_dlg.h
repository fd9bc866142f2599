// Page E of the bank-card wizard: activates a card that is not yet activated with its number and
// the pay password (under the secure-input guard) through "bindingMC"; success leaves the wizard
// for the desktop.
#pragma once

#include <mutex>

#include "hint_edit.h"
#include "milocard_ids.h"
#include "milocard_page.h"
#include "owner_draw_ctrl_c.h"
#include "service_listener.h"

// Posted to the page after a wait for "bindingMC" that was not cancelled.
#define WM_KV_MCBIND_DONE 0x62A

class CMilocardStep4Dlg : public CMilocardPageT<CMilocardStep4Dlg>, public IServiceListener {
 public:
  enum { IDD = IDD_MILOCARD_ACTIVATE };
  // The facade's notification codes of "bindingMC", and the unread count's, which it ignores.
  enum : int { kBound = 30, kBindFailed = 31, kUnreadCount = 32, kUnreadCountFailed = 33 };

  CMilocardStep4Dlg() { m_ruleIds = {IDC_MILOCARD_ACTIVATE_HINT}; }
  ~CMilocardStep4Dlg() override;

  // The host's soft key 1 while the page shows: checks the fields and sends the activation.
  void Activate();
  HWND GetFirstEdit() const { return m_cardEdit.m_hWnd; }
  // On the network worker: keeps the activation's memo and status and ends the wait.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  BEGIN_MSG_MAP(CMilocardStep4Dlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_KV_MCBIND_DONE, OnBindDone)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CMilocardPageT<CMilocardStep4Dlg>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnBindDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  CHintEdit m_cardEdit{true};
  CHintEdit m_passwordEdit;
  COwnerDrawCtrlC m_hint;
  bool m_bGuarded = false;
  CStringW m_strCardNumber;

  std::mutex m_lock;
  int m_status = 0;
  CStringW m_strMemo;
};
