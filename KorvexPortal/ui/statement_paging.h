// The paging rules of the account statement: the page kept when the rows per page change, the
// number of pages, and whether a next page exists.
#pragma once

// The page that shows the same place of the list once a page holds newRows rows instead of
// oldRows: (oldRows × page) / newRows, and 1 when that is below 2.
int RescaleStatementPage(int oldRows, int page, int newRows);
// ⌈total / rows⌉; 0 without rows per page.
int StatementPageCount(int total, int rows);
// Whether page + 1 may be asked for: it is within total / rows + 1 and the current page is not
// the last full one.
bool HasStatementPageAfter(int page, int total, int rows);
