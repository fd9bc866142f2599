#include "trade_detail_rows.h"

namespace {

void AddLabelRow(CListRows& rows, const char16_t* label, const std::u16string& value)
{
  auto* row = new CListRow;
  for (const char16_t* text : {u"", label, u"：", value.c_str()}) {
    auto* cell = new CListCell;
    cell->m_strText = text;
    row->AddCell(cell);
  }
  rows.AddRow(row);
}

}  // namespace

void AddTradeDetailRows(const CTradeDetailResult& detail, CListRows& rows)
{
  const TradeDetail* paid = detail.detail.get();
  const TradePayInfo* unpaid = detail.payInfo.get();
  if (!paid && !unpaid)
    return;
  static const std::u16string kNone;
  AddLabelRow(rows, u"商品名称", paid ? paid->goodsName : unpaid->goodsName);
  AddLabelRow(rows, u"金    额", paid ? paid->tradeMoney : unpaid->payMoney);
  AddLabelRow(rows, u"交易行为", detail.act);
  if (paid) {
    AddLabelRow(rows, u"交易对方", paid->sellerName);
    AddLabelRow(rows, u"交易类型", paid->tradeType);
  }
  AddLabelRow(rows, u"交 易 号", paid ? paid->tradeNO : unpaid->tradeNO);
  AddLabelRow(rows, u"成交时间", paid ? paid->tradeTime : kNone);
}

bool AddLogisticsRows(const CTradeDetailResult& detail, CListRows& rows)
{
  const TradeDetail* paid = detail.detail.get();
  if (!paid || paid->logisticsid != 1)
    return false;
  AddLabelRow(rows, u"收货地址", paid->buyerAddress);
  AddLabelRow(rows, u"运送方式", paid->logisticsType);
  AddLabelRow(rows, u"物流公司", paid->logisticsName);
  AddLabelRow(rows, u"运    费", paid->logisticsFee);
  AddLabelRow(rows, u"联系电话", paid->logisticsPhone);
  AddLabelRow(rows, u"附加信息", paid->logisticsMemo);
  return true;
}

std::vector<int> TradeDetailColumnWidths(int scale, int clientWidth, bool rowsExceedPage, int scrollBarWidth)
{
  int value = clientWidth - 60 * scale - (rowsExceedPage ? scrollBarWidth : 0);
  return {0, 50 * scale, 10 * scale, value < 0 ? 0 : value};
}
