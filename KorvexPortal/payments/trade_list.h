// A trade list as the gateway sends it in a JSON text (the unpaid trades that ride with the
// login reply): its status, memo and trades.
#pragma once

#include <vector>

#include "list_results.h"
#include "text/cstring.h"

struct TradeListBlock {
  int resultStatus = 0;  // 100 when the list was read
  CStringW memo;
  std::vector<TradeRecord> records;
};

// Reads the JSON text of a trade list. Only a text that parses as an object with "resultStatus"
// 100 is read: then totalCount gets its "totalCount" (the trades on the server, which may be
// more than listed), and when "tradeTableList" is an array the block gets status 100 and one
// record per element. Anything else gives an empty block and totalCount 0.
TradeListBlock ParseUnpaidTradeList(const CStringW& text, int& totalCount);
