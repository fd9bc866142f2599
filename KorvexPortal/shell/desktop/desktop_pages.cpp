// The openers of the desktop's pages, one per slot. Each page not yet available opens the
// stand-in page with the entry's name; its screen replaces its opener here.
#include "desktop_pages.h"

#include <new>

#include "atm_dlg.h"
#include "desktop_placeholder_page.h"
#include "service_results.h"

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
  return OpenPlaceholder(u"转账", context);
}

CBaseDlg* OpenAccountQueryPage(CBaseDlg*, DesktopPageContext& context)
{
  return OpenPlaceholder(u"查询账户", context);
}

CBaseDlg* OpenTradeQueryPage(CBaseDlg*, DesktopPageContext& context)
{
  return OpenPlaceholder(u"交易查询", context);
}

CBaseDlg* OpenRechargeHostPage(CBaseDlg*, DesktopPageContext& context)
{
  return OpenPlaceholder(u"充值", context);
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
  return OpenPlaceholder(u"手机充值", context);
}

CBaseDlg* OpenCardWizardPage(CBaseDlg*, DesktopPageContext& context)
{
  // The wizard reports through context.logOut and context.bindPhone once its show returned.
  return OpenPlaceholder(u"卡通", context);
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
  return OpenPlaceholder(u"我的消息", context);
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
