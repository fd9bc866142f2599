#include "trade_query_paging.h"

namespace {

int AtLeastOne(int rowsPerPage)
{
  return rowsPerPage < 1 ? 1 : rowsPerPage;
}

}  // namespace

int RescaledTradePage(int oldPageSize, int page, int rowsPerPage)
{
  int rows = AtLeastOne(rowsPerPage);
  if (rows == oldPageSize)
    return page;
  int rescaled = static_cast<int>(static_cast<long long>(oldPageSize) * page / rows);
  return rescaled < 2 ? 1 : rescaled;
}

bool HasTradePageAfter(int page, int totalCount, int rowsPerPage)
{
  int rows = AtLeastOne(rowsPerPage);
  int next = page + 1;
  return next <= totalCount / rows + 1 && static_cast<long long>(totalCount) != static_cast<long long>(rows) * page;
}

int TradePageCount(int totalCount, int rowsPerPage)
{
  int rows = AtLeastOne(rowsPerPage);
  return totalCount <= 0 ? 0 : (totalCount + rows - 1) / rows;
}
