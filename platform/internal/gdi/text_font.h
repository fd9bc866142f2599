// The text engine: fonts rendered by FreeType from the device's CJK font. Every face name the
// system asks for maps to that font; height, weight and italics make each font distinct.
// Fonts are cached and shared; their calls are safe from any thread.
#pragma once

#include "internal/gdi/coverage_blend.h"
#include "internal/gdi/text_measure.h"

#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace kv::fonts {

// What a caller asks for, in the device's terms.
struct FontSpec {
  // Pixels. Negative: the character height (the em size). Positive: the cell height (ascent plus
  // descent). Zero: the default size.
  int height = 0;
  int weight = 400;  // 700 and above render bold
  bool italic = false;
  std::u16string face;  // recorded only: every face is the device's CJK font
};

// The character height used for a height of 0.
inline constexpr int kDefaultCharHeight = 12;

// The fields of the platform's text metrics, in pixels.
struct FontMetrics {
  int height = 0;  // ascent + descent: one line
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;  // height less the em size
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int weight = 400;
  int overhang = 0;
  bool italic = false;
};

class Font : public TextMeasure {
 public:
  // The cached font for `spec`; null when the device's font file cannot be found or read.
  static std::shared_ptr<const Font> Get(const FontSpec& spec);

  // The path of the font file in use, empty when none was found.
  static std::string FontFilePath();

  virtual const FontMetrics& Metrics() const = 0;

  // Sum of the advances of `text`.
  virtual int Width(std::u16string_view text) const = 0;

  // Renders `text` with the pen starting at x 0 on the top of the cell (the baseline at the
  // ascent). `advances`, when given (one per unit), replace the font's own. Glyphs meet by taking
  // the greater coverage, never by adding, so the result is the same however often it is made.
  // An empty or blank text gives an empty mask.
  virtual CoverageMask Render(std::u16string_view text, std::span<const int> advances = {}) const = 0;
};

}  // namespace kv::fonts
