// One request as the test gateway received it, raw and decoded.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace testgateway {

struct RecordedRequest {
  std::uint64_t index = 0;       // order of arrival over the gateway's life, from 0
  std::uint64_t connection = 0;  // number of the TCP connection it came on, from 1
  bool tls = false;

  std::string method;
  std::string target;   // the request target as sent
  std::string path;     // the target before "?", still escaped
  std::string query;    // the target after "?", still escaped; empty without one
  std::string version;  // "HTTP/1.1"
  std::vector<std::pair<std::string, std::string>> headers;  // in the order sent
  std::map<std::string, std::string> cookies;                // from the Cookie headers
  std::string body;                                          // the bytes as received

  // The body's form fields, decoded ("+" is a space, %XX a byte), when it is a form.
  std::vector<std::pair<std::string, std::string>> form;
  // The query's fields, decoded the same way (a form sent with GET).
  std::vector<std::pair<std::string, std::string>> queryForm;
  // The decoded "requestData" field: the request's JSON text in UTF-8.
  std::optional<std::string> requestData;
  // That text parsed, members in the order sent, numbers kept apart from strings.
  std::optional<nlohmann::ordered_json> json;
  // The JSON's "operationType" when it is a string; empty otherwise.
  std::string operation;

  // The first value of a header, compared without regard to case; empty when absent.
  std::string header(std::string_view name) const;
  bool hasHeader(std::string_view name) const;
  // A string member of the request JSON; empty when absent or not a string.
  std::string field(std::string_view name) const;
};

}  // namespace testgateway
