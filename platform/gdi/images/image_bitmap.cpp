#include "internal/gdi/image_bitmap.h"

#include "internal/gdi/bitmap_pixels.h"
#include "internal/gdi/image_decode.h"

namespace kv::images {

HBITMAP CreateBitmapFromImageFile(std::span<const uint8_t> bytes)
{
  std::optional<Image> image = DecodeImage(bytes);
  if (!image)
    return nullptr;
  return gdi_bitmap::CreateFromBgra(image->width, image->height, reinterpret_cast<const uint8_t*>(image->pixels.data()),
                                    image->width * 4);
}

}  // namespace kv::images
