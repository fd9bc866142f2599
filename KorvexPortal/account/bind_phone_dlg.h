// The phone binding dialog: the user types the mobile number to bind to the account; it is
// checked, sent as "confirmBinding" behind the wait box, and the outcome shown.
#pragma once

#include "base_dlg.h"
#include "facade_request.h"
#include "hint_edit.h"
#include "owner_draw_ctrl_d.h"

// Handles the finished binding request on the user-interface thread (posted to itself).
#define WM_KV_BINDPHONE_REPLY 0x631

class CBindPhoneDlg : public CBaseDlg {
 public:
  CBindPhoneDlg();
  ~CBindPhoneDlg() override;

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;

  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CBindPhoneDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_BINDPHONE_REPLY, OnBindPhoneReply)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBindPhoneReply(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnOK(WORD, WORD, HWND, BOOL&);
  LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

  CHintEdit m_numberEdit{true};
  COwnerDrawCtrlD m_note;
  // The answer of the last request, read by the posted handler.
  FacadeReply m_answer;
};
