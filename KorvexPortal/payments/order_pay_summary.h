// The six summary lines of the order-pay screen, made from the verified order: goods, where the
// order comes from, the counterparty, the user, the total to pay and the available balance.
#pragma once

#include "list_results.h"
#include "text/cstring.h"

inline constexpr int kSummaryLines = 6;

// The labels that show the lines, in the lines' order.
inline constexpr int kSummaryLabelIds[kSummaryLines] = {1038, 1034, 1043, 1039, 1040, 1041};
// The line of the counterparty among them.
inline constexpr int kCounterpartyLine = 2;

// The longest counterparty shown; a longer one is shortened with "..".
inline constexpr int kCounterpartyMaxLength = 24;

struct OrderSummary {
  CStringW lines[kSummaryLines];
};

// "商　　品：" goods title, "来　　自：" the partner (the merchant's site), "交易对方：" the seller's
// name with its account in brackets (either alone when the other is missing), shortened to 24
// characters, "用户名称：" the user, "应付总价：" the total, "可用余额：" the balance.
OrderSummary FormatOrderSummary(const OrderDetail& detail);
