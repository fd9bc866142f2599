#include "internal/gdi/image_decode.h"

#include <cstring>

namespace kv::images {
namespace {

bool StartsWith(std::span<const uint8_t> bytes, const char* signature, size_t length)
{
  return bytes.size() >= length && std::memcmp(bytes.data(), signature, length) == 0;
}

}  // namespace

std::optional<Image> DecodeImage(std::span<const uint8_t> bytes)
{
  if (StartsWith(bytes, "\x89PNG\r\n\x1a\n", 8))
    return DecodePng(bytes);
  if (StartsWith(bytes, "\xFF\xD8\xFF", 3))
    return DecodeJpeg(bytes);
  if (StartsWith(bytes, "GIF87a", 6) || StartsWith(bytes, "GIF89a", 6))
    return DecodeGif(bytes);
  if (StartsWith(bytes, "BM", 2))
    return DecodeBmp(bytes);
  return std::nullopt;
}

}  // namespace kv::images
