// Fonts on FreeType: one face of the CJK font per cached font, glyph advances and coverage
// bitmaps cached per font. FreeType objects are not thread-safe, so one lock guards the engine.

#include "internal/gdi/text_font.h"

#include "font_file.h"
#include "utf16.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <tuple>
#include <unordered_map>
#include <vector>

namespace kv::fonts {
namespace {

constexpr double kMaxEmPixels = 1024;
constexpr FT_Int32 kLoadFlags = FT_LOAD_TARGET_LIGHT | FT_LOAD_NO_BITMAP;
// Slant of the italic style, 16.16 fixed point (about 12 degrees).
constexpr FT_Fixed kItalicShear = 0x3666;
// Fonts kept when nobody holds them any longer.
constexpr size_t kCacheLimit = 64;

std::mutex& EngineLock()
{
  static std::mutex lock;
  return lock;
}

// The FreeType library with the font file mapped; made on first use, kept for the process.
struct Engine {
  FT_Library library = nullptr;
  std::string path;
  std::span<const unsigned char> file;
  bool ready = false;
};

Engine& TheEngine()
{
  static Engine engine = [] {
    Engine e;
    e.path = FindCjkFontFile();
    if (e.path.empty()) {
      std::fprintf(stderr, "text: no CJK font installed (fonts-wqy-microhei or fonts-wqy-zenhei)\n");
      return e;
    }
    e.file = MapFontFile(e.path);
    e.ready = !e.file.empty() && FT_Init_FreeType(&e.library) == 0;
    if (!e.ready)
      std::fprintf(stderr, "text: cannot load font %s\n", e.path.c_str());
    return e;
  }();
  return engine;
}

struct Glyph {
  int advance = 0;
  bool loaded = false;    // the advance is known
  bool rendered = false;  // the bitmap is made (empty for blanks and failures)
  int left = 0;  // from the pen to the bitmap's left edge
  int top = 0;   // from the baseline up to the bitmap's top edge
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> bits;
};

bool IsControl(char32_t c) { return c < 0x20 || c == 0x7F; }

class FtFont final : public Font {
 public:
  FtFont(FT_Face face, const FontSpec& spec) : face_(face) { SetUp(spec); }
  ~FtFont() override
  {
    std::lock_guard guard(EngineLock());
    FT_Done_Face(face_);
  }

  const FontMetrics& Metrics() const override { return metrics_; }
  int LineHeight() const override { return metrics_.height; }

  void Advances(std::u16string_view text, std::span<int> advances) const override
  {
    std::lock_guard guard(EngineLock());
    for (size_t i = 0; i < text.size();) {
      size_t units = 1;
      char32_t c = CodePointAt(text, i, units);
      advances[i] = GlyphFor(c, false).advance;
      if (units == 2)
        advances[i + 1] = 0;
      i += units;
    }
  }

  int Width(std::u16string_view text) const override
  {
    std::vector<int> advances(text.size());
    Advances(text, advances);
    int width = 0;
    for (int a : advances)
      width += a;
    return width;
  }

  CoverageMask Render(std::u16string_view text, std::span<const int> advances) const override
  {
    std::lock_guard guard(EngineLock());
    struct Placed {
      const Glyph* glyph;
      int x;
    };
    std::vector<Placed> placed;
    int pen = 0;
    int left = 0, right = 0, top = 0, bottom = 0;
    bool any = false;
    for (size_t i = 0; i < text.size();) {
      size_t units = 1;
      char32_t c = CodePointAt(text, i, units);
      const Glyph& g = GlyphFor(c, true);
      int advance = g.advance;
      if (advances.size() == text.size())
        advance = advances[i] + (units == 2 ? advances[i + 1] : 0);
      i += units;
      if (g.width > 0 && g.rows > 0) {
        int x0 = pen + g.left, y0 = metrics_.ascent - g.top;
        if (!any) {
          left = x0, right = x0 + g.width, top = y0, bottom = y0 + g.rows;
          any = true;
        } else {
          left = std::min(left, x0), right = std::max(right, x0 + g.width);
          top = std::min(top, y0), bottom = std::max(bottom, y0 + g.rows);
        }
        placed.push_back({&g, pen});
      }
      pen += advance;
    }
    CoverageMask mask;
    if (!any)
      return mask;
    mask.left = left, mask.top = top, mask.width = right - left, mask.height = bottom - top;
    mask.pixels.assign(static_cast<size_t>(mask.width) * mask.height, 0);
    for (const Placed& p : placed) {
      const Glyph& g = *p.glyph;
      int x0 = p.x + g.left - left, y0 = metrics_.ascent - g.top - top;
      for (int y = 0; y < g.rows; ++y) {
        uint8_t* row = &mask.pixels[static_cast<size_t>(y0 + y) * mask.width + x0];
        const uint8_t* src = &g.bits[static_cast<size_t>(y) * g.width];
        for (int x = 0; x < g.width; ++x)
          row[x] = std::max(row[x], src[x]);
      }
    }
    return mask;
  }

 private:
  void SetUp(const FontSpec& spec)
  {
    const double upem = face_->units_per_EM;
    double ascender = face_->ascender, descender = -face_->descender;
    double average = upem / 2;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face_, FT_SFNT_OS2)); os2 && os2->version != 0xFFFF) {
      ascender = os2->usWinAscent;
      descender = os2->usWinDescent;
      average = os2->xAvgCharWidth;
    }
    double em = kDefaultCharHeight;
    if (spec.height < 0)
      em = -static_cast<double>(spec.height);
    else if (spec.height > 0)
      em = spec.height * upem / (ascender + descender);
    em = std::clamp(em, 1.0, kMaxEmPixels);
    FT_Set_Char_Size(face_, 0, static_cast<FT_F26Dot6>(std::lround(em * 64)), 72, 72);

    const bool bold = spec.weight >= 700;
    bold_ = bold ? std::max(1L, std::lround(em / 20)) : 0;
    italic_ = spec.italic;
    metrics_.ascent = static_cast<int>(std::lround(ascender * em / upem));
    if (spec.height > 0 && em > 1 && em < kMaxEmPixels)
      metrics_.descent = spec.height - metrics_.ascent;
    else
      metrics_.descent = static_cast<int>(std::lround(descender * em / upem));
    metrics_.height = metrics_.ascent + metrics_.descent;
    metrics_.internalLeading = std::max(0, metrics_.height - static_cast<int>(std::lround(em)));
    metrics_.aveCharWidth = static_cast<int>(std::lround(average * em / upem)) + bold_;
    metrics_.maxCharWidth = static_cast<int>(std::lround(face_->max_advance_width * em / upem)) + bold_;
    metrics_.weight = bold ? 700 : 400;
    metrics_.italic = spec.italic;
  }

  // The glyph of `c`, loaded on first use; `render` also makes its coverage bitmap. Called with
  // the engine lock held.
  const Glyph& GlyphFor(char32_t c, bool render) const
  {
    Glyph& g = glyphs_[c];
    if (g.rendered || (g.loaded && !render))
      return g;
    g.loaded = true;
    if (IsControl(c)) {
      g.rendered = true;
      return g;
    }
    FT_UInt index = FT_Get_Char_Index(face_, c);
    if (FT_Load_Glyph(face_, index, kLoadFlags) != 0) {
      g.rendered = true;
      return g;
    }
    FT_GlyphSlot slot = face_->glyph;
    g.advance = static_cast<int>((slot->advance.x + 32) >> 6) + bold_;
    if (!render)
      return g;
    g.rendered = true;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
      if (italic_) {
        FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
      }
      if (bold_ > 0)
        FT_Outline_EmboldenXY(&slot->outline, bold_ * 64, bold_ * 32);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
      return g;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.width == 0 || bitmap.rows == 0)
      return g;
    g.left = slot->bitmap_left;
    g.top = slot->bitmap_top;
    g.width = static_cast<int>(bitmap.width);
    g.rows = static_cast<int>(bitmap.rows);
    g.bits.resize(static_cast<size_t>(g.width) * g.rows);
    const int pitch = std::abs(bitmap.pitch);
    for (int y = 0; y < g.rows; ++y) {
      int srcRow = bitmap.pitch >= 0 ? y : g.rows - 1 - y;
      std::copy_n(bitmap.buffer + static_cast<size_t>(srcRow) * pitch, g.width, &g.bits[static_cast<size_t>(y) * g.width]);
    }
    return g;
  }

  FT_Face face_;
  FontMetrics metrics_;
  int bold_ = 0;
  bool italic_ = false;
  mutable std::unordered_map<char32_t, Glyph> glyphs_;
};

}  // namespace

std::shared_ptr<const Font> Font::Get(const FontSpec& spec)
{
  // Every face is the same font, so the face name takes no part in the key.
  const int height = spec.height == 0 ? -kDefaultCharHeight : spec.height;
  const auto key = std::make_tuple(height, spec.weight >= 700, spec.italic);
  static std::map<decltype(key), std::shared_ptr<FtFont>> cache;
  // Fonts dropped from the cache are freed after the lock is let go: their destructor takes it.
  std::vector<std::shared_ptr<FtFont>> dropped;
  std::lock_guard guard(EngineLock());
  if (auto it = cache.find(key); it != cache.end())
    return it->second;
  Engine& engine = TheEngine();
  FT_Face face = nullptr;
  if (!engine.ready || FT_New_Memory_Face(engine.library, engine.file.data(), static_cast<FT_Long>(engine.file.size()), 0, &face) != 0)
    return nullptr;
  if (cache.size() >= kCacheLimit) {
    for (auto it = cache.begin(); it != cache.end();) {
      if (it->second.use_count() == 1) {
        dropped.push_back(std::move(it->second));
        it = cache.erase(it);
      } else {
        ++it;
      }
    }
  }
  FontSpec normal = spec;
  normal.height = height;
  auto font = std::make_shared<FtFont>(face, normal);
  cache.emplace(key, font);
  return font;
}

std::string Font::FontFilePath()
{
  std::lock_guard guard(EngineLock());
  return TheEngine().path;
}

}  // namespace kv::fonts
