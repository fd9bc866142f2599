// The gateway-like reply that the JSON benchmarks read: a trade list of the given number of
// records with Chinese text, about 300 bytes a record, in UTF-8 and UTF-16.
#pragma once

#include <cstdio>
#include <string>

#include "text/codepage.h"

namespace json_bench {

inline std::string tradeRecord(int i)
{
  char record[1024];
  std::snprintf(record, sizeof record,
                "{\"tradeNo\":\"20100812%08d\",\"outTradeNo\":\"KV-%06d\",\"goodsName\":\"中国移动50元充值卡 第%d号\","
                "\"sellerName\":\"北京星河科技有限公司\",\"buyerAccount\":\"user%d@example.com\",\"totalFee\":\"%d.50\","
                "\"amount\":%d.25,\"quantity\":%d,\"tradeStatus\":\"TRADE_FINISHED\",\"createTime\":\"2010-08-12 10:%02d:45\","
                "\"memo\":\"订单备注：请尽快发货，谢谢！\\n第二行\",\"isQuser\":%s}",
                i, i, i, i, 50 + i, 50 + i, 1 + i % 3, i % 60, i % 2 ? "true" : "false");
  return record;
}

inline std::string gatewayReply(int records)
{
  std::string text = "{\"resultStatus\":100,\"memo\":\"查询成功\",\"pageCount\":5,\"tradeTableList\":[";
  for (int i = 0; i < records; ++i) {
    if (i != 0) {
      text += ',';
    }
    text += tradeRecord(i);
  }
  return text + "]}";
}

inline std::u16string toUtf16(const std::string& utf8)
{
  int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::u16string wide(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

struct Document {
  std::string utf8;
  std::u16string utf16;
};

inline Document makeDocument(int records)
{
  std::string text = gatewayReply(records);
  return Document{text, toUtf16(text)};
}

}  // namespace json_bench
