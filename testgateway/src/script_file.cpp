#include "testgateway/script_file.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace testgateway {
namespace {

namespace fs = std::filesystem;
using Json = nlohmann::ordered_json;

std::string readFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + file.string());
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

Action actionNamed(const std::string& name) {
  if (name == "answer") return Action::Answer;
  if (name == "stall") return Action::Stall;
  if (name == "close") return Action::Close;
  throw std::runtime_error("unknown action \"" + name + "\"");
}

BodyEncoding encodingNamed(const std::string& name) {
  if (name == "utf-8" || name == "UTF-8") return BodyEncoding::Utf8;
  if (name == "gbk" || name == "GBK") return BodyEncoding::Gbk;
  throw std::runtime_error("unknown encoding \"" + name + "\"");
}

const Json& objectMember(const Json& script, const char* name) {
  const Json& member = script[name];
  if (!member.is_object()) throw std::runtime_error(std::string("\"") + name + "\" must be an object");
  return member;
}

}  // namespace

Reply replyFromJson(const Json& spec, const fs::path& baseDir) {
  if (!spec.is_object()) throw std::runtime_error("a scripted reply must be an object");
  try {
    Reply reply;
    reply.httpStatus = spec.value("status", 200);
    if (spec.contains("body")) {
      const Json& body = spec["body"];
      reply.body = body.is_string() ? body.get<std::string>() : body.dump();
    }
    if (spec.contains("file")) reply.body = readFile(baseDir / spec["file"].get<std::string>());
    reply.contentType = spec.value("contentType", std::string(kJsonUtf8));
    reply.encoding = encodingNamed(spec.value("encoding", std::string("utf-8")));
    reply.action = actionNamed(spec.value("action", std::string("answer")));
    reply.delay = std::chrono::milliseconds(spec.value("delayMs", 0));
    const Json cookies = spec.value("setCookie", Json::array());
    for (const auto& cookie : cookies) reply.setCookies.push_back(cookie.get<std::string>());
    const Json headers = spec.value("headers", Json::object());
    for (const auto& [name, value] : headers.items()) reply.headers.emplace_back(name, value.get<std::string>());
    return reply;
  } catch (const nlohmann::json::exception& error) {
    throw std::runtime_error(std::string("bad scripted reply: ") + error.what());
  }
}

void applyScript(TestGateway& gateway, const Json& script, const fs::path& baseDir) {
  if (!script.is_object()) throw std::runtime_error("a script must be a JSON object");
  if (script.contains("operations")) {
    for (const auto& [operation, spec] : objectMember(script, "operations").items()) {
      if (spec.is_array()) {  // a sequence, consumed in order
        std::vector<Reply> replies;
        for (const auto& one : spec) replies.push_back(replyFromJson(one, baseDir));
        gateway.scriptSequence(operation, std::move(replies));
      } else {
        gateway.script(operation, replyFromJson(spec, baseDir));
      }
    }
  }
  if (script.contains("pages")) {
    for (const auto& [path, spec] : objectMember(script, "pages").items()) {
      gateway.servePage(path, replyFromJson(spec, baseDir));
    }
  }
}

void loadScriptFile(TestGateway& gateway, const fs::path& file) {
  applyScript(gateway, readJsonFile(file), file.parent_path());
}

Json readJsonFile(const fs::path& file) {
  Json parsed = Json::parse(readFile(file), nullptr, false);
  if (parsed.is_discarded()) throw std::runtime_error(file.string() + " is not valid JSON");
  return parsed;
}

}  // namespace testgateway
