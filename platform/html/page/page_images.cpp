#include "page_images.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <span>
#include <vector>

#include "crypt/base64.h"
#include "gdi/gdi.h"
#include "internal/gdi/bitmap_pixels.h"
#include "internal/gdi/image_decode.h"

namespace kv::html {
namespace {

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
  if (text.size() < prefix.size())
    return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i])
      return false;
  return true;
}

int HexValue(char c)
{
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

std::string PercentDecoded(std::string_view text)
{
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    int high = 0, low = 0;
    if (text[i] == '%' && i + 2 < text.size() && (high = HexValue(text[i + 1])) >= 0 &&
        (low = HexValue(text[i + 2])) >= 0) {
      out += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

// A bitmap of the decoded pixels with their colours multiplied by their alpha, as blending wants.
HBITMAP PremultipliedBitmap(const kv::images::Image& image)
{
  std::vector<uint32_t> pixels(image.pixels);
  for (uint32_t& p : pixels) {
    const uint32_t a = p >> 24;
    if (a == 255)
      continue;
    auto scale = [a](uint32_t c) { return (c * a + 127) / 255; };
    p = (a << 24) | (scale((p >> 16) & 0xFF) << 16) | (scale((p >> 8) & 0xFF) << 8) | scale(p & 0xFF);
  }
  return gdi_bitmap::CreateFromBgra(image.width, image.height, reinterpret_cast<const uint8_t*>(pixels.data()),
                                    image.width * 4);
}

}  // namespace

std::optional<std::string> DataUrlBytes(std::string_view url)
{
  if (!StartsWithNoCase(url, "data:"))
    return std::nullopt;
  const size_t comma = url.find(',');
  if (comma == std::string_view::npos)
    return std::string();
  std::string_view header = url.substr(5, comma - 5);
  std::string payload = PercentDecoded(url.substr(comma + 1));
  if (header.size() < 7 || !StartsWithNoCase(header.substr(header.size() - 7), ";base64"))
    return payload;
  if (payload.size() > INT_MAX)
    return std::string();
  int size = Base64DecodeGetRequiredLength(static_cast<int>(payload.size()));
  std::string bytes(static_cast<size_t>(size), '\0');
  Base64Decode(payload.data(), static_cast<int>(payload.size()), reinterpret_cast<BYTE*>(bytes.data()), &size);
  bytes.resize(static_cast<size_t>(std::min<int>(size, static_cast<int>(bytes.size()))));
  return bytes;
}

PageImages::~PageImages()
{
  for (auto& [src, image] : images_)
    if (image.bitmap)
      DeleteObject(image.bitmap);
}

const PageImage* PageImages::Get(const std::string& src)
{
  auto found = images_.find(src);
  if (found == images_.end()) {
    std::optional<std::string> bytes = DataUrlBytes(src);
    if (!bytes && source_)
      bytes = source_(src);
    PageImage image;
    if (bytes)
      if (auto decoded = kv::images::DecodeImage(std::span(reinterpret_cast<const uint8_t*>(bytes->data()), bytes->size()))) {
        image.bitmap = PremultipliedBitmap(*decoded);
        image.width = image.bitmap ? decoded->width : 0;
        image.height = image.bitmap ? decoded->height : 0;
      }
    found = images_.emplace(src, image).first;
  }
  return found->second.bitmap ? &found->second : nullptr;
}

void DrawImage(HDC dc, const PageImage& image, const RECT& rect)
{
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, image.bitmap);
  AlphaBlend(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, source, 0, 0, image.width,
             image.height, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace kv::html
