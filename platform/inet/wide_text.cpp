#include "wide_text.h"

#include "text/codepage.h"

#include <climits>

namespace inet {

std::u16string WideFromUtf8(std::string_view utf8)
{
  if (utf8.empty() || utf8.size() > INT_MAX) {
    return {};
  }
  int length = static_cast<int>(utf8.size());
  int count = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, nullptr, 0);
  std::u16string wide(static_cast<size_t>(count), u'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, wide.data(), count);
  return wide;
}

}  // namespace inet
