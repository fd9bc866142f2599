// The openers of the desktop's pages, one per slot. Each page not yet available opens the
// stand-in page with the entry's name; its screen replaces its opener here.
#include "desktop_pages.h"

#include "account_query_page.h"
#include "desktop_placeholder_page.h"
#include "milocard_host_dlg.h"
#include "msg_dlg.h"
#include "p2p_pay_dlg.h"
#include "phone_payment_dlg.h"
#include "trade_query_dlg.h"

namespace {

// Shows a page over the desktop, modeless and full screen; null when it could not be shown.
CBaseDlg* ShowOverDesktop(std::unique_ptr<CBaseDlg> page, const DesktopPageContext& context)
{
  if (!page || page->ShowDialog(context.desktop, 0, FALSE, TRUE) == 0)
    return nullptr;
  return page.release();
}

CBaseDlg* OpenPlaceholder(const WCHAR* title, const DesktopPageContext& context)
{
  return ShowOverDesktop(std::make_unique<CDesktopPlaceholderPage>(title), context);
}

// A kept page is made once; each opening shows it afresh.
CBaseDlg* ReopenKeptPlaceholder(CBaseDlg* kept, const WCHAR* title, const DesktopPageContext& context)
{
  if (!kept)
    return OpenPlaceholder(title, context);
  if (kept->m_hWnd && ::IsWindow(kept->m_hWnd))
    kept->CloseDialog(2, FALSE);
  kept->ShowDialog(context.desktop, 0, FALSE, TRUE);
  return kept;
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
  return OpenPlaceholder(u"充值", context);
}

CBaseDlg* CreateWithdrawalPage()
{
  return new CDesktopPlaceholderPage(u"提现");
}

void ShowWithdrawalPage(CBaseDlg* page, DesktopPageContext& context)
{
  // The withdrawal page takes context.withdrawal before it shows.
  if (page)
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
  return ReopenKeptPlaceholder(kept, u"生活缴费", context);
}

CBaseDlg* OpenEntertainmentPage(CBaseDlg* kept, DesktopPageContext& context)
{
  return ReopenKeptPlaceholder(kept, u"娱乐消费", context);
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
