#include "trade_status_table.h"

namespace {

struct StatusText {
  const WCHAR* code;
  const WCHAR* text;
};

// Texts as the gateway's users know them; some use full-width punctuation, some the ASCII comma.
constexpr StatusText kStatusTexts[] = {
    {u"WAIT_BUYER_PAY", u"等待买家付款"},
    {u"WAIT_SELLER_SEND_GOODS", u"Korvex收到买家付款，请卖家发货"},
    {u"WAIT_BUYER_CONFIRM_GOODS", u"卖家已发货，买家确认中"},
    {u"TRADE_FINISHED", u"交易成功结束"},
    {u"TRADE_CLOSED", u"交易中途关闭（未完成）"},
    {u"TRADE_CANCEL", u"即时到账交易取消"},
    {u"TRADE_PENDING", u"即时到账交易已付款，允许对方退款"},
    {u"TRADE_SUCCESS", u"即时到账成功,但允许退款"},
    {u"BUYER_PRE_AUTH", u"买家资金预授权"},
    {u"WAIT_SELLER_AGREE", u"退款协议等待卖家确认中"},
    {u"SELLER_REFUSE_BUYER", u"卖家不同意协议，等待买家修改"},
    {u"WAIT_BUYER_RETURN_GOODS", u"退款协议达成，等待买家退货"},
    {u"WAIT_SELLER_CONFIRM_GOODS", u"买家已退货，等待卖家确认收到货"},
    {u"REFUND_SUCCESS", u"退款成功"},
    {u"REFUND_CLOSED", u"退款关闭"},
    {u"TRADE_PROCESSING", u"交易进行中,中间状态,虚拟的"},
    {u"TRADE_OVER", u"交易结束，中间状态,虚拟的"},
    {u"REFUND_PROCESSING", u"退款进行中,中间状态,虚拟的"},
    {u"REFUND_OVER", u"退款结束,中间状态,虚拟的"},
    {u"PAY_SUCCESS", u"支付成功,中间状态,虚拟的"},
    {u"COD_WAIT_SELLER_SEND_GOODS", u"COD等待卖家发货"},
    {u"COD_WAIT_BUYER_PAY", u"COD等待买家付款"},
    {u"COD_WAIT_SYS_PAY_SELLER", u"COD等待系统打款给卖家"},
};

}  // namespace

TradeStatusTable& TradeStatusTable::Instance()
{
  static TradeStatusTable table;
  return table;
}

TradeStatusTable::TradeStatusTable()
{
  for (const StatusText& entry : kStatusTexts)
    m_texts.emplace(entry.code, entry.text);
}

CStringW TradeStatusTable::Lookup(const CStringW& code) const
{
  auto found = m_texts.find(code);
  return found == m_texts.end() ? CStringW() : found->second;
}
