#include "text_pieces.h"

#include "internal/gdi/line_breaks.h"

namespace kv::html {
namespace {

bool IsHtmlSpace(char16_t c)
{
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

// Where `canBreak` allows, cuts a word (no white space in it) into the words it gives.
std::vector<std::u16string_view> Cut(std::u16string_view word, bool (*canBreak)(std::u16string_view, size_t))
{
  std::vector<std::u16string_view> parts;
  size_t start = 0;
  for (size_t i = 1; i < word.size(); ++i)
    if (canBreak(word, i)) {
      parts.push_back(word.substr(start, i - start));
      start = i;
    }
  parts.push_back(word.substr(start));
  return parts;
}

}  // namespace

std::vector<TextPiece> SplitIntoPieces(std::u16string_view text,
                                       const std::function<bool(std::u16string_view)>& tooWide)
{
  std::vector<TextPiece> pieces;
  size_t i = 0;
  while (i < text.size()) {
    if (IsHtmlSpace(text[i])) {
      pieces.push_back({std::u16string(1, text[i]), true});
      ++i;
      continue;
    }
    size_t end = i;
    while (end < text.size() && !IsHtmlSpace(text[end]))
      ++end;
    for (std::u16string_view word : Cut(text.substr(i, end - i), kv::fonts::CanBreakBefore)) {
      if (!tooWide || !tooWide(word)) {
        pieces.push_back({std::u16string(word)});
        continue;
      }
      for (std::u16string_view part : Cut(word, kv::fonts::CanBreakInsideWord))
        pieces.push_back({std::u16string(part)});
    }
    i = end;
  }
  return pieces;
}

}  // namespace kv::html
