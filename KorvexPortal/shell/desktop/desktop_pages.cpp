// The openers of the desktop's pages, one per slot.
#include "desktop_pages.h"

#include <new>

#include "account_query_page.h"
#include "atm_dlg.h"
#include "embed_browser_dlg.h"
#include "gateway_address.h"
#include "html_dlg.h"
#include "milocard_host_dlg.h"
#include "msg_dlg.h"
#include "p2p_pay_dlg.h"
#include "phone_payment_dlg.h"
#include "recharge_host_dlg.h"
#include "service_results.h"
#include "trade_query_dlg.h"

namespace {

// Shows a page over the desktop, modeless and full screen; null when it could not be shown.
CBaseDlg* ShowOverDesktop(std::unique_ptr<CBaseDlg> page, const DesktopPageContext& context)
{
  if (!page || page->ShowDialog(context.desktop, 0, FALSE, TRUE) == 0)
    return nullptr;
  return page.release();
}

CBaseDlg* OpenTransferPage(CBaseDlg*, DesktopPageContext& context)
{
  return ShowOverDesktop(std::make_unique<CP2PPayDlg>(), context);
}

CBaseDlg* OpenAccountQueryPage(CBaseDlg*, DesktopPageContext& context)
{
  // The balance is asked for once the page shows.
  auto* shown = static_cast<CAccountQueryPage*>(ShowOverDesktop(std::make_unique<CAccountQueryPage>(), context));
  if (shown)
    shown->QueryBalance();
  return shown;
}

CBaseDlg* OpenTradeQueryPage(CBaseDlg*, DesktopPageContext& context)
{
  // The command's lParam presets the status filter (4: the unpaid trades).
  auto page = std::make_unique<CTradeQueryDlg>();
  page->GetStatusFilter(static_cast<int>(context.commandParam));
  auto* shown = static_cast<CTradeQueryDlg*>(ShowOverDesktop(std::move(page), context));
  if (shown)
    shown->Refresh();
  return shown;
}

CBaseDlg* OpenRechargeHostPage(CBaseDlg*, DesktopPageContext& context)
{
  return ShowOverDesktop(std::make_unique<CRechargeHostDlg>(), context);
}

CBaseDlg* CreateWithdrawalPage()
{
  return new (std::nothrow) CAtmDlg;
}

void ShowWithdrawalPage(CBaseDlg* page, DesktopPageContext& context)
{
  // The withdrawal page takes context.withdrawal before it shows.
  if (!page)
    return;
  if (const WithdrawInfo* info = context.withdrawal)
    static_cast<CAtmDlg*>(page)->SetWithdrawInfo(u"", u"", info->userName.c_str(), info->bankName.c_str(),
                                                 info->accountType.c_str(), info->bankAccountNO.c_str(),
                                                 info->onceAvailableAmount.c_str());
  page->ShowDialog(context.desktop, 0, FALSE, TRUE);
}

CBaseDlg* OpenPhoneRechargePage(CBaseDlg*, DesktopPageContext& context)
{
  return ShowOverDesktop(std::make_unique<CPhonePaymentDlg>(), context);
}

CBaseDlg* OpenCardWizardPage(CBaseDlg*, DesktopPageContext& context)
{
  // The wizard asks for the cards while it shows; right after, it may want the user to log in
  // again or to bind the phone first.
  auto wizard = std::make_unique<CMilocardHostDlg>();
  if (wizard->ShowDialog(context.desktop, 0, FALSE, TRUE) == 0)
    return nullptr;
  context.logOut = wizard->IsLoginNeeded();
  context.bindPhone = wizard->IsBindPhoneNeeded();
  return wizard.release();
}

CBaseDlg* OpenWebCentrePage(CBaseDlg* kept, DesktopPageContext& context)
{
  auto* page = static_cast<CHtmlDlg*>(kept);
  if (!page)
    page = new (std::nothrow) CHtmlDlg;
  if (!page)
    return nullptr;
  if (page->m_hWnd && ::IsWindow(page->m_hWnd))
    page->DestroyWindow();
  page->NavigatePost(GetGatewayUrl(u"/puc/webMC.htm"), CStringW(), context.desktop);
  return page;
}

CBaseDlg* OpenEntertainmentPage(CBaseDlg* kept, DesktopPageContext& context)
{
  auto* page = static_cast<CEmbedBrCtlDlg*>(kept);
  if (!page) {
    page = new (std::nothrow) CEmbedBrCtlDlg;
    if (!page)
      return nullptr;
    page->SetCaption(u"娱乐消费");
  }
  page->LoadPage(GetGatewayUrl(u"/amusement.htm"), CStringW(), context.desktop);
  page->SetBackKeys();
  return page;
}

CBaseDlg* OpenMessagesPage(CBaseDlg*, DesktopPageContext& context)
{
  return ShowOverDesktop(std::make_unique<CMsgDlg>(), context);
}

}  // namespace

const DesktopPageOpeners& DefaultDesktopPageOpeners()
{
  static const DesktopPageOpeners openers = {
      {OpenTransferPage, OpenAccountQueryPage, OpenTradeQueryPage, OpenRechargeHostPage, nullptr,
       OpenPhoneRechargePage, OpenCardWizardPage, OpenWebCentrePage, OpenEntertainmentPage, OpenMessagesPage},
      CreateWithdrawalPage,
      ShowWithdrawalPage,
  };
  return openers;
}
