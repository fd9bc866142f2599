// The response map's parse of the gateway-like reply (UTF-16 in, flattened table out) beside
// nlohmann-json over the same reply in UTF-8: its parse into a document, and its parse followed
// by the same flattening into a table of the last value of each name. Goal: the response map at
// or below nlohmann's parse.
#include <benchmark/benchmark.h>

#include <string>
#include <unordered_map>

#include <nlohmann/json.hpp>

#include "JSonHelper.h"
#include "goal_report.h"
#include "json_documents.h"

namespace {

using json_bench::Document;

const Document& reply()
{
  static const Document document = json_bench::makeDocument(20);
  return document;
}

void parseResponseMap(benchmark::State& state)
{
  const Document& document = reply();
  for (auto _ : state) {
    CResponseMap map;
    int ok = map.Parse(reinterpret_cast<const WCHAR*>(document.utf16.c_str()));
    benchmark::DoNotOptimize(ok);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

void parseNlohmann(benchmark::State& state)
{
  const Document& document = reply();
  for (auto _ : state) {
    nlohmann::json root = nlohmann::json::parse(document.utf8);
    benchmark::DoNotOptimize(root);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

void flatten(const nlohmann::json& node, const std::string& key, std::unordered_map<std::string, nlohmann::json>& table)
{
  if (node.is_object()) {
    for (auto member = node.begin(); member != node.end(); ++member) {
      flatten(member.value(), member.key(), table);
    }
  } else if (node.is_array()) {
    for (const nlohmann::json& element : node) {
      flatten(element, key, table);
    }
  } else {
    table[key] = node;
  }
}

void parseNlohmannFlattened(benchmark::State& state)
{
  const Document& document = reply();
  for (auto _ : state) {
    std::unordered_map<std::string, nlohmann::json> table;
    flatten(nlohmann::json::parse(document.utf8), {}, table);
    benchmark::DoNotOptimize(table);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(document.utf8.size()));
}

BENCHMARK(parseResponseMap)->Unit(benchmark::kMicrosecond);
BENCHMARK(parseNlohmann)->Unit(benchmark::kMicrosecond);
BENCHMARK(parseNlohmannFlattened)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv)
{
  return goal_report::Run(argc, argv,
                          {{"response map vs nlohmann parse, reply", "parseResponseMap", "parseNlohmann", 1},
                           {"response map vs nlohmann parse+flatten", "parseResponseMap", "parseNlohmannFlattened"}});
}
