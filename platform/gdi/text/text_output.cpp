// Text on device contexts: ExtTextOut, DrawText, the extent calls and GetTextMetrics, in the
// DC's selected font and colours, drawn through the drawing core's text seam.
#include "gdi/device_context.h"
#include "gdi/text.h"
#include "internal/gdi/device_context.h"
#include "internal/gdi/text_font.h"
#include "internal/gdi/text_layout.h"
#include "utf16.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

namespace {

using kv::fonts::Font;
using kv::fonts::FontSpec;

struct DcText {
  gdi_dc::TextState state{};
  std::shared_ptr<const Font> font;
};

// The DC's text state and its font; false for a handle that names no DC.
bool Prepare(HDC dc, DcText& text)
{
  if (!gdi_dc::ReadTextState(dc, &text.state))
    return false;
  const LOGFONTW& lf = text.state.font;
  FontSpec spec{static_cast<int>(lf.lfHeight), static_cast<int>(lf.lfWeight), lf.lfItalic != 0, {}};
  for (size_t i = 0; i < LF_FACESIZE && lf.lfFaceName[i]; ++i)
    spec.face += lf.lfFaceName[i];
  text.font = Font::Get(spec);
  return text.font != nullptr;
}

// x moved by d, held to the range of int: text placed far off the surface stays off it.
int Moved(int x, int64_t d)
{
  return static_cast<int>(std::clamp<int64_t>(x + d, INT_MIN, INT_MAX));
}

// A run of text with its cell's top-left at (x, y), in the DC's colours and background mode.
// `advances` (optional, one per unit) replaces the font's own.
void DrawRun(HDC dc, const DcText& text, int x, int y, std::u16string_view run, std::span<const int> advances = {})
{
  if (text.state.backgroundMode == OPAQUE) {
    int64_t width = 0;
    if (advances.empty())
      width = text.font->Width(run);
    else
      for (int a : advances)
        width += a;
    gdi_dc::FillRectangle(dc, RECT{x, y, Moved(x, width), Moved(y, text.font->Metrics().height)},
                          text.state.backgroundColor);
  }
  auto blend = [&](int left, std::u16string_view part, std::span<const int> partAdvances) {
    kv::fonts::CoverageMask mask = text.font->Render(part, partAdvances);
    if (mask.width > 0)
      gdi_dc::BlendCoverage(dc, Moved(left, mask.left), Moved(y, mask.top), mask.pixels.data(), mask.width,
                            mask.height, mask.width, text.state.textColor);
  };
  if (advances.empty()) {
    blend(x, run, {});
    return;
  }
  // Given advances may spread the characters over any distance, so each is rendered on its own
  // (one mask over the whole spread could be of any size). The pixels are the same: coverage
  // meets by its greater value either way.
  int64_t pen = x;
  for (size_t i = 0; i < run.size();) {
    size_t units = 1;
    kv::fonts::CodePointAt(run, i, units);
    if (pen >= INT_MIN && pen <= INT_MAX)
      blend(static_cast<int>(pen), run.substr(i, units), advances.subspan(i, units));
    for (size_t k = 0; k < units; ++k)
      pen += advances[i + k];
    i += units;
  }
}

// The text's length: `count`, or up to its terminator when `count` is negative.
std::u16string_view TextOf(LPCWSTR text, int count)
{
  if (!text)
    return {};
  if (count >= 0)
    return std::u16string_view(text, static_cast<size_t>(count));
  return std::u16string_view(text);
}

}  // namespace

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count, const int* dx)
{
  DcText t;
  if (!Prepare(dc, t) || (count > 0 && !text))
    return FALSE;
  if ((options & ETO_OPAQUE) && rect)
    gdi_dc::FillRectangle(dc, *rect, t.state.backgroundColor);
  if (count == 0)
    return TRUE;
  const bool clipped = (options & ETO_CLIPPED) && rect;
  if (clipped)
    gdi_dc::PushClip(dc, *rect);
  std::u16string_view run(text, count);
  DrawRun(dc, t, x, y, run, dx ? std::span<const int>(dx, count) : std::span<const int>());
  if (clipped)
    gdi_dc::PopClip(dc);
  return TRUE;
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format)
{
  DcText t;
  if (!rect || !Prepare(dc, t))
    return 0;
  kv::fonts::TextLayout layout = kv::fonts::LayOutText(TextOf(text, count), *rect, format, *t.font);
  if (format & DT_CALCRECT) {
    *rect = layout.rect;
    return layout.height;
  }
  if (layout.clip)
    gdi_dc::PushClip(dc, *rect);
  const int ascent = t.font->Metrics().ascent;
  for (const kv::fonts::LaidLine& line : layout.lines) {
    DrawRun(dc, t, line.x, line.y, line.text);
    if (line.underline >= 0) {
      // The prefix mark: a one-pixel line under its character, just below the baseline.
      std::u16string_view before(line.text.data(), static_cast<size_t>(line.underline));
      const int left = line.x + t.font->Width(before);
      const int right = left + t.font->Width(std::u16string_view(line.text).substr(line.underline, 1));
      gdi_dc::FillRectangle(dc, RECT{left, line.y + ascent + 1, right, line.y + ascent + 2}, t.state.textColor);
    }
  }
  if (layout.clip)
    gdi_dc::PopClip(dc);
  return layout.height;
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit, LPINT dx, LPSIZE size)
{
  DcText t;
  if (count < 0 || (count > 0 && !text) || !Prepare(dc, t))
    return FALSE;
  std::u16string_view run(text ? text : u"", static_cast<size_t>(count));
  std::vector<int> advances(run.size());
  t.font->Advances(run, advances);
  int extent = 0, fitting = 0;
  for (size_t i = 0; i < advances.size(); ++i) {
    extent += advances[i];
    if (dx)
      dx[i] = extent;
    if (extent <= maxExtent)
      fitting = static_cast<int>(i) + 1;
  }
  if (fit)
    *fit = fitting;
  if (size)
    *size = SIZE{extent, t.font->Metrics().height};
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size)
{
  if (!size)
    return FALSE;
  return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics)
{
  DcText t;
  if (!metrics || !Prepare(dc, t))
    return FALSE;
  const kv::fonts::FontMetrics& m = t.font->Metrics();
  *metrics = TEXTMETRICW{};
  metrics->tmHeight = m.height;
  metrics->tmAscent = m.ascent;
  metrics->tmDescent = m.descent;
  metrics->tmInternalLeading = m.internalLeading;
  metrics->tmExternalLeading = m.externalLeading;
  metrics->tmAveCharWidth = m.aveCharWidth;
  metrics->tmMaxCharWidth = m.maxCharWidth;
  metrics->tmWeight = m.weight;
  metrics->tmOverhang = m.overhang;
  metrics->tmDigitizedAspectX = t.state.dpi;
  metrics->tmDigitizedAspectY = t.state.dpi;
  metrics->tmFirstChar = 0x20;
  metrics->tmLastChar = 0xFFFC;
  metrics->tmDefaultChar = 0x20;
  metrics->tmBreakChar = 0x20;
  metrics->tmItalic = m.italic ? 1 : 0;
  metrics->tmPitchAndFamily = 0x07;  // variable pitch, vector, TrueType
  metrics->tmCharSet = GB2312_CHARSET;
  return TRUE;
}
