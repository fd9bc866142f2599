// Scripts for the test gateway kept in a JSON file:
//
//   {
//     "operations": {
//       "queryBalance": {"body": {"resultStatus": 100, "currentBalance": "8.00"}},
//       "login": [{"action": "close"}, {"body": {"resultStatus": 200, "memo": "..."}}]
//     },
//     "pages": {"/puc/webMC.htm": {"file": "webmc.html", "contentType": "text/html;charset=UTF-8"}}
//   }
//
// An object is a standing reply, an array a sequence. Reply members, all optional:
// "status" (HTTP, 200), "body" (object: its JSON text; string: the text), "file" (body read
// from a file beside the script), "contentType", "encoding" ("utf-8" or "gbk"), "setCookie"
// (array), "headers" (object), "delayMs", "action" ("answer", "stall" or "close").
#pragma once

#include <filesystem>

#include <nlohmann/json.hpp>

#include "testgateway/reply.h"
#include "testgateway/test_gateway.h"

namespace testgateway {

// One reply from its JSON form; files are looked up under baseDir. Throws std::runtime_error.
Reply replyFromJson(const nlohmann::ordered_json& spec, const std::filesystem::path& baseDir);

// Applies a script (the form above) to the gateway. Throws std::runtime_error.
void applyScript(TestGateway& gateway, const nlohmann::ordered_json& script,
                 const std::filesystem::path& baseDir);
void loadScriptFile(TestGateway& gateway, const std::filesystem::path& file);

// A JSON file read and parsed, member order kept. Throws std::runtime_error.
nlohmann::ordered_json readJsonFile(const std::filesystem::path& file);

}  // namespace testgateway
