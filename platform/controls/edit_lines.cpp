#include "edit_lines.h"

#include <algorithm>

#include "internal/gdi/line_breaks.h"

namespace controls_detail {

void EditLines::Keep(std::u16string_view text)
{
  lines_.assign(1, Line{0, text.size(), false});
}

void EditLines::Break(std::u16string_view text, const Measure& measure, int width)
{
  lines_.clear();
  size_t start = 0;
  for (;;) {
    size_t lineBreak = text.find(u'\n', start);
    size_t end = lineBreak == std::u16string_view::npos ? text.size() : lineBreak;
    if (lineBreak != std::u16string_view::npos && end > start && text[end - 1] == u'\r')
      --end;
    std::u16string_view paragraph = text.substr(start, end - start);
    if (measure && !paragraph.empty()) {
      std::vector<int> advances(paragraph.size());
      measure(paragraph, advances);
      std::vector<kv::fonts::WrappedLine> wrapped = kv::fonts::WrapParagraph(paragraph, advances, width);
      for (size_t k = 0; k < wrapped.size(); ++k) {
        // Each line runs up to where the next starts: the spaces at the wrap stay on it.
        size_t next = k + 1 < wrapped.size() ? wrapped[k + 1].start : paragraph.size();
        lines_.push_back(Line{start + wrapped[k].start, next - wrapped[k].start, k + 1 < wrapped.size()});
      }
    } else {
      lines_.push_back(Line{start, paragraph.size(), false});
    }
    if (lineBreak == std::u16string_view::npos)
      return;
    start = lineBreak + 1;
  }
}

size_t EditLines::LineOf(size_t position) const
{
  auto after = std::upper_bound(lines_.begin(), lines_.end(), position,
                                [](size_t p, const Line& line) { return p < line.start; });
  return after == lines_.begin() ? 0 : static_cast<size_t>(after - lines_.begin()) - 1;
}

}  // namespace controls_detail
