// The personal settings dialog: shows the account and the user name and lets the user set the
// greeting (the "安全签名", at most 10 characters), which is sent with the device and client data
// as "personalSetup". Opened from the menus with a back key, or after login when the account
// needs it without one, so that the user has to save.
#pragma once

#include "base_dlg.h"
#include "hint_edit.h"
#include "skin_label.h"

// The reply of "personalSetup" (posted by the wait box with the transport result and the reply).
#define WM_KV_PERSONALSETUP_REPLY 0x609

class CPersonalInfoDlg : public CBaseDlg {
 public:
  CPersonalInfoDlg();
  ~CPersonalInfoDlg() override;

  // Nonzero offers the back key "返回" on the left; zero leaves that key empty and inert.
  void SetBackKey(int flag);
  int GetBackKey() const { return m_nBackKey; }

  // The request body of "personalSetup" for the greeting as typed.
  static CStringW BuildRequest(const CStringW& greeting);
  // The greeting's checks: empty when it may be saved, else the message to show.
  static CStringW CheckGreeting(const CStringW& greeting);

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;

  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CPersonalInfoDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_PERSONALSETUP_REPLY, OnPersonalSetupReply)
    COMMAND_ID_HANDLER(1010, OnSave)
    COMMAND_ID_HANDLER(134, OnSave)
    COMMAND_ID_HANDLER(133, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnPersonalSetupReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnSave(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  void ApplyBackKey();
  CStringW GreetingText() const;

  CSkinLabel m_captionLabel;
  CSkinLabel m_noteLabel;
  CHintEdit m_greetingEdit;
  HBRUSH m_hBrush = nullptr;
  // The hint's window as the dialog base records it for layout.
  HWND m_hHint = nullptr;
  int m_nBackKey = 0;
};
