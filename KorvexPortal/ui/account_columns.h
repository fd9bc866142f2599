// Column widths of the account screens' label and value lists (an empty column, the label, "：",
// the value), s being the screen's whole scale (width / 240).
#pragma once

#include <vector>

// The balance list: 0, 50s, 20s and the rest of the list's client width.
std::vector<int> BalanceColumnWidths(int scale, int listWidth);
// The transaction detail: 0, 40s, 20s and the rest of the list's client width, less the width of
// a vertical scroll bar when the rows do not all fit. The colon's column is as wide as the
// balance list's: a narrower one shows an ellipsis in place of the full-width colon.
std::vector<int> AccountDetailColumnWidths(int scale, int listWidth, bool rowsExceedList, int scrollBarWidth);
