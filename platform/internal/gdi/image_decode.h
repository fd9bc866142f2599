// Image files (PNG, JPEG, GIF, BMP) decoded into 32-bit pixels. A file that is damaged, cut short,
// of an unknown kind or too large gives nothing; no input crashes or hangs the decoders.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace kv::images {

// Pixels are 0xAARRGGBB values (B, G, R, A in memory), rows top down, alpha not premultiplied.
struct Image {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
};

// The largest image accepted: each side and the pixel count.
inline constexpr int kMaxSide = 8192;
inline constexpr int64_t kMaxPixels = 16 * 1024 * 1024;

inline bool SizeAllowed(int64_t width, int64_t height)
{
  return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide && width * height <= kMaxPixels;
}

// Decodes by the file's signature.
std::optional<Image> DecodeImage(std::span<const uint8_t> bytes);

std::optional<Image> DecodePng(std::span<const uint8_t> bytes);
std::optional<Image> DecodeJpeg(std::span<const uint8_t> bytes);
std::optional<Image> DecodeGif(std::span<const uint8_t> bytes);  // the first frame
std::optional<Image> DecodeBmp(std::span<const uint8_t> bytes);

}  // namespace kv::images
