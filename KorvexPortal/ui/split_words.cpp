// Splitting text into pieces.
#include "split_words.h"

namespace {

bool IsBlank(WCHAR ch)
{
  return ch == u' ' || ch == u'\t' || ch == u'\r' || ch == u'\n';
}

// The walk of both splits: endsPiece(i) is -1 when no piece ends at i, else the index where the
// next piece starts (after the separator, or after the whole run of blanks).
template <class EndsPiece>
std::vector<CStringW> Split(const CStringW& text, int maxCount, EndsPiece endsPiece)
{
  std::vector<CStringW> pieces;
  const int length = text.GetLength();
  if (maxCount == 1) {
    if (length > 0)
      pieces.push_back(text);
    return pieces;
  }
  int start = 0;
  for (int i = 0; i < length;) {
    int next = endsPiece(i);
    if (next < 0) {
      ++i;
      continue;
    }
    pieces.push_back(text.Mid(start, i - start));
    start = next;
    i = next;
    if (maxCount > 0 && static_cast<int>(pieces.size()) == maxCount - 1) {
      pieces.push_back(text.Mid(start));
      return pieces;
    }
  }
  if (start < length)
    pieces.push_back(text.Mid(start));
  return pieces;
}

}  // namespace

std::vector<CStringW> SplitOnChar(const CStringW& text, WCHAR separator, int maxCount)
{
  return Split(text, maxCount, [&](int i) { return text[i] == separator ? i + 1 : -1; });
}

std::vector<CStringW> SplitWords(const CStringW& text, int maxCount)
{
  const int length = text.GetLength();
  return Split(text, maxCount, [&](int i) {
    if (!IsBlank(text[i]))
      return -1;
    int end = i;
    while (end < length && IsBlank(text[end]))
      ++end;
    return end;
  });
}
