// Helpers for the gateway's own tests: a scratch folder and requests encoded as the device
// client encodes them.
#pragma once

#include <httplib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

namespace testgateway::testing {

// A fresh folder, removed with everything in it at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "korvex-testgateway-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path_ = pattern;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

// "requestData=" and the UTF-8 JSON text with every byte outside A-Z a-z 0-9 ! ' ( ) * - . / : _ ~
// written as "%" and two lower-case hexadecimal digits.
inline std::string requestBody(std::string_view json) {
  static const std::string_view safe =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789!'()*-./:_~";
  std::string body = "requestData=";
  for (unsigned char c : json) {
    if (safe.find(static_cast<char>(c)) != std::string_view::npos) {
      body += static_cast<char>(c);
    } else {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02x", c);
      body += escaped;
    }
  }
  return body;
}

inline constexpr const char* kFormType = "application/x-www-form-urlencoded";

// Posts one operation to the gateway's request path as the device client does.
template <typename Client>
httplib::Result postOperation(Client& client, std::string_view json) {
  return client.Post("/home/mobile.htm", requestBody(json), kFormType);
}

}  // namespace testgateway::testing
