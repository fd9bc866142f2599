#include "trade_detail_rows.h"

#include <algorithm>

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

std::vector<int> TradeDetailColumnWidths(int scale, int clientWidth, bool rowsExceedPage, int scrollBarWidth,
                                         int labelTextWidth, int colonTextWidth)
{
  int label = std::max(50 * scale, labelTextWidth);
  int colon = std::max(10 * scale, colonTextWidth);
  int value = clientWidth - label - colon - (rowsExceedPage ? scrollBarWidth : 0);
  return {0, label, colon, value < 0 ? 0 : value};
}

void MeasureTradeDetailLabels(HWND list, int& labelTextWidth, int& colonTextWidth)
{
  labelTextWidth = colonTextWidth = 0;
  HDC dc = list ? ::GetDC(list) : nullptr;
  if (!dc)
    return;
  HGDIOBJ oldFont = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)));
  SIZE size{};
  // The widest label is four characters; the first column's text starts 2 pixels in.
  if (::GetTextExtentPoint32W(dc, u"商品名称", 4, &size))
    labelTextWidth = size.cx + 4;
  if (::GetTextExtentPoint32W(dc, u"：", 1, &size))
    colonTextWidth = size.cx;
  ::SelectObject(dc, oldFont);
  ::ReleaseDC(list, dc);
}
