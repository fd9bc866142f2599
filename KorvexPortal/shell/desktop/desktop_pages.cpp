// The openers of the desktop's pages, one per slot. Each page not yet available opens the
// stand-in page with the entry's name; its screen replaces its opener here.
#include "desktop_pages.h"

#include <new>

#include "desktop_placeholder_page.h"
#include "embed_browser_dlg.h"
#include "gateway_address.h"
#include "html_dlg.h"

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
  return OpenPlaceholder(u"手机充值", context);
}

CBaseDlg* OpenCardWizardPage(CBaseDlg*, DesktopPageContext& context)
{
  // The wizard reports through context.logOut and context.bindPhone once its show returned.
  return OpenPlaceholder(u"卡通", context);
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
