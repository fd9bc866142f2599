// Bitmaps: compatible bitmaps, DIB sections and bitmaps from decoded pixels.
#include <cstring>

#include "base/errors.h"
#include "base/lasterror.h"
#include "internal/gdi/bitmap_pixels.h"
#include "objects_internal.h"

using namespace gdi_detail;

namespace {

// Bitmaps beyond this many pixels are refused rather than allocated.
constexpr int64_t kMaxPixels = 64ll * 1024 * 1024;

std::shared_ptr<Bitmap> NewBitmap(int width, int height, bool bottomUp)
{
  if (width <= 0 || height <= 0 || static_cast<int64_t>(width) * height > kMaxPixels) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = std::make_shared<Bitmap>();
  bitmap->surface.Allocate(width, height, bottomUp);
  bitmap->header = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), width, bottomUp ? height : -height, 1, 32, BI_RGB,
                                    static_cast<DWORD>(int64_t{width} * height * 4), 0, 0, 0, 0};
  return bitmap;
}

HBITMAP Add(std::shared_ptr<Bitmap> bitmap)
{
  if (!bitmap)
    return nullptr;
  Lock held(GdiLock());
  return static_cast<HBITMAP>(Insert(held, std::move(bitmap)));
}

}  // namespace

HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height)
{
  {
    Lock held(GdiLock());
    if (!LookupAs<DeviceContext>(held, dc)) {
      SetLastError(ERROR_INVALID_HANDLE);
      return nullptr;
    }
  }
  return Add(NewBitmap(width, height, false));
}

HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits)
{
  if (planes != 1 || bitsPerPixel != 32) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = NewBitmap(width, height, false);
  if (bitmap && bits)
    std::memcpy(bitmap->surface.bits, bits, bitmap->surface.storage.size() * 4);
  return Add(std::move(bitmap));
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section, DWORD)
{
  if (bits)
    *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section || info->bmiHeader.biBitCount != 32 ||
      (info->bmiHeader.biCompression != BI_RGB && info->bmiHeader.biCompression != BI_BITFIELDS) ||
      info->bmiHeader.biHeight == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  int64_t height = info->bmiHeader.biHeight;  // 64-bit: the most negative height has no positive int
  auto bitmap = NewBitmap(info->bmiHeader.biWidth, Saturated(height < 0 ? -height : height), height > 0);
  if (!bitmap)
    return nullptr;
  bitmap->dibSection = true;
  bitmap->header.biCompression = info->bmiHeader.biCompression;
  void* pixels = bitmap->surface.bits;
  HBITMAP handle = Add(std::move(bitmap));
  if (handle && bits)
    *bits = pixels;
  return handle;
}

HBITMAP gdi_bitmap::CreateFromBgra(int width, int height, const uint8_t* pixels, int stride)
{
  if (!pixels || stride < int64_t{width} * 4) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = NewBitmap(width, height, false);
  if (!bitmap)
    return nullptr;
  bitmap->dibSection = true;
  for (int y = 0; y < height; ++y)
    std::memcpy(bitmap->surface.Row(y), pixels + static_cast<size_t>(y) * static_cast<size_t>(stride),
                static_cast<size_t>(width) * 4);
  return Add(std::move(bitmap));
}
