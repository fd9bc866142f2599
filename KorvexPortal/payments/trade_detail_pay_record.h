// The trade pay record the trade query list fills from a trade's detail before it opens the
// trade pay dialog on a trade that waits for the user.
#pragma once

#include "list_results.h"
#include "trade_pay_params.h"

// Who pays, as the record shows it.
struct TradePayPayer {
  CStringW userName;
  CStringW greeting;
  CStringW memo;  // the memo of the list's last failed request, else empty
};

// Clears the record and fills it from the detail's paid or unpaid form. rowMode is the kind the
// row asked for (0 pay, 1 confirm receipt); a paid form's "tradeStatus" that waits for the buyer
// decides instead.
void FillTradePayFromDetail(const CTradeDetailResult& detail, int rowMode, const TradePayPayer& payer,
                            TradePayParams& params);
