#include "trade_query_rows.h"

#include "resource_values.h"
#include "tradequery_ids.h"

namespace {

CListCell* TextCell(const CStringW& text, int kind = CListCell::kText)
{
  auto* cell = new CListCell;
  cell->m_strText = text;
  cell->m_nKind = kind;
  return cell;
}

CStringW Text(const std::u16string& text)
{
  return CStringW(text.c_str());
}

}  // namespace

bool TradeWaitsForBuyer(const CStringW& status, int buyer)
{
  return buyer == 0 && (status == u"WAIT_BUYER_PAY" || status == u"WAIT_BUYER_CONFIRM_GOODS");
}

CListRow* MakeTradeRow(const TradeRecord& trade)
{
  auto* row = new CListRow;
  row->AddCell(TextCell(Text(trade.tradeNO)));
  row->AddCell(TextCell(Text(trade.tradeTime)));
  row->AddCell(TextCell(Text(trade.act)));
  row->AddCell(TextCell(Text(trade.goodsName)));
  row->AddCell(TextCell(Text(trade.tradeMoney)));
  CListCell* status = TextCell(Text(trade.tradeStatusMemo), CListCell::kImage);
  if (trade.buyer == 0 && trade.tradeStatus == u"WAIT_BUYER_PAY")
    status->m_hImage = LoadResourceBitmap(IDB_TRADEQUERY_WAIT_PAY);
  else if (trade.buyer == 0 && trade.tradeStatus == u"WAIT_BUYER_CONFIRM_GOODS")
    status->m_hImage = LoadResourceBitmap(IDB_TRADEQUERY_WAIT_CONFIRM);
  row->AddCell(status);
  row->m_strKey = Text(trade.tradeStatus);
  row->m_nFlag = trade.buyer;
  return row;
}

CListRow* MakeEmptyResultRow()
{
  auto* row = new CListRow;
  row->AddCell(TextCell(CStringW()));
  CListCell* icon = TextCell(u"Pic", CListCell::kImage);
  icon->m_hImage = LoadResourceBitmap(IDB_TRADEQUERY_EMPTY);
  row->AddCell(icon);
  row->AddCell(TextCell(u"您选择的交易类型无数据。"));
  return row;
}

std::vector<int> TradeListColumnWidths(int width)
{
  int time = width * 32 / 100;
  int act = width * 8 / 100;
  int goods = width * 25 / 100;
  int amount = width * 25 / 100;
  return {0, time, act, goods, amount, width - time - act - goods - amount};
}

std::vector<int> EmptyResultColumnWidths(int scale, int width)
{
  return {0, 20 * scale, width - 20 * scale};
}
