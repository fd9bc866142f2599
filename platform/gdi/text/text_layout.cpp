#include "internal/gdi/text_layout.h"

#include "gdi/text.h"
#include "internal/gdi/line_breaks.h"
#include "utf16.h"

#include <algorithm>
#include <numeric>

namespace kv::fonts {
namespace {

constexpr std::u16string_view kEllipsis = u"...";

struct Paragraph {
  std::u16string text;
  int underline = -1;
};

// Removes '&' prefixes: "&x" marks x, "&&" is '&', a '&' at the end is dropped.
Paragraph StripPrefixes(std::u16string_view text)
{
  Paragraph p;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      p.text += text[i];
    } else if (i + 1 < text.size() && text[i + 1] == u'&') {
      p.text += u'&';
      ++i;
    } else if (i + 1 < text.size() && p.underline < 0) {
      p.underline = static_cast<int>(p.text.size());
    }
  }
  return p;
}

// The paragraphs between line ends (CR LF, LF or CR); a text ending in a line end has an empty
// last paragraph.
std::vector<std::u16string_view> SplitParagraphs(std::u16string_view text)
{
  std::vector<std::u16string_view> paragraphs;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n')
      continue;
    paragraphs.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
      ++i;
    start = i + 1;
  }
  paragraphs.push_back(text.substr(start));
  return paragraphs;
}

int Sum(const std::vector<int>& advances, size_t from, size_t to)
{
  return std::accumulate(advances.begin() + from, advances.begin() + to, 0);
}

// Shortens a line to fit `width` with "..." at its end, never splitting a surrogate pair.
void Ellipsize(LaidLine& line, const TextMeasure& measure, int width)
{
  std::vector<int> advances(line.text.size());
  measure.Advances(line.text, advances);
  std::vector<int> dots(kEllipsis.size());
  measure.Advances(kEllipsis, dots);
  const int room = width - Sum(dots, 0, dots.size());
  size_t keep = 0;
  int used = 0;
  while (keep < line.text.size()) {
    size_t units = 1;
    CodePointAt(line.text, keep, units);
    int advance = Sum(advances, keep, keep + units);
    if (used + advance > room)
      break;
    used += advance;
    keep += units;
  }
  line.text.resize(keep);
  line.text += kEllipsis;
  line.width = used + Sum(dots, 0, dots.size());
  if (line.underline >= static_cast<int>(keep))
    line.underline = -1;
}

}  // namespace

TextLayout LayOutText(std::u16string_view text, const RECT& rect, UINT format, const TextMeasure& measure)
{
  TextLayout layout;
  layout.rect = rect;
  const bool calc = format & DT_CALCRECT;
  const bool single = format & DT_SINGLELINE;
  const bool wrap = (format & DT_WORDBREAK) && !single;
  const bool ellipsis = !calc && (format & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS));
  const int lineHeight = measure.LineHeight();
  const int width = rect.right - rect.left;
  layout.clip = !calc && !(format & DT_NOCLIP);

  if (text.empty()) {
    if (calc) {
      layout.rect.right = rect.left;
      layout.rect.bottom = rect.top + (single ? lineHeight : 0);
    }
    return layout;
  }

  std::vector<std::u16string_view> paragraphs = single ? std::vector<std::u16string_view>{text} : SplitParagraphs(text);
  for (std::u16string_view source : paragraphs) {
    Paragraph p = (format & DT_NOPREFIX) ? Paragraph{std::u16string(source), -1} : StripPrefixes(source);
    std::vector<int> advances(p.text.size());
    measure.Advances(p.text, advances);
    std::vector<WrappedLine> segments =
        wrap ? WrapParagraph(p.text, advances, width) : std::vector<WrappedLine>{{0, p.text.size(), true}};
    for (const WrappedLine& s : segments) {
      LaidLine line;
      line.text = p.text.substr(s.start, s.end - s.start);
      line.width = Sum(advances, s.start, s.end);
      if (p.underline >= static_cast<int>(s.start) && p.underline < static_cast<int>(s.end))
        line.underline = p.underline - static_cast<int>(s.start);
      if (ellipsis && s.overlong && line.width > width)
        Ellipsize(line, measure, width);
      layout.lines.push_back(std::move(line));
    }
  }

  int top = rect.top;
  if (single && !calc) {
    if (format & DT_VCENTER)
      top = rect.top + (rect.bottom - rect.top - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      top = rect.bottom - lineHeight;
  }
  int widest = 0;
  for (size_t k = 0; k < layout.lines.size(); ++k) {
    LaidLine& line = layout.lines[k];
    line.y = top + static_cast<int>(k) * lineHeight;
    if (format & DT_CENTER)
      line.x = (rect.left + rect.right - line.width) / 2;
    else if (format & DT_RIGHT)
      line.x = rect.right - line.width;
    else
      line.x = rect.left;
    widest = std::max(widest, line.width);
  }
  const int linesHeight = static_cast<int>(layout.lines.size()) * lineHeight;
  layout.height = (single && !calc && (format & (DT_VCENTER | DT_BOTTOM))) ? top + lineHeight - rect.top : linesHeight;
  if (calc) {
    layout.rect.right = rect.left + widest;
    layout.rect.bottom = rect.top + linesHeight;
  }
  return layout;
}

}  // namespace kv::fonts
