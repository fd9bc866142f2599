// The page shown once the gateway opened the account: one tab, "账户激活", holding the notice
// that tells how to activate it. Soft key 1 goes back to the form; the menu's "完成注册"
// (ID_KV_REGISTER_DONE) ends the registration, closing the form without its leave question.
#pragma once

#include "base_dlg.h"
#include "owner_draw_ctrl_e.h"
#include "register_ids.h"
#include "register_notice_pane.h"

#define ID_KV_REGISTER_DONE 0x8039

class CRegisterFormDlg : public CBaseDlg {
 public:
  CRegisterFormDlg() = default;
  ~CRegisterFormDlg() override = default;

  int GetTemplateId(int) override { return IDD_REGISTER_FORM; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == -1 ? 0x419 : 0x418; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return IDC_REGISTER_FORM_EXIT; }
  int GetSoftKey2Id() override { return IDC_REGISTER_FORM_BACK; }
  int GetMenuId() override { return IDM_REGISTER_FORM; }

  HWND GetNoticeWindow() const { return m_pane.m_hWnd; }

  BEGIN_MSG_MAP(CRegisterFormDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDC_REGISTER_FORM_EXIT, OnExit)
    COMMAND_ID_HANDLER(ID_KV_REGISTER_DONE, OnDone)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnExit(WORD, WORD, HWND, BOOL&);
  LRESULT OnDone(WORD, WORD, HWND, BOOL&);
  // The skinned tab strip across the work area and the pane inside it.
  void PlaceTabAndPane();

  COwnerDrawCtrlE m_tab;
  CRegisterNoticePane m_pane;
};
