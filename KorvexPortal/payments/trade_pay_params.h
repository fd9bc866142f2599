// What the trade pay dialog pays and how: filled by the dialog's opener, which keeps it alive
// while the dialog is open.
#pragma once

#include "text/cstring.h"

// The kinds of payment the dialog confirms.
enum TradePayKind {
  kTradePayTrade = 0,          // "tradePay"
  kTradePayConfirmGoods = 1,   // "confirmGoods"
  kTradePayMobileRecharge = 2, // "deposit4Mobile"
  kTradePayBill = 3,           // "pucPay"
};

struct TradePayParams {
  // Not read by the dialog; openers clear them (the unpaid-trade list sets the second to 1).
  int reserved0 = 0;
  int reserved1 = 0;
  // 1 for a trade of the type "即时到账交易": the no-refund question comes before paying it.
  int instantTransfer = 0;
  int kind = kTradePayTrade;
  CStringW reservedText0;
  CStringW reservedText1;
  CStringW tradeNo;           // the bill number for a bill payment
  CStringW counterparty;      // the recharge amount for a mobile recharge
  CStringW goodsName;
  CStringW from;              // the mobile number for a mobile recharge
  CStringW accountName;
  CStringW totalPayable;
  CStringW availableBalance;
  CStringW signature;
  CStringW extraText;         // the quote's memo for a mobile recharge
  CStringW couponAvailable;   // "true" when a red packet may be used
  CStringW couponAmount;      // the red packet in yuan
  int reserved2 = 0;
};

// Clears what one payment filled in before the next fill: the two leading ints and every text,
// the red packet's included (a fill that does not set them must not offer the last trade's).
// The kind, the instant-transfer flag and the last int are the next fill's to set.
void ClearTradePayParams(TradePayParams& params);
