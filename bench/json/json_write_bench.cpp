// The writers as a caller has them: a fresh writer for every text and the heap as the C library
// sets it up (no tuning). The compact writer beside RapidJSON's Writer on the gateway-like reply
// and on mixed documents of 1 MB and 10 MB; the two styled writers beside RapidJSON's
// PrettyWriter on the reply and 1 MB, the stream writer onto a wide string stream; the streaming
// request writer beside RapidJSON's Writer on a request of 24 members. Ours write UTF-16,
// RapidJSON UTF-8, as in json_bench. Goals: every one within 1.5x its peer.
#include <benchmark/benchmark.h>

#include <sstream>
#include <string>
#include <vector>

#include <rapidjson/document.h>
#include <rapidjson/prettywriter.h>
#include <rapidjson/stringbuffer.h>
#include <rapidjson/writer.h>

#include "goal_report.h"
#include "json/json.h"
#include "json/streaming_writer.h"
#include "json_documents.h"

namespace {

using json_bench::Document;

struct Tree {
  Json::Value ours;
  rapidjson::Document rapid;
  size_t bytes = 0;
};

const Tree& treeOf(const std::string& name)
{
  static std::vector<std::pair<std::string, std::unique_ptr<Tree>>> made;
  for (const auto& [madeName, tree] : made) {
    if (madeName == name) {
      return *tree;
    }
  }
  const Document document = name == "reply"  ? json_bench::makeDocument(20)
                            : name == "1MB"  ? json_bench::makeMixedDocument(1 << 20)
                                             : json_bench::makeMixedDocument(10 << 20);
  auto tree = std::make_unique<Tree>();
  Json::Reader().parse(document.utf16, tree->ours, false);
  tree->rapid.Parse(document.utf8.c_str(), document.utf8.size());
  tree->bytes = document.utf8.size();
  made.emplace_back(name, std::move(tree));
  return *made.back().second;
}

void processed(benchmark::State& state, const Tree& tree)
{
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(tree.bytes));
}

void compactOurs(benchmark::State& state, const Tree& tree)
{
  for (auto _ : state) {
    Json::FastWriter writer;
    std::u16string text = writer.write(tree.ours);
    benchmark::DoNotOptimize(text.data());
  }
  processed(state, tree);
}

void compactRapid(benchmark::State& state, const Tree& tree)
{
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    tree.rapid.Accept(writer);
    benchmark::DoNotOptimize(buffer.GetString());
  }
  processed(state, tree);
}

void styledOurs(benchmark::State& state, const Tree& tree)
{
  for (auto _ : state) {
    Json::StyledWriter writer;
    std::u16string text = writer.write(tree.ours);
    benchmark::DoNotOptimize(text.data());
  }
  processed(state, tree);
}

// The caller's stream is rewound for each text, so that its own growth stays out of the figure.
void styledStreamOurs(benchmark::State& state, const Tree& tree)
{
  std::basic_ostringstream<char16_t> out;
  for (auto _ : state) {
    out.seekp(0);
    Json::StyledStreamWriter writer(u"   ");
    writer.write(out, tree.ours);
    benchmark::DoNotOptimize(out.tellp());
  }
  processed(state, tree);
}

void prettyRapid(benchmark::State& state, const Tree& tree)
{
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::PrettyWriter<rapidjson::StringBuffer> writer(buffer);
    writer.SetIndent(' ', 3);
    tree.rapid.Accept(writer);
    benchmark::DoNotOptimize(buffer.GetString());
  }
  processed(state, tree);
}

// A request as a dialog builds it: the operation, then 23 members, most of them escaped.
struct RequestMember {
  const char16_t* key;
  const char16_t* value;
  bool escape;
};

const std::vector<RequestMember>& request()
{
  static const std::vector<RequestMember> members = [] {
    std::vector<RequestMember> list = {
        {u"clientID", u"KV-2010-0812-4471", true},
        {u"imei", u"356938035643809", true},
        {u"imsi", u"460001234567890", true},
        {u"model", u"HTC Touch Diamond2", true},
        {u"version", u"2.3.1", true},
        {u"loginName", u"user1024@example.com", true},
        {u"password", u"q8Hx0Jm3Kp9+TzL2wV5bN1cR7yU4eA6dS0fG3hJ8kL1mP2nQ5rT9vX==", false},
        {u"payPassword", u"Zx7Cv2Bn5Mq8Wr1Ty4Ui7Op0As3Df6Gh9Jk2Ll5Qw8Er1Ty==", false},
        {u"tradeNo", u"2010081200004471", true},
        {u"outTradeNo", u"KV-004471", true},
        {u"goodsName", u"中国移动50元充值卡 第4471号", true},
        {u"sellerName", u"北京星河科技有限公司", true},
        {u"totalFee", u"50.00", true},
        {u"quantity", u"1", true},
        {u"mobile", u"13800138000", true},
        {u"realName", u"张三", true},
        {u"idCard", u"110101199003077777", true},
        {u"bankCode", u"ICBC", true},
        {u"cardNo", u"6222020200112233445", true},
        {u"memo", u"请尽快发货，谢谢！\"加急\"", true},
        {u"returnUrl", u"http://pay.example.cn/return?id=4471&from=client", true},
        {u"checkCode", u"8x4q", true},
        {u"timestamp", u"2010-08-12 10:44:45", true},
    };
    return list;
  }();
  return members;
}

std::string utf8(const char16_t* text)
{
  return json_bench::fromUtf16(std::u16string(text));
}

void requestOurs(benchmark::State& state)
{
  const auto& members = request();
  for (auto _ : state) {
    CJsonWriter writer;
    writer.BeginObject(u"operationType", u"orderPay", false);
    for (const RequestMember& member : members) {
      writer.AddMember(member.key, member.value, member.escape);
    }
    writer.EndObject();
    benchmark::DoNotOptimize(writer.GetText().GetString());
  }
}

void requestRapid(benchmark::State& state)
{
  std::vector<std::pair<std::string, std::string>> members;
  for (const RequestMember& member : request()) {
    members.emplace_back(utf8(member.key), utf8(member.value));
  }
  for (auto _ : state) {
    rapidjson::StringBuffer buffer;
    rapidjson::Writer<rapidjson::StringBuffer> writer(buffer);
    writer.StartObject();
    writer.Key("operationType");
    writer.String("orderPay");
    for (const auto& [key, value] : members) {
      writer.Key(key.c_str(), static_cast<rapidjson::SizeType>(key.size()));
      writer.String(value.c_str(), static_cast<rapidjson::SizeType>(value.size()));
    }
    writer.EndObject();
    benchmark::DoNotOptimize(buffer.GetString());
  }
}

using Benchmark = void (*)(benchmark::State&, const Tree&);

void registerOn(const char* name, Benchmark benchmark, const std::string& documentName)
{
  auto* registered = benchmark::RegisterBenchmark((std::string(name) + "/" + documentName).c_str(),
                                                  [benchmark, documentName](benchmark::State& state) {
                                                    benchmark(state, treeOf(documentName));
                                                  });
  registered->Unit(benchmark::kMicrosecond);
  if (documentName != "reply") {
    registered->MinTime(documentName == "1MB" ? 1 : 3);  // timed over many iterations too
  }
}

void registerAll()
{
  for (const char* document : {"reply", "1MB", "10MB"}) {
    registerOn("compactOurs", compactOurs, document);
    registerOn("compactRapid", compactRapid, document);
  }
  for (const char* document : {"reply", "1MB"}) {
    registerOn("styledOurs", styledOurs, document);
    registerOn("styledStreamOurs", styledStreamOurs, document);
    registerOn("prettyRapid", prettyRapid, document);
  }
  benchmark::RegisterBenchmark("requestOurs", requestOurs);
  benchmark::RegisterBenchmark("requestRapid", requestRapid);
}

}  // namespace

int main(int argc, char** argv)
{
  registerAll();
  return goal_report::Run(
      argc, argv,
      {{"FastWriter vs Writer, reply", "compactOurs/reply", "compactRapid/reply", 1.5},
       {"FastWriter vs Writer, 1 MB", "compactOurs/1MB", "compactRapid/1MB", 1.5},
       {"FastWriter vs Writer, 10 MB", "compactOurs/10MB", "compactRapid/10MB", 1.5},
       {"StyledWriter vs PrettyWriter, reply", "styledOurs/reply", "prettyRapid/reply", 1.5},
       {"StyledWriter vs PrettyWriter, 1 MB", "styledOurs/1MB", "prettyRapid/1MB", 1.5},
       {"StyledStreamWriter vs PrettyWriter, reply", "styledStreamOurs/reply", "prettyRapid/reply", 1.5},
       {"StyledStreamWriter vs PrettyWriter, 1 MB", "styledStreamOurs/1MB", "prettyRapid/1MB", 1.5},
       {"CJsonWriter vs Writer, request", "requestOurs", "requestRapid", 1.5}});
}
