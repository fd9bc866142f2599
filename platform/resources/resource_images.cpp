// LoadBitmap and LoadImage: the BITMAP resource's file decoded, then made a bitmap.
#include "resources/resource_images.h"

#include <span>

#include "base/errors.h"
#include "base/lasterror.h"
#include "internal/gdi/bitmap_pixels.h"
#include "internal/gdi/image_decode.h"
#include "resources/resource.h"
#include "shell/image_files.h"

namespace {

std::optional<kv::images::Image> DecodeBitmapResource(HINSTANCE instance, LPCWSTR name)
{
  HRSRC resource = name ? FindResourceW(instance, name, RT_BITMAP) : nullptr;
  if (!resource)
    return std::nullopt;
  auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(instance, resource)));
  std::optional<kv::images::Image> image =
      bytes ? kv::images::DecodeImage(std::span<const uint8_t>(bytes, SizeofResource(instance, resource))) : std::nullopt;
  if (!image)
    SetLastError(ERROR_INVALID_DATA);
  return image;
}

// Nearest-pixel stretch to the size asked for.
kv::images::Image Stretch(const kv::images::Image& image, int width, int height)
{
  kv::images::Image out;
  out.width = width;
  out.height = height;
  out.pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    int fromY = static_cast<int>(static_cast<int64_t>(y) * image.height / height);
    for (int x = 0; x < width; ++x) {
      int fromX = static_cast<int>(static_cast<int64_t>(x) * image.width / width);
      out.pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)] =
          image.pixels[static_cast<size_t>(fromY) * static_cast<size_t>(image.width) + static_cast<size_t>(fromX)];
    }
  }
  return out;
}

HBITMAP MakeBitmap(const kv::images::Image& image)
{
  return gdi_bitmap::CreateFromBgra(image.width, image.height, reinterpret_cast<const uint8_t*>(image.pixels.data()),
                                    image.width * 4);
}

}  // namespace

HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name)
{
  std::optional<kv::images::Image> image = DecodeBitmapResource(instance, name);
  return image ? MakeBitmap(*image) : nullptr;
}

HBITMAP SHLoadImageResource(HINSTANCE module, UINT id)
{
  return LoadBitmapW(module, MAKEINTRESOURCEW(id));
}

HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int width, int height, UINT)
{
  if (type != IMAGE_BITMAP || width < 0 || height < 0 || !kv::images::SizeAllowed(width ? width : 1, height ? height : 1)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::optional<kv::images::Image> image = DecodeBitmapResource(instance, name);
  if (!image)
    return nullptr;
  int wantedWidth = width ? width : image->width;
  int wantedHeight = height ? height : image->height;
  if (wantedWidth != image->width || wantedHeight != image->height)
    return MakeBitmap(Stretch(*image, wantedWidth, wantedHeight));
  return MakeBitmap(*image);
}
