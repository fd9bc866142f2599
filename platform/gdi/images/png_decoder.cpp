// PNG through libpng's simplified reader, which reports errors instead of jumping out.
#include "internal/gdi/image_decode.h"

#include <png.h>

namespace kv::images {

std::optional<Image> DecodePng(std::span<const uint8_t> bytes)
{
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&png, bytes.data(), bytes.size()))
    return std::nullopt;
  if (!SizeAllowed(png.width, png.height)) {
    png_image_free(&png);
    return std::nullopt;
  }
  png.format = PNG_FORMAT_BGRA;
  Image image;
  image.width = static_cast<int>(png.width);
  image.height = static_cast<int>(png.height);
  image.pixels.resize(static_cast<size_t>(image.width) * image.height);
  if (!png_image_finish_read(&png, nullptr, image.pixels.data(), 0, nullptr)) {
    png_image_free(&png);
    return std::nullopt;
  }
  return image;
}

}  // namespace kv::images
