// The main window: the full-screen top-level window of a normal run, titled "KorvexPortal" so that
// a second start finds it. It shows only the skin and the soft-key bar; every screen is shown over
// it. It opens the login at start, carries the program-wide menu, and its end ends the run.
#pragma once

#include "base_dlg.h"
#include "shell/dialog.h"
#include "shell_ids.h"

// Posted by the main window to itself at start, and handled by opening the login dialog.
#define WM_KV_RELOGIN 0x604
// The class library's about command.
#define ID_APP_ABOUT 0xE140

class CMainWnd : public CBaseDlg, public CIdleHandler {
 public:
  CMainWnd();

  // Creates the window from its template without an owner; null on failure.
  HWND Create(LPARAM param);

  int GetTemplateId(int) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetMenuId() override;
  int GetCenterKeyId() override;
  BOOL HasSecondLabel() override { return FALSE; }
  BOOL OnIdle() override { return FALSE; }

  BEGIN_MSG_MAP(CMainWnd)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_RELOGIN, OnRelogin)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_KV_ENDDIALOG, OnEndRun)
    MESSAGE_HANDLER(WM_COPYDATA, OnCopyData)
    MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    COMMAND_ID_HANDLER(ID_APP_ABOUT, OnAbout)
    COMMAND_ID_HANDLER(IDC_MAIN_SOFTKEY1, OnExitKey)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnRelogin(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnClose(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnEndRun(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnCopyData(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
  LRESULT OnActivate(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnAbout(WORD, WORD, HWND, BOOL&);
  LRESULT OnExitKey(WORD, WORD, HWND, BOOL&);

  // Destroys the window and ends the message loop with the code.
  void EndRun(int code);

  SHACTIVATEINFO m_activateInfo{};
  CMessageLoop* m_pIdleLoop = nullptr;
};
