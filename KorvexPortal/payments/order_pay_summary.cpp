#include "order_pay_summary.h"

#include "text_helpers.h"

namespace {

CStringW Line(const WCHAR* format, const CStringW& value)
{
  CStringW line;
  line.Format(format, value.GetString());
  return line;
}

CStringW Text(const std::u16string& text)
{
  return CStringW(text.c_str());
}

CStringW Counterparty(const OrderDetail& detail)
{
  CStringW name = Text(detail.sellerName);
  CStringW account = Text(detail.sellerAccount);
  CStringW counterparty = name;
  if (name.IsEmpty())
    counterparty = account;
  else if (!account.IsEmpty())
    counterparty.Format(u"%s(%s)", name.GetString(), account.GetString());
  EllipsizeString(counterparty, kCounterpartyMaxLength);
  return counterparty;
}

}  // namespace

OrderSummary FormatOrderSummary(const OrderDetail& detail)
{
  OrderSummary summary;
  summary.lines[0] = Line(u"商　　品：%s", Text(detail.goodTitle));
  summary.lines[1] = Line(u"来　　自：%s", Text(detail.partnerName));
  summary.lines[2] = Line(u"交易对方：%s", Counterparty(detail));
  summary.lines[3] = Line(u"用户名称：%s", Text(detail.userName));
  summary.lines[4] = Line(u"应付总价：%s", Text(detail.totalFee));
  summary.lines[5] = Line(u"可用余额：%s", Text(detail.availableBalance));
  return summary;
}
