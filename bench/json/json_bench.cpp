// Reads and writes a gateway-like reply (20 trade records with Chinese text, about 6 KB) and a
// larger document, with our reader and compact writer over UTF-16 and, side by side,
// RapidJSON and nlohmann-json over the same document in UTF-8.
#include <benchmark/benchmark.h>

#include <string>

#include <nlohmann/json.hpp>
#include <rapidjson/document.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "gateway_reply.h"
#include "json/json.h"

namespace {

using json_bench::Document;

const Document& reply()
{
  static const Document document = json_bench::makeDocument(20);
  return document;
}

const Document& large()
{
  static const Document document = json_bench::makeDocument(2000);
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
