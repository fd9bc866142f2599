#include "gdi_container.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "gdi/gdi.h"
#include "internal/gdi/bitmap_pixels.h"
#include "placeholder_box.h"
#include "text_pieces.h"
#include "user/metrics.h"
#include "utf8_text.h"

namespace kv::html {
namespace {

COLORREF ColorOf(litehtml::web_color color)
{
  return RGB(color.red, color.green, color.blue);
}

RECT RectOf(const litehtml::position& pos)
{
  auto clamp = [](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, INT_MIN / 2, INT_MAX / 2)); };
  return RECT{clamp(pos.x), clamp(pos.y), clamp(int64_t{pos.x} + pos.width), clamp(int64_t{pos.y} + pos.height)};
}

// The colour moved towards black (factor < 1) or towards white (factor > 1), for the shaded
// border styles.
litehtml::web_color Shaded(litehtml::web_color color, double factor)
{
  auto channel = [factor](litehtml::byte c) {
    double v = factor <= 1 ? c * factor : c + (255 - c) * (factor - 1);
    return static_cast<litehtml::byte>(std::clamp(std::lround(v), 0L, 255L));
  };
  return litehtml::web_color(channel(color.red), channel(color.green), channel(color.blue), color.alpha);
}

int64_t FloorDiv(int64_t a, int64_t b)
{
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

std::u16string RomanNumeral(int n)
{
  static const std::pair<int, const char16_t*> kParts[] = {{1000, u"m"}, {900, u"cm"}, {500, u"d"}, {400, u"cd"},
                                                           {100, u"c"},  {90, u"xc"},  {50, u"l"},  {40, u"xl"},
                                                           {10, u"x"},   {9, u"ix"},   {5, u"v"},   {4, u"iv"},
                                                           {1, u"i"}};
  std::u16string out;
  for (const auto& [value, text] : kParts)
    while (n >= value) {
      out += text;
      n -= value;
    }
  return out;
}

// Letters counted like columns of a spreadsheet: a..z, aa, ab...
std::u16string Alphabetic(int n, std::u16string_view letters)
{
  std::u16string out;
  for (; n > 0; n = (n - 1) / static_cast<int>(letters.size()))
    out.insert(out.begin(), letters[static_cast<size_t>(n - 1) % letters.size()]);
  return out;
}

std::u16string ChineseNumber(int n)
{
  static constexpr std::u16string_view kDigits = u"〇一二三四五六七八九";
  std::u16string out;
  for (char c : std::to_string(n))
    out += kDigits[static_cast<size_t>(c - '0')];
  return out;
}

// The text of an ordered list's marker for item `index` (from 1).
std::u16string MarkerText(litehtml::list_style_type type, int index)
{
  std::u16string text;
  const int n = std::max(index, 1);
  switch (type) {
  case litehtml::list_style_type_decimal_leading_zero:
    text = (n < 10 ? u"0" : u"") + Wide(std::to_string(n));
    break;
  case litehtml::list_style_type_lower_alpha:
  case litehtml::list_style_type_lower_latin:
    text = Alphabetic(n, u"abcdefghijklmnopqrstuvwxyz");
    break;
  case litehtml::list_style_type_upper_alpha:
  case litehtml::list_style_type_upper_latin:
    text = Alphabetic(n, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ");
    break;
  case litehtml::list_style_type_lower_greek:
    text = Alphabetic(n, u"αβγδεζηθικλμνξοπρστυφχψω");
    break;
  case litehtml::list_style_type_lower_roman:
    text = n < 4000 ? RomanNumeral(n) : Wide(std::to_string(n));
    break;
  case litehtml::list_style_type_upper_roman:
    text = n < 4000 ? RomanNumeral(n) : Wide(std::to_string(n));
    for (char16_t& c : text)
      c = static_cast<char16_t>(c >= u'a' && c <= u'z' ? c - u'a' + u'A' : c);
    break;
  case litehtml::list_style_type_cjk_ideographic:
    return ChineseNumber(n) + u"、";
  default:
    text = Wide(std::to_string(n));
  }
  return text + u".";
}

}  // namespace

GdiContainer::GdiContainer(const PageSettings& settings)
    : dpi_(settings.dpi > 0 ? settings.dpi : 96),
      images_(settings.images),
      markAttribute_(settings.markAttribute),
      placeholder_(settings.placeholder),
      styleSheets_(settings.styleSheets)
{
  defaultFont_ = kv::fonts::Font::Get({-get_default_font_size(), FW_NORMAL, false, {}});
}

GdiContainer::~GdiContainer()
{
  for (const auto& entry : fonts_)
    DeleteObject(entry->handle);
}

void GdiContainer::SetView(int width, int height)
{
  viewWidth_ = width;
  viewHeight_ = height;
}

void GdiContainer::BeginPaint(HDC dc)
{
  dc_ = dc;
  paintFont_ = GetCurrentObject(dc, OBJ_FONT);
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP);
}

void GdiContainer::EndPaint()
{
  while (!clips_.empty())
    del_clip();
  if (dc_ && paintFont_)
    SelectObject(dc_, paintFont_);
  dc_ = nullptr;
  paintFont_ = nullptr;
}

litehtml::uint_ptr GdiContainer::create_font(const litehtml::tchar_t*, int size, int weight,
                                             litehtml::font_style italic, unsigned int decoration,
                                             litehtml::font_metrics* fm)
{
  size = std::clamp(size, 1, 1024);
  auto entry = std::make_unique<FontEntry>();
  const bool slanted = italic == litehtml::fontStyleItalic;
  entry->font = kv::fonts::Font::Get({-size, weight, slanted, {}});
  if (!entry->font)
    return 0;
  LOGFONTW record{};
  record.lfHeight = -size;
  record.lfWeight = weight;
  record.lfItalic = slanted ? 1 : 0;
  record.lfCharSet = GB2312_CHARSET;
  entry->handle = CreateFontIndirectW(&record);
  entry->decoration = decoration;
  entry->size = size;
  if (fm) {
    const kv::fonts::FontMetrics& m = entry->font->Metrics();
    fm->height = m.height;
    fm->ascent = m.ascent;
    fm->descent = m.descent;
    fm->x_height = std::max(1, size / 2);
    fm->draw_spaces = decoration != litehtml::font_decoration_none;
  }
  fonts_.push_back(std::move(entry));
  return reinterpret_cast<litehtml::uint_ptr>(fonts_.back().get());
}

void GdiContainer::delete_font(litehtml::uint_ptr font)
{
  auto found = std::find_if(fonts_.begin(), fonts_.end(),
                            [font](const auto& entry) { return reinterpret_cast<litehtml::uint_ptr>(entry.get()) == font; });
  if (found == fonts_.end())
    return;
  DeleteObject((*found)->handle);
  fonts_.erase(found);
}

int GdiContainer::text_width(const litehtml::tchar_t* text, litehtml::uint_ptr font)
{
  auto* entry = reinterpret_cast<FontEntry*>(font);
  return entry && text ? entry->font->Width(Wide(text)) : 0;
}

void GdiContainer::draw_text(litehtml::uint_ptr hdc, const litehtml::tchar_t* text, litehtml::uint_ptr font,
                             litehtml::web_color color, const litehtml::position& pos)
{
  auto* entry = reinterpret_cast<FontEntry*>(font);
  HDC dc = reinterpret_cast<HDC>(hdc);
  if (!entry || !text || color.alpha == 0)
    return;
  const std::u16string wide = Wide(text);
  SelectObject(dc, entry->handle);
  SetTextColor(dc, ColorOf(color));
  ExtTextOutW(dc, pos.x, pos.y, 0, nullptr, wide.c_str(), static_cast<UINT>(wide.size()), nullptr);
  if (entry->decoration == litehtml::font_decoration_none)
    return;
  const kv::fonts::FontMetrics& m = entry->font->Metrics();
  const int thickness = std::max(1, entry->size / 14);
  auto line = [&](int y) { FillBox(RECT{pos.x, y, pos.x + pos.width, y + thickness}, color); };
  if (entry->decoration & litehtml::font_decoration_underline)
    line(pos.y + m.ascent + std::max(1, m.descent / 3));
  if (entry->decoration & litehtml::font_decoration_linethrough)
    line(pos.y + m.ascent - entry->size * 3 / 10);
  if (entry->decoration & litehtml::font_decoration_overline)
    line(pos.y);
}

int GdiContainer::pt_to_px(int pt) const
{
  return static_cast<int>(int64_t{pt} * dpi_ / 72);
}

int GdiContainer::get_default_font_size() const
{
  return kv::fonts::kDefaultCharHeight * dpi_ / 96;
}

const litehtml::tchar_t* GdiContainer::get_default_font_name() const
{
  return "sans-serif";
}

void GdiContainer::draw_list_marker(litehtml::uint_ptr hdc, const litehtml::list_marker& marker)
{
  HDC dc = reinterpret_cast<HDC>(hdc);
  const RECT box = RectOf(marker.pos);
  if (!marker.image.empty()) {
    if (const PageImage* image = images_.Get(marker.image))
      DrawImage(dc, *image, box);
    return;
  }
  switch (marker.marker_type) {
  case litehtml::list_style_type_none:
    return;
  case litehtml::list_style_type_square:
    FillBox(box, marker.color);
    return;
  case litehtml::list_style_type_disc:
  case litehtml::list_style_type_circle: {
    // A dot or a ring, pixel by pixel: markers are a few pixels across.
    const double r = std::min(box.right - box.left, box.bottom - box.top) / 2.0;
    const double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
    const double inner = marker.marker_type == litehtml::list_style_type_circle ? r - std::max(1.0, r / 3) : -1;
    for (int y = box.top; y < box.bottom; ++y)
      for (int x = box.left; x < box.right; ++x) {
        const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        if (d <= r && d > inner)
          SetPixel(dc, x, y, ColorOf(marker.color));
      }
    return;
  }
  default: {
    auto* entry = reinterpret_cast<FontEntry*>(marker.font);
    if (!entry)
      return;
    const std::u16string text = MarkerText(marker.marker_type, marker.index);
    SelectObject(dc, entry->handle);
    SetTextColor(dc, ColorOf(marker.color));
    const int x = box.right - entry->font->Width(text);
    ExtTextOutW(dc, x, box.top, 0, nullptr, text.c_str(), static_cast<UINT>(text.size()), nullptr);
  }
  }
}

void GdiContainer::load_image(const litehtml::tchar_t* src, const litehtml::tchar_t*, bool)
{
  if (src)
    images_.Get(src);
}

void GdiContainer::get_image_size(const litehtml::tchar_t* src, const litehtml::tchar_t*, litehtml::size& sz)
{
  const PageImage* image = src ? images_.Get(src) : nullptr;
  sz.width = image ? image->width : 0;
  sz.height = image ? image->height : 0;
}

void GdiContainer::draw_background(litehtml::uint_ptr hdc, const litehtml::background_paint& bg)
{
  HDC dc = reinterpret_cast<HDC>(hdc);
  RECT area = RectOf(bg.clip_box);
  if (bg.is_root)
    GetClipBox(dc, &area);
  FillBox(area, bg.color);
  if (bg.image.empty())
    return;
  const PageImage* image = images_.Get(bg.image);
  const int w = bg.image_size.width, h = bg.image_size.height;
  if (!image || w <= 0 || h <= 0)
    return;
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
  RECT visible{};
  if (GetClipBox(dc, &visible) != NULLREGION) {
    // Only the tiles that meet the visible part are drawn, however large the box.
    const bool repeatX = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_x;
    const bool repeatY = bg.repeat == litehtml::background_repeat_repeat || bg.repeat == litehtml::background_repeat_repeat_y;
    int64_t x0 = bg.position_x, y0 = bg.position_y, x1 = x0 + w, y1 = y0 + h;
    if (repeatX) {
      x0 += FloorDiv(visible.left - x0, w) * w;
      x1 = visible.right;
    }
    if (repeatY) {
      y0 += FloorDiv(visible.top - y0, h) * h;
      y1 = visible.bottom;
    }
    for (int64_t y = y0; y < y1; y += h)
      for (int64_t x = x0; x < x1; x += w)
        DrawImage(dc, *image, RECT{static_cast<LONG>(x), static_cast<LONG>(y), static_cast<LONG>(x + w), static_cast<LONG>(y + h)});
  }
  RestoreDC(dc, saved);
}

void GdiContainer::draw_borders(litehtml::uint_ptr, const litehtml::borders& borders, const litehtml::position& draw_pos,
                                bool)
{
  const RECT box = RectOf(draw_pos);
  enum Side { top, bottom, left, right };
  auto draw = [&](Side side, const litehtml::border& border) {
    if (border.width <= 0 || border.style == litehtml::border_style_none || border.style == litehtml::border_style_hidden)
      return;
    const int w = border.width;
    RECT strip = box;
    switch (side) {
    case top: strip.bottom = std::min(box.bottom, box.top + w); break;
    case bottom: strip.top = std::max(box.top, box.bottom - w); break;
    case left: strip.right = std::min(box.right, box.left + w); break;
    case right: strip.left = std::max(box.left, box.right - w); break;
    }
    const bool lightSide = side == bottom || side == right;
    litehtml::web_color color = border.color;
    switch (border.style) {
    case litehtml::border_style_inset:
    case litehtml::border_style_groove:
      color = Shaded(color, lightSide ? 1.6 : 0.6);
      break;
    case litehtml::border_style_outset:
    case litehtml::border_style_ridge:
      color = Shaded(color, lightSide ? 0.6 : 1.6);
      break;
    default:
      break;
    }
    const bool horizontal = side == top || side == bottom;
    if (border.style == litehtml::border_style_dotted || border.style == litehtml::border_style_dashed) {
      const int dash = border.style == litehtml::border_style_dotted ? w : 3 * w;
      const LONG end = horizontal ? strip.right : strip.bottom;
      for (LONG at = horizontal ? strip.left : strip.top; at < end; at += 2 * dash) {
        RECT piece = strip;
        (horizontal ? piece.left : piece.top) = at;
        (horizontal ? piece.right : piece.bottom) = std::min<LONG>(end, at + dash);
        FillBox(piece, color);
      }
      return;
    }
    if (border.style == litehtml::border_style_double && w >= 3) {
      const int third = w / 3;
      RECT outer = strip, inner = strip;
      switch (side) {
      case top: outer.bottom = outer.top + third, inner.top = inner.bottom - third; break;
      case bottom: outer.top = outer.bottom - third, inner.bottom = inner.top + third; break;
      case left: outer.right = outer.left + third, inner.left = inner.right - third; break;
      case right: outer.left = outer.right - third, inner.right = inner.left + third; break;
      }
      FillBox(outer, color);
      FillBox(inner, color);
      return;
    }
    FillBox(strip, color);
  };
  draw(top, borders.top);
  draw(bottom, borders.bottom);
  draw(left, borders.left);
  draw(right, borders.right);
}

void GdiContainer::set_caption(const litehtml::tchar_t* caption)
{
  title_ = caption ? Wide(caption) : std::u16string();
}

void GdiContainer::set_base_url(const litehtml::tchar_t*) {}

void GdiContainer::link(const std::shared_ptr<litehtml::document>&, const litehtml::element::ptr&) {}

void GdiContainer::on_anchor_click(const litehtml::tchar_t*, const litehtml::element::ptr&) {}

void GdiContainer::set_cursor(const litehtml::tchar_t*) {}

void GdiContainer::transform_text(litehtml::tstring& text, litehtml::text_transform tt)
{
  // Only Latin letters have cases in the pages this device shows.
  bool wordStart = true;
  for (char& c : text) {
    const bool letter = std::isalpha(static_cast<unsigned char>(c)) != 0;
    if (tt == litehtml::text_transform_uppercase || (tt == litehtml::text_transform_capitalize && wordStart))
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    else if (tt == litehtml::text_transform_lowercase)
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    wordStart = !letter && (c == ' ' || c == '\t' || c == '\n');
  }
}

void GdiContainer::import_css(litehtml::tstring& text, const litehtml::tstring& url, litehtml::tstring& baseurl)
{
  text.clear();
  // The layout hands an @import of a string over with its quotes.
  std::string_view href = url;
  if (href.size() >= 2 && (href.front() == '"' || href.front() == '\'') && href.back() == href.front())
    href = href.substr(1, href.size() - 2);
  std::optional<StyleSheet> sheet = styleSheets_ ? styleSheets_(href, baseurl) : std::nullopt;
  if (!sheet || !sheetsTaken_.insert(sheet->url).second)
    return;  // none, or one this document has taken already (a cycle of @imports)
  text = std::move(sheet->text);
  baseurl = std::move(sheet->url);
}

void GdiContainer::set_clip(const litehtml::position& pos, const litehtml::border_radiuses&, bool valid_x, bool valid_y)
{
  if (!dc_)
    return;
  clips_.push_back(SaveDC(dc_));
  RECT clip = RectOf(pos);
  if (!valid_x)
    clip.left = INT_MIN / 2, clip.right = INT_MAX / 2;
  if (!valid_y)
    clip.top = INT_MIN / 2, clip.bottom = INT_MAX / 2;
  IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
}

void GdiContainer::del_clip()
{
  if (!dc_ || clips_.empty())
    return;
  RestoreDC(dc_, clips_.back());
  clips_.pop_back();
}

void GdiContainer::get_client_rect(litehtml::position& client) const
{
  client = litehtml::position(0, 0, viewWidth_, viewHeight_);
}

std::shared_ptr<litehtml::element> GdiContainer::create_element(const litehtml::tchar_t*,
                                                                const litehtml::string_map& attributes,
                                                                const std::shared_ptr<litehtml::document>& doc)
{
  if (markAttribute_.empty() || !placeholder_)
    return nullptr;
  const auto mark = attributes.find(markAttribute_);
  if (mark == attributes.end())
    return nullptr;
  const std::optional<SIZE> size = placeholder_(mark->second);
  return size ? std::make_shared<PlaceholderBox>(doc, *size) : nullptr;
}

void GdiContainer::get_media_features(litehtml::media_features& media) const
{
  media.type = litehtml::media_type_screen;
  media.width = viewWidth_;
  media.height = viewHeight_;
  media.device_width = GetSystemMetrics(SM_CXSCREEN);
  media.device_height = GetSystemMetrics(SM_CYSCREEN);
  media.color = 8;
  media.monochrome = 0;
  media.color_index = 256;
  media.resolution = dpi_;
}

void GdiContainer::get_language(litehtml::tstring& language, litehtml::tstring& culture) const
{
  language = "zh";
  culture = "zh-CN";
}

void GdiContainer::split_text(const char* text, const std::function<void(const litehtml::tchar_t*)>& on_word,
                              const std::function<void(const litehtml::tchar_t*)>& on_space)
{
  if (!text)
    return;
  for (const TextPiece& piece : SplitIntoPieces(Wide(text), [this](std::u16string_view word) { return TooWideForLine(word); }))
    (piece.space ? on_space : on_word)(Narrow(piece.text).c_str());
}

bool GdiContainer::TooWideForLine(std::u16string_view word) const
{
  if (!defaultFont_ || viewWidth_ <= 0)
    return false;
  // The body's margins take a little of the view.
  const int line = std::max(1, viewWidth_ - 2 * get_default_font_size());
  if (static_cast<int64_t>(word.size()) * defaultFont_->Metrics().maxCharWidth <= line)
    return false;
  return defaultFont_->Width(word) > line;
}

void GdiContainer::FillBox(const RECT& rect, litehtml::web_color color)
{
  if (color.alpha == 0 || !dc_ || rect.right <= rect.left || rect.bottom <= rect.top)
    return;
  if (color.alpha == 255) {
    HBRUSH brush = CreateSolidBrush(ColorOf(color));
    FillRect(dc_, &rect, brush);
    DeleteObject(brush);
    return;
  }
  // A translucent colour: one premultiplied pixel stretched over the box and blended.
  auto scale = [&](litehtml::byte c) { return static_cast<uint8_t>((c * color.alpha + 127) / 255); };
  const uint8_t pixel[4] = {scale(color.blue), scale(color.green), scale(color.red), color.alpha};
  HBITMAP bitmap = gdi_bitmap::CreateFromBgra(1, 1, pixel, 4);
  HDC source = CreateCompatibleDC(dc_);
  HGDIOBJ old = SelectObject(source, bitmap);
  AlphaBlend(dc_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, 1, 1,
             BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  SelectObject(source, old);
  DeleteDC(source);
  DeleteObject(bitmap);
}

}  // namespace kv::html
