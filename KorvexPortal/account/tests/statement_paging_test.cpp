// The account statement's page arithmetic and the account lists' columns.
#include <gtest/gtest.h>

#include "account_columns.h"
#include "statement_paging.h"

namespace {

TEST(StatementPaging, NextPageExistsOnlyWhileTransactionsRemain)
{
  struct Case {
    int page, total, rows;
    bool next;
  };
  const Case cases[] = {
      {1, 20, 10, true}, {2, 20, 10, false}, {2, 25, 10, true}, {3, 25, 10, false},
      {1, 0, 10, false}, {1, 10, 10, false}, {1, 9, 10, false}, {1, 11, 10, true},
      {1, 5, 0, false},  // no rows per page: no paging at all
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "page " << c.page << " of " << c.total << " at " << c.rows);
    EXPECT_EQ(c.next, HasStatementPageAfter(c.page, c.total, c.rows));
  }
}

TEST(StatementPaging, PagesAndTheRescaledPage)
{
  EXPECT_EQ(3, StatementPageCount(25, 10));
  EXPECT_EQ(2, StatementPageCount(20, 10));
  EXPECT_EQ(0, StatementPageCount(0, 10));
  EXPECT_EQ(0, StatementPageCount(5, 0));
  struct Case {
    int oldRows, page, newRows, expected;
  };
  const Case cases[] = {
      {10, 3, 7, 4},   // (10 × 3) / 7
      {10, 2, 30, 1},  // below 2
      {0, 1, 10, 1},   // the first query
      {10, 3, 10, 3},
      {10, 3, 0, 1},   // no rows reported
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.oldRows << " -> " << c.newRows << " on page " << c.page);
    EXPECT_EQ(c.expected, RescaleStatementPage(c.oldRows, c.page, c.newRows));
  }
}

TEST(AccountColumns, LabelAndValueColumnsShareTheListWidth)
{
  // A 220-pixel list on a 240-pixel-wide screen with six rows that fit: a 160-pixel value, less
  // the scroll bar when the rows do not fit.
  EXPECT_EQ((std::vector<int>{0, 40, 20, 160}), AccountDetailColumnWidths(1, 220, false, 9));
  EXPECT_EQ((std::vector<int>{0, 40, 20, 151}), AccountDetailColumnWidths(1, 220, true, 9));
  EXPECT_EQ((std::vector<int>{0, 80, 40, 320}), AccountDetailColumnWidths(2, 440, false, 18));
  EXPECT_EQ((std::vector<int>{0, 50, 20, 150}), BalanceColumnWidths(1, 220));
  EXPECT_EQ((std::vector<int>{0, 50, 20, 0}), BalanceColumnWidths(1, 40));
}

}  // namespace
