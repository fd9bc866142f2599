// The application object's module registration and resource library, and what its operations do
// until the application shell gives them their work.
#include "app_services.h"

#include <atomic>

#include "base_dlg.h"
#include "dialog_ids.h"
#include "ini_file.h"
#include "payment_service.h"
#include "thread_message_box.h"

namespace {

std::atomic<CKorvexPortalApp*> g_app{nullptr};

}  // namespace

CKorvexPortalApp::CKorvexPortalApp()
{
  g_app = this;
}

CKorvexPortalApp::~CKorvexPortalApp()
{
  // The settings object saves the file as it goes.
  delete m_pConfig;
  delete m_pOwnedPaymentService;
  if (m_hActivationEvent)
    CloseHandle(m_hActivationEvent);
  CKorvexPortalApp* self = this;
  g_app.compare_exchange_strong(self, nullptr);
}

void CKorvexPortalApp::SetResourceLibrary(HMODULE library)
{
  HINSTANCE previous = SetResourceInstance(library);
  if (!m_hPreviousResourceInstance)
    m_hPreviousResourceInstance = previous;
  m_hResourceLibrary = library;
}

void CKorvexPortalApp::PostToActiveDialog(int value)
{
  if (!m_pMainDialog || !m_pMainDialog->IsWindow())
    return;
  m_pMainDialog->ShowWindow(SW_HIDE);
  CloseOpenDialogs();
  m_pMainDialog->PostMessage(WM_KV_ENDDIALOG, static_cast<WPARAM>(value), 0);
}

void CKorvexPortalApp::CloseOpenDialogs()
{
  if (HWND box = GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
}

void CKorvexPortalApp::DestroyDialogs() {}

int CKorvexPortalApp::ShowLoginDlg(int)
{
  return -1;
}

int CKorvexPortalApp::ShowDesktopDlg(int)
{
  return -1;
}

int CKorvexPortalApp::ShowUnpaidTradeList(const CStringW&, const CStringW&)
{
  return -1;
}

int CKorvexPortalApp::ShowQtoTDlg(int)
{
  return -1;
}

int CKorvexPortalApp::ShowBindPhoneDlg(int)
{
  return -1;
}

int CKorvexPortalApp::ShowAboutDlg()
{
  return -1;
}

int CKorvexPortalApp::ShowHelpDlg()
{
  return -1;
}

void CKorvexPortalApp::ShowApnSettingsDlg(BOOL) {}

void CKorvexPortalApp::ShowPersonalInfoDlg(int, int) {}

void CKorvexPortalApp::PreRegister(HWND, UINT, const CStringW&) {}

void CKorvexPortalApp::OnPreRegisterResult(WPARAM, LPARAM) {}

LRESULT CKorvexPortalApp::OnReply1587(WPARAM, LPARAM)
{
  return 0;
}

int CKorvexPortalApp::ShowMessageBox(HWND owner, const CStringW& text, const CStringW& caption, UINT type,
                                     BOOL progress, int afterShow)
{
  return ShowSkinMessageBox(owner, text, caption, type, progress, afterShow);
}

HWND CKorvexPortalApp::GetMessageBoxWindow() const
{
  return CThreadMessageBox::SharedWindow();
}

CKorvexPortalApp* GetKorvexPortalApp()
{
  return g_app.load();
}
