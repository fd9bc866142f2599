// Any bytes through every decoder: a result or nothing, never a crash, a hang or a leak.
#include "internal/gdi/image_decode.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::span<const uint8_t> bytes(data, size);
  for (auto decode : {kv::images::DecodeImage, kv::images::DecodePng, kv::images::DecodeJpeg, kv::images::DecodeGif, kv::images::DecodeBmp}) {
    if (auto image = decode(bytes)) {
      if (image->pixels.size() != static_cast<size_t>(image->width) * image->height)
        __builtin_trap();
    }
  }
  return 0;
}
