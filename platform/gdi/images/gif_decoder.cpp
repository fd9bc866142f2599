// GIF through giflib: the first frame on the logical screen, transparent where the frame's
// graphic control block says so or where the frame does not reach.
#include "internal/gdi/image_decode.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace kv::images {
namespace {

struct Source {
  std::span<const uint8_t> bytes;
  size_t at = 0;
};

int Read(GifFileType* gif, GifByteType* out, int length)
{
  auto* source = static_cast<Source*>(gif->UserData);
  size_t n = std::min<size_t>(static_cast<size_t>(std::max(length, 0)), source->bytes.size() - source->at);
  std::memcpy(out, source->bytes.data() + source->at, n);
  source->at += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const
  {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// Reads the extension blocks of one extension record; the transparent index from a graphic
// control block, -1 when none.
bool ReadExtension(GifFileType* gif, int& transparent)
{
  int code = 0;
  GifByteType* block = nullptr;
  if (DGifGetExtension(gif, &code, &block) != GIF_OK)
    return false;
  while (block) {
    if (code == GRAPHICS_EXT_FUNC_CODE && block[0] >= 4)
      transparent = (block[1] & 0x01) ? block[4] : -1;
    if (DGifGetExtensionNext(gif, &block) != GIF_OK)
      return false;
  }
  return true;
}

std::optional<Image> ReadFirstFrame(GifFileType* gif, int transparent)
{
  if (DGifGetImageDesc(gif) != GIF_OK)
    return std::nullopt;
  const GifImageDesc& desc = gif->Image;
  const ColorMapObject* colours = desc.ColorMap ? desc.ColorMap : gif->SColorMap;
  if (!colours || desc.Width <= 0 || desc.Height <= 0 || !SizeAllowed(desc.Width, desc.Height))
    return std::nullopt;
  int width = gif->SWidth, height = gif->SHeight;
  if (!SizeAllowed(width, height)) {
    // Some writers leave the screen size 0: the frame gives the size.
    width = desc.Left + desc.Width;
    height = desc.Top + desc.Height;
    if (!SizeAllowed(width, height))
      return std::nullopt;
  }
  Image image;
  image.width = width;
  image.height = height;
  image.pixels.assign(static_cast<size_t>(width) * height, 0);
  std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
  // Interlaced frames come in four passes: rows 0, 4, 2 and 1 onwards in steps of 8, 8, 4, 2.
  const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
  const int passes = desc.Interlace ? 4 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    const int step = desc.Interlace ? steps[pass] : 1;
    for (int y = desc.Interlace ? starts[pass] : 0; y < desc.Height; y += step) {
      if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK)
        return std::nullopt;
      const int row = desc.Top + y;
      if (row < 0 || row >= height)
        continue;
      for (int x = 0; x < desc.Width; ++x) {
        const int column = desc.Left + x;
        const int index = line[static_cast<size_t>(x)];
        if (column < 0 || column >= width || index == transparent || index >= colours->ColorCount)
          continue;
        const GifColorType& c = colours->Colors[index];
        image.pixels[static_cast<size_t>(row) * width + column] =
            0xFF000000u | (static_cast<uint32_t>(c.Red) << 16) | (static_cast<uint32_t>(c.Green) << 8) | c.Blue;
      }
    }
  }
  return image;
}

}  // namespace

std::optional<Image> DecodeGif(std::span<const uint8_t> bytes)
{
  Source source{bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&source, Read, &error));
  if (!gif)
    return std::nullopt;
  int transparent = -1;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) != GIF_OK)
      return std::nullopt;
    switch (type) {
      case IMAGE_DESC_RECORD_TYPE:
        return ReadFirstFrame(gif.get(), transparent);
      case EXTENSION_RECORD_TYPE:
        if (!ReadExtension(gif.get(), transparent))
          return std::nullopt;
        break;
      default:  // the end, or a record no file may have before its first frame
        return std::nullopt;
    }
  }
}

}  // namespace kv::images
