#include "page_charset.h"

#include <cctype>

#include "html/page/utf8_text.h"
#include "text/codepage.h"

namespace kv::html {
namespace {

// "utf-8", "gbk", or empty for a name of neither.
std::string Known(std::string_view name)
{
  const std::string lower = LowerAscii(name);
  if (lower == "utf-8" || lower == "utf8")
    return "utf-8";
  if (lower == "gbk" || lower == "gb2312" || lower == "gb18030" || lower == "x-gbk" || lower == "cp936" ||
      lower == "windows-936" || lower == "euc-cn")
    return "gbk";
  return {};
}

// The charset a <meta> in the first 1024 bytes declares.
std::string MetaCharset(std::string_view bytes)
{
  const std::string head = LowerAscii(bytes.substr(0, 1024));
  for (size_t at = head.find("<meta"); at != std::string::npos; at = head.find("<meta", at + 5)) {
    const size_t end = head.find('>', at);
    const std::string tag = head.substr(at, end == std::string::npos ? std::string::npos : end - at);
    const std::string charset = CharsetParameter(tag);
    if (!charset.empty())
      return charset;
  }
  return {};
}

bool IsValidUtf8(std::string_view bytes)
{
  return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0) >
             0 ||
         bytes.empty();
}

}  // namespace

std::string CharsetParameter(std::string_view text)
{
  const std::string lower = LowerAscii(text);
  const size_t at = lower.find("charset");
  if (at == std::string::npos)
    return {};
  size_t i = at + 7;
  while (i < lower.size() && (lower[i] == ' ' || lower[i] == '\t'))
    ++i;
  if (i >= lower.size() || lower[i] != '=')
    return {};
  ++i;
  while (i < lower.size() && (lower[i] == ' ' || lower[i] == '"' || lower[i] == '\''))
    ++i;
  size_t end = i;
  while (end < lower.size() && (std::isalnum(static_cast<unsigned char>(lower[end])) || lower[end] == '-' || lower[end] == '_'))
    ++end;
  return lower.substr(i, end - i);
}

PageText DecodePage(std::string_view bytes, std::string_view contentType)
{
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF")
    return {std::string(bytes.substr(3)), "utf-8"};
  std::string charset = Known(CharsetParameter(contentType));
  if (charset.empty())
    charset = Known(MetaCharset(bytes));
  if (charset.empty())
    charset = IsValidUtf8(bytes) ? "utf-8" : "gbk";
  if (charset == "utf-8" || bytes.empty())
    return {std::string(bytes), charset};
  const int size = static_cast<int>(bytes.size());
  std::u16string wide(static_cast<size_t>(MultiByteToWideChar(936, 0, bytes.data(), size, nullptr, 0)), u'\0');
  MultiByteToWideChar(936, 0, bytes.data(), size, wide.data(), static_cast<int>(wide.size()));
  return {Narrow(wide), charset};
}

}  // namespace kv::html
