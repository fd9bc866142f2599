// The pages the trade detail adds to the account tab control: the trade's label and value rows,
// and its logistics when the trade has them.
#include "account_tab_ctrl.h"

int CAccountTabCtrl::AddTradeDetailPage(CListRows* model)
{
  return AddListPage(kTradeDetailPage, u"交易详情", model);
}

int CAccountTabCtrl::AddLogisticsPage(CListRows* model)
{
  return AddListPage(kLogisticsPage, u"物流信息", model);
}
