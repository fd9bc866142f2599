#include "text_codec.h"

#include <iconv.h>
#include <openssl/evp.h>

#include <cerrno>
#include <vector>

namespace testgateway::detail {
namespace {

std::optional<std::string> convert(const char* to, const char* from, std::string_view text) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out(text.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(text.data());
  std::size_t inLeft = text.size();
  std::size_t done = 0;
  bool ok = true;
  while (inLeft > 0) {
    char* outPtr = out.data() + done;
    std::size_t outLeft = out.size() - done;
    std::size_t result = ::iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    done = out.size() - outLeft;
    if (result != static_cast<std::size_t>(-1)) break;
    if (errno != E2BIG) {
      ok = false;
      break;
    }
    out.resize(out.size() * 2);
  }
  ::iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(done);
  return out;
}

}  // namespace

std::optional<std::string> utf8ToGbk(std::string_view utf8) { return convert("GBK", "UTF-8", utf8); }

std::optional<std::string> gbkToUtf8(std::string_view gbk) { return convert("UTF-8", "GBK", gbk); }

std::string base64Encode(std::string_view bytes) {
  std::string out(4 * ((bytes.size() + 2) / 3) + 1, '\0');
  int n = EVP_EncodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<int>(bytes.size()));
  out.resize(static_cast<std::size_t>(n));
  return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
  if (text.size() % 4 != 0) return std::nullopt;
  for (char c : text) {
    bool valid = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
                 c == '/' || c == '=';
    if (!valid) return std::nullopt;
  }
  std::string out(text.size() / 4 * 3 + 1, '\0');
  int n = EVP_DecodeBlock(reinterpret_cast<unsigned char*>(out.data()),
                          reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size()));
  if (n < 0) return std::nullopt;
  std::size_t padding = 0;  // EVP_DecodeBlock counts the padding as zero bytes
  if (!text.empty() && text.back() == '=') ++padding;
  if (text.size() > 1 && text[text.size() - 2] == '=') ++padding;
  out.resize(static_cast<std::size_t>(n) - padding);
  return out;
}

}  // namespace testgateway::detail
