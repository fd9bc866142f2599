// Reads and writes a gateway-like reply (20 trade records with Chinese text, about 6 KB) and a
// larger document, with our reader and compact writer over UTF-16 and, side by side,
// RapidJSON and nlohmann-json over the same document in UTF-8.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "json/json.h"
#include "text/codepage.h"

namespace {

std::string tradeRecord(int i)
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

std::string gatewayReply(int records)
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

std::u16string toUtf16(const std::string& utf8)
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

const Document& reply()
{
  static const Document document = [] {
    std::string text = gatewayReply(20);
    return Document{text, toUtf16(text)};
  }();
  return document;
}

const Document& large()
{
  static const Document document = [] {
    std::string text = gatewayReply(2000);
    return Document{text, toUtf16(text)};
  }();
  return document;
}

void parseOurs(benchmark::State& state, const Document& document)
{
  for (auto _ : state) {
    Json::Reader reader;
    Json::Value root;
    bool ok = reader.parse(document.utf16.data(), document.utf16.data() + document.utf16.size(), root, false);
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

void parseNlohmann(benchmark::State& state, const Document& document)
{
  for (auto _ : state) {
    nlohmann::json root = nlohmann::json::parse(document.utf8);
    benchmark::DoNotOptimize(root);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

void parseRapid(benchmark::State& state, const Document& document)
{
  for (auto _ : state) {
    rapidjson::Document root;
    root.Parse(document.utf8.c_str(), document.utf8.size());
    benchmark::DoNotOptimize(root.HasParseError());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

void writeOurs(benchmark::State& state, const Document& document)
{
  Json::Reader reader;
  Json::Value root;
  reader.parse(document.utf16, root, false);
  for (auto _ : state) {
    Json::FastWriter writer;
    std::u16string text = writer.write(root);
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

void writeNlohmann(benchmark::State& state, const Document& document)
{
  nlohmann::json root = nlohmann::json::parse(document.utf8);
  for (auto _ : state) {
    std::string text = root.dump();
    benchmark::DoNotOptimize(text.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

void writeRapid(benchmark::State& state, const Document& document)
{
  rapidjson::Document root;
  root.Parse(document.utf8.c_str(), document.utf8.size());
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    root.Accept(writer);
    benchmark::DoNotOptimize(buffer.GetString());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

BENCHMARK_CAPTURE(parseOurs, reply, reply());
BENCHMARK_CAPTURE(parseNlohmann, reply, reply());
BENCHMARK_CAPTURE(parseRapid, reply, reply());
BENCHMARK_CAPTURE(writeOurs, reply, reply());
BENCHMARK_CAPTURE(writeNlohmann, reply, reply());
BENCHMARK_CAPTURE(writeRapid, reply, reply());
BENCHMARK_CAPTURE(parseOurs, large, large());
BENCHMARK_CAPTURE(parseNlohmann, large, large());
BENCHMARK_CAPTURE(parseRapid, large, large());
BENCHMARK_CAPTURE(writeOurs, large, large());
BENCHMARK_CAPTURE(writeNlohmann, large, large());
BENCHMARK_CAPTURE(writeRapid, large, large());

}  // namespace
