#include "internal/gdi/line_breaks.h"

#include "utf16.h"

namespace kv::fonts {
namespace {

constexpr std::u16string_view kClosing =
    u"!%),.:;?]}\u00A2\u00B0\u00B7\u2019\u201D\u2026\u3001\u3002\u3009\u300B\u300D\u300F\u3011\u3015\u3017"
    u"\u301E\uFE30\uFE31\uFE50\uFE51\uFE52\uFE54\uFE55\uFE56\uFE57\uFE5A\uFE5C\uFE5E"
    u"\uFF01\uFF05\uFF09\uFF0C\uFF0E\uFF1A\uFF1B\uFF1F\uFF3D\uFF5D\uFF5E";
constexpr std::u16string_view kOpening =
    u"([{\u00A3\u00A5\u2018\u201C\u3008\u300A\u300C\u300E\u3010\u3014\u3016\u301D\uFE59\uFE5B\uFE5D"
    u"\uFF08\uFF3B\uFF5B\uFFE1\uFFE5";

bool IsIdeographic(char32_t c)
{
  return (c >= 0x1100 && c <= 0x11FF) || (c >= 0x2E80 && c <= 0xA4CF) || (c >= 0xAC00 && c <= 0xD7A3) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
         (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x20000 && c <= 0x3FFFF);
}

// The code point that ends just before unit i.
char32_t CodePointBefore(std::u16string_view text, size_t i)
{
  size_t units = 1;
  if (i >= 2 && IsLowSurrogate(text[i - 1]) && IsHighSurrogate(text[i - 2]))
    return CodePointAt(text, i - 2, units);
  return text[i - 1];
}

// Characters that stay on one line: a surrogate pair, closing punctuation with what precedes
// it, opening punctuation with what follows it.
bool KeepsTogether(char16_t previous, char16_t c)
{
  return (IsLowSurrogate(c) && IsHighSurrogate(previous)) || kClosing.find(c) != std::u16string_view::npos ||
         kOpening.find(previous) != std::u16string_view::npos;
}

}  // namespace

bool CanBreakBefore(std::u16string_view text, size_t i)
{
  if (i == 0 || i >= text.size())
    return false;
  const char16_t c = text[i], previous = text[i - 1];
  if (c == u' ')
    return false;
  if (previous == u' ')
    return true;
  if (KeepsTogether(previous, c))
    return false;
  size_t units = 1;
  return IsIdeographic(CodePointAt(text, i, units)) || IsIdeographic(CodePointBefore(text, i));
}

bool CanBreakInsideWord(std::u16string_view text, size_t i)
{
  return i > 0 && i < text.size() && !KeepsTogether(text[i - 1], text[i]);
}

std::vector<WrappedLine> WrapParagraph(std::u16string_view text, std::span<const int> advances, int width)
{
  std::vector<WrappedLine> lines;
  const size_t n = text.size();
  size_t start = 0;
  do {
    WrappedLine line{start, n, false};
    size_t lastBreak = start;
    int used = 0;
    for (size_t j = start; j < n; ++j) {
      if (j > start && CanBreakBefore(text, j))
        lastBreak = j;
      if (text[j] != u' ' && used + advances[j] > width && j > start) {
        if (lastBreak > start) {
          line.end = lastBreak;
        } else {
          size_t k = j + 1;
          while (k < n && !CanBreakBefore(text, k))
            ++k;
          line.end = k;
          line.overlong = true;
        }
        break;
      }
      used += advances[j];
    }
    start = line.end;
    while (line.end > line.start && text[line.end - 1] == u' ')
      --line.end;
    while (start < n && text[start] == u' ')
      ++start;
    lines.push_back(line);
  } while (start < n);
  return lines;
}

}  // namespace kv::fonts
