// The rows and columns of the trade query list: one row per trade (its number carried in a
// hidden first column, an icon in the status column for a trade that waits for the user), the
// single row shown when a query finds no trade, and the columns of both.
#pragma once

#include <vector>

#include "list_results.h"
#include "list_rows.h"

// Whether the trade waits for the user: to pay it (buyer 0, "WAIT_BUYER_PAY") or to confirm the
// receipt of its goods (buyer 0, "WAIT_BUYER_CONFIRM_GOODS").
bool TradeWaitsForBuyer(const CStringW& status, int buyer);

// The row of a trade: number, time, action, goods, amount and the status cell (an image cell
// carrying the status text, with its icon when the trade waits for the user). The row's key is
// the status code and its flag the "buyer" value.
CListRow* MakeTradeRow(const TradeRecord& trade);
// The row of an empty result: an empty cell, the icon and the notice.
CListRow* MakeEmptyResultRow();

// The columns of the trades over a client width of w: 0, 32 %, 8 %, 25 %, 25 % and the rest.
std::vector<int> TradeListColumnWidths(int width);
// The columns of the empty result at scale s: 0, 20s and the rest.
std::vector<int> EmptyResultColumnWidths(int scale, int width);
