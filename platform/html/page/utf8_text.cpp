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

std::string LowerAscii(std::string_view text)
{
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string CollapseBlanks(std::string_view text)
{
  std::string out;
  bool blank = false;
  for (char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
      blank = !out.empty();
      continue;
    }
    if (blank)
      out += ' ';
    blank = false;
    out += c;
  }
  return out;
}

}  // namespace kv::html
