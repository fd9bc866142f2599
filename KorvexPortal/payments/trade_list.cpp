#include "trade_list.h"

#include "json/reader.h"
#include "reply_fields.h"

namespace {

TradeRecord ReadTrade(const Json::Value& element)
{
  TradeRecord record;
  record.tradeNO = ReplyText(element, u"tradeNO");
  record.tradeStatus = ReplyText(element, u"tradeStatus");
  record.tradeTime = ReplyText(element, u"tradeTime");
  record.goodsName = ReplyText(element, u"goodsName");
  record.act = ReplyText(element, u"act");
  record.tradeMoney = ReplyText(element, u"tradeMoney");
  record.tradeStatusMemo = ReplyText(element, u"tradeStatusMemo");
  record.buyer = ReplyInt(element, u"buyer");
  return record;
}

}  // namespace

TradeListBlock ParseUnpaidTradeList(const CStringW& text, int& totalCount)
{
  TradeListBlock block;
  totalCount = 0;
  Json::Value root;
  Json::Reader reader;
  std::u16string document(text.GetString(), static_cast<size_t>(text.GetLength()));
  if (!reader.parse(document, root, false) || ReplyNumber(root, u"resultStatus") != 100)
    return block;
  totalCount = ReplyInt(root, u"totalCount");
  block.memo = ReplyText(root, u"memo").c_str();
  const Json::Value& list = root[u"tradeTableList"];
  if (list.type() != Json::arrayValue)
    return block;
  block.resultStatus = 100;
  block.records.reserve(list.size());
  for (Json::UInt i = 0; i < list.size(); ++i)
    block.records.push_back(ReadTrade(list[i]));
  return block;
}
