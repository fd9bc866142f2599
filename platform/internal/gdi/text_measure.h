// What text layout needs to know about a font: the height of a line and the advance of each
// UTF-16 unit of a text. The text engine's fonts implement it; layout tests may use a fake.
#pragma once

#include <span>
#include <string_view>

namespace kv::fonts {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;

  // Height of one line of text (the font's cell height).
  virtual int LineHeight() const = 0;

  // Writes the advance of each unit of `text` into `advances` (same length). The second unit of a
  // surrogate pair advances 0; the pair's advance is on its first unit.
  virtual void Advances(std::u16string_view text, std::span<int> advances) const = 0;
};

}  // namespace kv::fonts
