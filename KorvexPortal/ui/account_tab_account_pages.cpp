// The pages the account screens add to the account tab control: the balance, the statement and
// a transaction's details.
#include "account_tab_ctrl.h"

int CAccountTabCtrl::AddBalancePage(CListRows* model)
{
  return AddListPage(kBalancePage, u"账户余额", model);
}

int CAccountTabCtrl::AddTransQueryPage()
{
  if (!IsWindow())
    return -1;
  if (!m_queryPage.IsWindow() && !m_queryPage.Create(m_hWnd, GetDisplayRect(), nullptr, 0, 0))
    return -1;
  for (int i = 0; i < GetPageCount(); ++i)
    if (GetPage(i) == m_queryPage.m_hWnd)
      return i;
  return AddPage(u"账户明细查询", m_queryPage);
}

int CAccountTabCtrl::AddAccountDetailPage(CListRows* model)
{
  return AddListPage(kAccountDetailPage, u"账户详情", model);
}
