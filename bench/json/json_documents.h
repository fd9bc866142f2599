// The documents that the JSON benchmarks read, in UTF-8 and UTF-16: a gateway-like reply (a trade
// list of the given number of records with Chinese text, about 370 bytes a record; 20 records
// make 7.6 KB) and a mixed document of about a given size.
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

inline std::string fromUtf16(const std::u16string& wide)
{
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data(), length, nullptr, nullptr);
  return utf8;
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

// A record of every kind of value: integers, reals, texts with escapes and Chinese, booleans,
// null, a nested object and short arrays; about 520 bytes.
inline std::string mixedRecord(int i)
{
  char record[1024];
  std::snprintf(record, sizeof record,
                "{\"id\":%d,\"tradeNo\":\"20100812%08d\",\"title\":\"中国移动50元充值卡 第%d号\",\"price\":%d.75,"
                "\"ratio\":-0.0625,\"count\":%d,\"flags\":[true,false,null],"
                "\"tags\":[\"a\\\"b\",\"c\\\\d\",\"\\u00e9t\\u00e9\"],"
                "\"scores\":[%d,-%d,%d,3.5,1e-3,12345678,4294967295],"
                "\"seller\":{\"name\":\"北京星河科技有限公司\",\"city\":\"北京\",\"level\":%d,\"verified\":%s},"
                "\"memo\":\"第一行\\n第二行\\t\\\"引号\\\"\"}",
                i, i, i, 10 + i % 90, i % 100, i, i, i * 7, i % 5, i % 2 ? "true" : "false");
  return record;
}

// About `bytes` of UTF-8: a list of mixed records and a long array of numbers beside it, both
// growing with the size.
inline Document makeMixedDocument(size_t bytes)
{
  std::string records, series;
  for (int i = 0; records.size() + series.size() + 64 < bytes; ++i) {
    records += (i == 0 ? "" : ",") + mixedRecord(i);
    for (int k = 0; k < 8; ++k) {
      series += (i == 0 && k == 0 ? "" : ",") + std::to_string((i * 8 + k) * 37 % 100003) + (k % 4 == 3 ? ".5" : "");
    }
  }
  std::string text = "{\"resultStatus\":100,\"memo\":\"查询成功\",\"records\":[" + records + "],\"series\":[" + series + "]}";
  return Document{text, toUtf16(text)};
}

}  // namespace json_bench
