#include "portal_shell_app.h"

#include "main_wnd.h"

namespace {

// The result a dialog is closed with for good.
constexpr int kClosedForGood = 2;

void CloseLiveWindow(CBaseDlg* dialog)
{
  if (dialog && dialog->m_hWnd && ::IsWindow(dialog->m_hWnd))
    dialog->CloseDialog(kClosedForGood, FALSE);
}

}  // namespace

CKorvexPortalShellApp::CKorvexPortalShellApp() = default;

CKorvexPortalShellApp::~CKorvexPortalShellApp()
{
  DestroyDialogs();
}

int CKorvexPortalShellApp::Run(const CStringW& commandLine, int)
{
  CMessageLoop loop;
  AddMessageLoop(&loop);
  loop.AddIdleHandler(this);
  CStringW order;
  int result = GetCommandLineValue(u"/ORDERPAY", order) ? RunOrderPay(order) : RunMainWindow(loop, commandLine);
  loop.RemoveIdleHandler(this);
  RemoveMessageLoop();
  m_retired.Sweep();
  return result;
}

int CKorvexPortalShellApp::RunMainWindow(CMessageLoop& loop, const CStringW& commandLine)
{
  if (HWND box = GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
  CMainWnd mainWnd;
  if (!mainWnd.Create(reinterpret_cast<LPARAM>(commandLine.GetString())))
    return 0;
  SetMainDialog(&mainWnd);
  mainWnd.SetWindowPos(nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), SWP_NOZORDER);
  mainWnd.ShowWindow(SW_SHOW);
  int result = loop.Run();
  SetMainDialog(nullptr);
  if (mainWnd.m_hWnd && ::IsWindow(mainWnd.m_hWnd))
    ::DestroyWindow(mainWnd.m_hWnd);
  return result;
}

void CKorvexPortalShellApp::CloseOpenDialogs()
{
  if (HWND box = GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
  for (CBaseDlg* dialog : {m_pLoginDlg.get(), m_pPersonalInfoDlg.get(), m_pDesktopDlg.get(), m_pRegisterDlg.get(),
                           m_pQtoTDlg.get(), m_pHelpDlg.get(), static_cast<CBaseDlg*>(&m_aboutDlg)})
    CloseLiveWindow(dialog);
}

void CKorvexPortalShellApp::DestroyDialogs()
{
  for (std::unique_ptr<CBaseDlg>* dialog : {&m_pLoginDlg, &m_pPersonalInfoDlg, &m_pDesktopDlg, &m_pRegisterDlg,
                                            &m_pQtoTDlg, &m_pHelpDlg, &m_pBindPhoneDlg, &m_pApnSettingsDlg})
    m_retired.Retire(std::move(*dialog), kClosedForGood);
  CloseLiveWindow(&m_aboutDlg);
}

BOOL CKorvexPortalShellApp::OnIdle()
{
  m_retired.Sweep();
  return FALSE;
}
