// BMP, our own reader: uncompressed 1, 4, 8, 24 and 32 bits a pixel (32 also with bit fields),
// rows bottom up or top down. Every size and offset is checked against the file.
#include "internal/gdi/image_decode.h"

#include <algorithm>
#include <bit>
#include <cstdlib>

namespace kv::images {
namespace {

constexpr uint32_t kRgb = 0, kBitFields = 3;
constexpr size_t kFileHeaderSize = 14;

class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : bytes_(bytes) {}
  bool Has(size_t at, size_t length) const { return at <= bytes_.size() && length <= bytes_.size() - at; }
  uint32_t U8(size_t at) const { return bytes_[at]; }
  uint32_t U16(size_t at) const { return U8(at) | U8(at + 1) << 8; }
  uint32_t U32(size_t at) const { return U16(at) | U16(at + 2) << 16; }
  int32_t S32(size_t at) const { return static_cast<int32_t>(U32(at)); }

 private:
  std::span<const uint8_t> bytes_;
};

// A channel taken out of a pixel by its mask, scaled to 0..255.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  uint32_t max = 0;

  explicit Channel(uint32_t m) : mask(m)
  {
    if (mask) {
      shift = std::countr_zero(mask);
      max = mask >> shift;
    }
  }
  uint32_t Of(uint32_t pixel, uint32_t missing) const
  {
    if (!mask)
      return missing;
    return static_cast<uint32_t>((static_cast<uint64_t>((pixel & mask) >> shift) * 255 + max / 2) / max);
  }
};

}  // namespace

std::optional<Image> DecodeBmp(std::span<const uint8_t> bytes)
{
  Reader r(bytes);
  if (!r.Has(0, kFileHeaderSize + 4) || r.U16(0) != 0x4D42)
    return std::nullopt;
  const size_t dataAt = r.U32(10);
  const uint32_t headerSize = r.U32(kFileHeaderSize);
  const size_t h = kFileHeaderSize;
  int64_t width = 0, height = 0;
  uint32_t bits = 0, compression = kRgb, used = 0;
  bool core = headerSize == 12;
  if (core) {
    if (!r.Has(h, 12))
      return std::nullopt;
    width = r.U16(h + 4);
    height = r.U16(h + 6);
    bits = r.U16(h + 10);
  } else if (headerSize >= 40 && headerSize <= 124) {
    if (!r.Has(h, headerSize))
      return std::nullopt;
    width = r.S32(h + 4);
    height = r.S32(h + 8);
    bits = r.U16(h + 14);
    compression = r.U32(h + 16);
    used = r.U32(h + 32);
  } else {
    return std::nullopt;
  }
  const bool topDown = height < 0;
  height = std::llabs(height);
  if (!SizeAllowed(width, height))
    return std::nullopt;

  // Masks of 32-bit pixels: in the header from version 2 on, else after a 40-byte header.
  uint32_t masks[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0};
  if (compression == kBitFields && bits == 32) {
    const size_t at = h + 40;
    const size_t count = headerSize >= 56 ? 4 : 3;
    if (!r.Has(at, count * 4))
      return std::nullopt;
    for (size_t i = 0; i < count; ++i)
      masks[i] = r.U32(at + 4 * i);
  } else if (compression != kRgb) {
    return std::nullopt;
  }
  if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32)
    return std::nullopt;

  std::vector<uint32_t> palette;
  if (bits <= 8) {
    const size_t entry = core ? 3 : 4;
    const size_t at = h + headerSize;
    // A core header names no count: the palette fills the gap before the pixels, at most 2^bits.
    size_t count = used ? used : (1u << bits);
    if (core && dataAt > at)
      count = std::min(count, (dataAt - at) / entry);
    if (count > 256)
      return std::nullopt;
    if (!r.Has(at, count * entry))
      return std::nullopt;
    for (size_t i = 0; i < count; ++i)
      palette.push_back(0xFF000000u | r.U8(at + i * entry + 2) << 16 | r.U8(at + i * entry + 1) << 8 | r.U8(at + i * entry));
  }

  const size_t stride = ((static_cast<size_t>(width) * bits + 31) / 32) * 4;
  if (!r.Has(dataAt, stride * static_cast<size_t>(height)))
    return std::nullopt;
  const Channel red(masks[0]), green(masks[1]), blue(masks[2]), alpha(masks[3]);
  Image image;
  image.width = static_cast<int>(width);
  image.height = static_cast<int>(height);
  image.pixels.resize(static_cast<size_t>(width) * height);
  for (int64_t y = 0; y < height; ++y) {
    const size_t row = dataAt + stride * static_cast<size_t>(topDown ? y : height - 1 - y);
    uint32_t* out = &image.pixels[static_cast<size_t>(y) * width];
    for (int64_t x = 0; x < width; ++x) {
      uint32_t pixel = 0;
      if (bits <= 8) {
        const size_t bit = static_cast<size_t>(x) * bits;
        const uint32_t index = (r.U8(row + bit / 8) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
        pixel = index < palette.size() ? palette[index] : 0xFF000000u;
      } else if (bits == 24) {
        const size_t at = row + static_cast<size_t>(x) * 3;
        pixel = 0xFF000000u | r.U8(at + 2) << 16 | r.U8(at + 1) << 8 | r.U8(at);
      } else {
        const uint32_t v = r.U32(row + static_cast<size_t>(x) * 4);
        pixel = alpha.Of(v, 255) << 24 | red.Of(v, 0) << 16 | green.Of(v, 0) << 8 | blue.Of(v, 0);
      }
      out[x] = pixel;
    }
  }
  return image;
}

}  // namespace kv::images
