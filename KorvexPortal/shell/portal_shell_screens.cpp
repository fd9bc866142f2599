// The screens the application object opens, one function each.
#include <new>

#include "apn_settings_dlg.h"
#include "bind_phone_dlg.h"
#include "desktop_dlg.h"
#include "help_dlg.h"
#include "login_dlg.h"
#include "order_pay_dlg.h"
#include "personal_info_dlg.h"
#include "portal_shell_app.h"
#include "qtot_dlg.h"
#include "register_dlg.h"
#include "unpaid_trade_list_dlg.h"

namespace {

// The result a dialog is closed with to be shown again.
constexpr int kClosedToShowAgain = 0xFFFF;
// The order-pay dialog's result when the order was not paid.
constexpr int kOrderNotPaid = 4;

HWND TopWindow(const CKorvexPortalApp& app)
{
  CBaseDlg* top = app.GetMainDialog();
  return top ? top->m_hWnd : nullptr;
}

// Closes a live window of a kept dialog before it is shown again.
void CloseLiveWindow(CBaseDlg& dialog)
{
  if (dialog.m_hWnd && ::IsWindow(dialog.m_hWnd))
    dialog.CloseDialog(kClosedToShowAgain, FALSE);
}

}  // namespace

int CKorvexPortalShellApp::ShowLoginDlg(int)
{
  m_retired.Retire(std::move(m_pLoginDlg), kClosedToShowAgain);
  m_pLoginDlg.reset(new (std::nothrow) CLoginDlg);
  if (!m_pLoginDlg)
    return 0;
  int result = m_pLoginDlg->ShowDialog(TopWindow(*this), 0, FALSE, TRUE);
  if (m_pLoginDlg && m_pLoginDlg->m_hWnd)
    m_pLoginDlg->SetWindowPos(HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return result;
}

int CKorvexPortalShellApp::ShowDesktopDlg(int)
{
  if (!m_pDesktopDlg)
    m_pDesktopDlg.reset(new (std::nothrow) CDesktopDlg);
  if (!m_pDesktopDlg)
    return 0;
  static_cast<CDesktopDlg*>(m_pDesktopDlg.get())->SetCountCaption(GetUnreadCount());
  return m_pDesktopDlg->ShowDialog(TopWindow(*this), 0, FALSE, TRUE);
}

HWND CKorvexPortalShellApp::GetDesktopTradeQueryWindow() const
{
  if (!m_pDesktopDlg)
    return nullptr;
  CBaseDlg* page = static_cast<CDesktopDlg*>(m_pDesktopDlg.get())->GetPage(DesktopSlot::kTradeQuery);
  return page && page->m_hWnd && ::IsWindow(page->m_hWnd) ? page->m_hWnd : nullptr;
}

void CKorvexPortalShellApp::ShowUnreadCount(int count)
{
  SetUnreadCount(count);
  if (m_pDesktopDlg)
    static_cast<CDesktopDlg*>(m_pDesktopDlg.get())->SetCountCaption(count);
}

int CKorvexPortalShellApp::ShowUnpaidTradeList(const CStringW& tradeTable, const CStringW& secondReply)
{
  if (!m_pUnpaidTradeListDlg)
    m_pUnpaidTradeListDlg.reset(new (std::nothrow) CUnpaidTradeListDlg);
  if (!m_pUnpaidTradeListDlg)
    return 0;
  // A live window is made again, so it reads the new texts.
  CloseLiveWindow(*m_pUnpaidTradeListDlg);
  auto* list = static_cast<CUnpaidTradeListDlg*>(m_pUnpaidTradeListDlg.get());
  list->SetTradeListText(tradeTable);
  list->SetReplyValue(secondReply);
  return list->ShowDialog(TopWindow(*this), 0, FALSE, TRUE);
}

void CKorvexPortalShellApp::ShowApnSettingsDlg(BOOL show)
{
  if (!m_pApnSettingsDlg)
    m_pApnSettingsDlg.reset(new (std::nothrow) CApnSettingsDlg);
  if (!m_pApnSettingsDlg)
    return;
  CloseLiveWindow(*m_pApnSettingsDlg);
  m_pApnSettingsDlg->ShowDialog(::GetActiveWindow(), 0, FALSE, TRUE);
  if (m_pApnSettingsDlg->m_hWnd)
    static_cast<CApnSettingsDlg*>(m_pApnSettingsDlg.get())->ShowExtraItems(show);
}

void CKorvexPortalShellApp::ShowPersonalInfoDlg(int backKey, int)
{
  if (!m_pPersonalInfoDlg)
    m_pPersonalInfoDlg.reset(new (std::nothrow) CPersonalInfoDlg);
  if (!m_pPersonalInfoDlg)
    return;
  CloseLiveWindow(*m_pPersonalInfoDlg);
  static_cast<CPersonalInfoDlg*>(m_pPersonalInfoDlg.get())->SetBackKey(backKey);
  m_pPersonalInfoDlg->ShowDialog(::GetActiveWindow(), 0, FALSE, TRUE);
}

int CKorvexPortalShellApp::ShowQtoTDlg(int)
{
  if (!m_pQtoTDlg)
    m_pQtoTDlg.reset(new (std::nothrow) CQtoTDlg);
  if (!m_pQtoTDlg)
    return 0;
  return m_pQtoTDlg->ShowDialog(::GetActiveWindow(), 0, FALSE, TRUE);
}

int CKorvexPortalShellApp::ShowBindPhoneDlg(int)
{
  m_retired.Retire(std::move(m_pBindPhoneDlg), kClosedToShowAgain);
  m_pBindPhoneDlg.reset(new (std::nothrow) CBindPhoneDlg);
  if (!m_pBindPhoneDlg)
    return 0;
  return m_pBindPhoneDlg->ShowDialog(TopWindow(*this), 0, FALSE, TRUE);
}

int CKorvexPortalShellApp::ShowHelpDlg()
{
  if (!m_pHelpDlg)
    m_pHelpDlg.reset(new (std::nothrow) CHelpDlg);
  if (!m_pHelpDlg)
    return 0;
  CloseLiveWindow(*m_pHelpDlg);
  return m_pHelpDlg->ShowDialog(::GetActiveWindow(), 0, FALSE, TRUE);
}

int CKorvexPortalShellApp::ShowAboutDlg()
{
  return m_aboutDlg.ShowDialog(::GetActiveWindow(), 0, FALSE, TRUE);
}

CBaseDlg* CKorvexPortalShellApp::EnsureRegisterDialog()
{
  if (!m_pRegisterDlg)
    m_pRegisterDlg.reset(new (std::nothrow) CRegisterDlg);
  return m_pRegisterDlg.get();
}

void CKorvexPortalShellApp::SetRegisterKeyInfo(const CStringW& publicKey, const CStringW& timeStamp, HBITMAP checkCode)
{
  // The registration form owns the picture from now on.
  if (auto* form = static_cast<CRegisterDlg*>(EnsureRegisterDialog()))
    form->SetKeyInfo(publicKey, timeStamp, checkCode);
  else if (checkCode)
    ::DeleteObject(checkCode);
}

int CKorvexPortalShellApp::RunOrderPay(const CStringW& order)
{
  auto* dialog = new (std::nothrow) COrderPayDlg();
  if (!dialog)
    return kOrderNotPaid;
  std::unique_ptr<CBaseDlg> owner(dialog);
  SetMainDialog(dialog);
  int result = dialog->ShowDialog(::GetForegroundWindow(), reinterpret_cast<LPARAM>(order.GetString()), TRUE, TRUE);
  SetMainDialog(nullptr);
  if (dialog->m_hWnd && ::IsWindow(dialog->m_hWnd))
    ::DestroyWindow(dialog->m_hWnd);
  return result;
}
