#include "account_columns.h"

namespace {

int AtLeastZero(int value)
{
  return value < 0 ? 0 : value;
}

}  // namespace

std::vector<int> BalanceColumnWidths(int scale, int listWidth)
{
  return {0, 50 * scale, 20 * scale, AtLeastZero(listWidth - 70 * scale)};
}

std::vector<int> AccountDetailColumnWidths(int scale, int listWidth, bool rowsExceedList, int scrollBarWidth)
{
  int value = listWidth - 60 * scale - (rowsExceedList ? scrollBarWidth : 0);
  return {0, 40 * scale, 20 * scale, AtLeastZero(value)};
}
