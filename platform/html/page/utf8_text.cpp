#include "utf8_text.h"

#include <climits>

#include "text/codepage.h"

namespace kv::html {

std::u16string Wide(std::string_view utf8)
{
  if (utf8.empty() || utf8.size() > INT_MAX)
    return {};
  const int length = static_cast<int>(utf8.size());
  std::u16string out(static_cast<size_t>(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0)), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, out.data(), static_cast<int>(out.size()));
  return out;
}

std::string Narrow(std::u16string_view text)
{
  if (text.empty() || text.size() > INT_MAX / 3)
    return {};
  const int length = static_cast<int>(text.size());
  std::string out(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
  return out;
}

}  // namespace kv::html
