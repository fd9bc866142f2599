#include "main_wnd.h"

#include "app_services.h"
#include "ids.h"
#include "message_box_types.h"
#include "resource_values.h"

CMainWnd::CMainWnd()
{
  m_activateInfo.cbSize = sizeof m_activateInfo;
}

HWND CMainWnd::Create(LPARAM param)
{
  return CreateFromTemplate(nullptr, param);
}

int CMainWnd::GetTemplateId(int)
{
  return IDD_MAIN_WINDOW;
}

int CMainWnd::GetBackgroundBitmapId(int orientation)
{
  return orientation == 1 ? IDB_BACKGROUND : IDB_BACKGROUND_LAND;
}

int CMainWnd::GetLayoutStringId()
{
  return IDS_MAIN_LAYOUT;
}

int CMainWnd::GetSoftKey1Id()
{
  return IDC_MAIN_SOFTKEY1;
}

int CMainWnd::GetSoftKey2Id()
{
  return IDC_MAIN_SOFTKEY2;
}

int CMainWnd::GetMenuId()
{
  return IDR_MAIN_MENU;
}

int CMainWnd::GetCenterKeyId()
{
  return IDC_MAIN_CENTER;
}

LRESULT CMainWnd::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (CMessageLoop* loop = app ? app->GetMessageLoop() : nullptr) {
    loop->AddIdleHandler(this);
    m_pIdleLoop = loop;
  }
  PostMessage(WM_KV_RELOGIN, 0, 0);
  bHandled = FALSE;
  return 0;
}

LRESULT CMainWnd::OnRelogin(UINT, WPARAM, LPARAM, BOOL&)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowLoginDlg(0);
  return 0;
}

LRESULT CMainWnd::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_pIdleLoop) {
    m_pIdleLoop->RemoveIdleHandler(this);
    m_pIdleLoop = nullptr;
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CMainWnd::OnClose(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  EndRun(static_cast<int>(wParam));
  return 0;
}

LRESULT CMainWnd::OnEndRun(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  EndRun(static_cast<int>(wParam));
  CKorvexPortalApp* app = GetKorvexPortalApp();
  HWND box = app ? app->GetMessageBoxWindow() : nullptr;
  if (box && ::IsWindow(box))
    ::SendMessageW(box, WM_CLOSE, 0, 0);
  return 0;
}

void CMainWnd::EndRun(int code)
{
  if (m_hWnd)
    ::DestroyWindow(m_hWnd);
  ::PostQuitMessage(code);
}

LRESULT CMainWnd::OnActivate(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  SHHandleWMActivate(m_hWnd, wParam, lParam, &m_activateInfo, 0);
  bHandled = FALSE;
  return 0;
}

LRESULT CMainWnd::OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  SHHandleWMSettingChange(m_hWnd, wParam, lParam, &m_activateInfo);
  bHandled = FALSE;
  return 0;
}

LRESULT CMainWnd::OnAbout(WORD, WORD, HWND, BOOL&)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowAboutDlg();
  return 0;
}

LRESULT CMainWnd::OnExitKey(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  int answer = app->ShowMessageBox(m_hWnd, LoadResourceString(IDS_EXIT_QUESTION), CStringW(), KV_BOX_QUESTION, FALSE,
                                   SW_SHOW);
  if (answer == KV_BOX_ANSWER_OK) {
    app->PostToActiveDialog(IDC_MAIN_SOFTKEY1);
    return 0;
  }
  if (HWND box = app->GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
  if (m_hWnd && ::IsWindow(m_hWnd))
    SetFullScreenMode(TRUE);
  return 0;
}
