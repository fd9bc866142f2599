// The label and value rows of the trade detail: the trade's own rows for either form of the
// detail, the logistics rows of a paid trade that has them, and the columns both lists share.
#pragma once

#include <vector>

#include "list_results.h"
#include "list_rows.h"

// Appends the trade's rows to the model (each: an empty cell, the label, "：", the value).
void AddTradeDetailRows(const CTradeDetailResult& detail, CListRows& rows);
// Appends the logistics rows when the detail is a paid trade with "logisticsid" 1; false (and no
// rows) otherwise.
bool AddLogisticsRows(const CTradeDetailResult& detail, CListRows& rows);
// The columns of a label and value list at scale s (screen width / 240): 0, 50s, 10s and the
// rest of the client width, less the scroll bar's width when the rows do not fit. The label and
// "：" columns widen to the measured width of their texts where the font needs more, so that
// neither is cut.
std::vector<int> TradeDetailColumnWidths(int scale, int clientWidth, bool rowsExceedPage, int scrollBarWidth,
                                         int labelTextWidth = 0, int colonTextWidth = 0);
// The widths the label and "：" columns' texts take in the list's font (with the cell's inset).
void MeasureTradeDetailLabels(HWND list, int& labelTextWidth, int& colonTextWidth);
