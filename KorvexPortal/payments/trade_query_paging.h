// The page arithmetic of the trade query list: the page asked for when the rows per page change
// (the screen turned), whether a next page exists, and the page count shown in the soft-key bar.
// Rows per page below 1 (a list not yet laid out reports 0) count as 1.
#pragma once

// The page that shows the first trade of the old page at the new rows per page: old size × page
// / rows, and 1 when that is below 2. Unchanged when the rows per page did not change.
int RescaledTradePage(int oldPageSize, int page, int rowsPerPage);
// Whether the page after the current one holds trades, of total trades at rows per page.
bool HasTradePageAfter(int page, int totalCount, int rowsPerPage);
// ⌈total / rows per page⌉.
int TradePageCount(int totalCount, int rowsPerPage);
