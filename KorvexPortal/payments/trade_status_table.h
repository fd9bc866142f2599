// The texts shown for the trade-status codes the gateway sends with every trade.
#pragma once

#include <map>

#include "text/cstring.h"

class TradeStatusTable {
 public:
  // The table, made on first use and kept for the life of the process. Used from the
  // user-interface thread only.
  static TradeStatusTable& Instance();

  // The text of the code (compared exactly, case included); empty for a code not in the table.
  CStringW Lookup(const CStringW& code) const;

 private:
  TradeStatusTable();

  std::map<CStringW, CStringW> m_texts;
};
