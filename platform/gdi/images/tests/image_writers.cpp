#include "image_writers.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <gif_lib.h>
#include <jpeglib.h>
#include <png.h>

namespace kvtest {

Picture Pattern(int width, int height)
{
  Picture p{width, height, {}};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      p.pixels.push_back(0xFF000000u | static_cast<uint32_t>(x * 255 / std::max(1, width - 1)) << 16 |
                         static_cast<uint32_t>(y * 255 / std::max(1, height - 1)) << 8 | static_cast<uint32_t>((x + y) % 2 ? 0x40 : 0xC0));
  return p;
}

Bytes WritePng(const Picture& picture, bool alpha)
{
  png_image png{};
  png.version = PNG_IMAGE_VERSION;
  png.width = picture.width;
  png.height = picture.height;
  png.format = alpha ? PNG_FORMAT_BGRA : PNG_FORMAT_BGR;
  std::vector<uint8_t> source;
  for (uint32_t p : picture.pixels) {
    source.push_back(p & 0xFF);
    source.push_back((p >> 8) & 0xFF);
    source.push_back((p >> 16) & 0xFF);
    if (alpha)
      source.push_back(p >> 24);
  }
  png_alloc_size_t size = 0;
  if (!png_image_write_get_memory_size(png, size, 0, source.data(), 0, nullptr))
    throw std::runtime_error("png size");
  Bytes out(size);
  if (!png_image_write_to_memory(&png, out.data(), &size, 0, source.data(), 0, nullptr))
    throw std::runtime_error("png write");
  out.resize(size);
  return out;
}

Bytes WriteJpeg(const Picture& picture, bool progressive)
{
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = picture.width;
  info.image_height = picture.height;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  if (progressive)
    jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(picture.width) * 3);
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < picture.width; ++x) {
      uint32_t p = picture.pixels[static_cast<size_t>(info.next_scanline) * picture.width + x];
      row[x * 3] = (p >> 16) & 0xFF;
      row[x * 3 + 1] = (p >> 8) & 0xFF;
      row[x * 3 + 2] = p & 0xFF;
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  Bytes out(buffer, buffer + size);
  std::free(buffer);
  return out;
}

namespace {

int Append(GifFileType* gif, const GifByteType* data, int length)
{
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

}  // namespace

Bytes WriteGif(int width, int height, const std::vector<uint8_t>& indices, const std::vector<uint32_t>& palette,
               int transparent, bool interlaced)
{
  Bytes out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, Append, &error);
  if (!gif)
    throw std::runtime_error("gif open");
  int mapSize = 2;
  while (mapSize < static_cast<int>(palette.size()))
    mapSize *= 2;
  std::vector<GifColorType> colours(mapSize);
  for (size_t i = 0; i < palette.size(); ++i)
    colours[i] = {static_cast<GifByteType>(palette[i] >> 16), static_cast<GifByteType>(palette[i] >> 8), static_cast<GifByteType>(palette[i])};
  ColorMapObject* map = GifMakeMapObject(mapSize, colours.data());
  EGifSetGifVersion(gif, true);
  EGifPutScreenDesc(gif, width, height, 8, 0, map);
  if (transparent >= 0) {
    GifByteType control[4] = {0x01, 0, 0, static_cast<GifByteType>(transparent)};
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control);
  }
  EGifPutImageDesc(gif, 0, 0, width, height, interlaced, nullptr);
  std::vector<GifPixelType> line(width);
  auto put = [&](int y) {
    std::memcpy(line.data(), &indices[static_cast<size_t>(y) * width], width);
    EGifPutLine(gif, line.data(), width);
  };
  if (interlaced) {
    const int starts[] = {0, 4, 2, 1}, steps[] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = starts[pass]; y < height; y += steps[pass])
        put(y);
  } else {
    for (int y = 0; y < height; ++y)
      put(y);
  }
  GifFreeMapObject(map);
  EGifCloseFile(gif, &error);
  return out;
}

namespace {

void Put16(Bytes& b, uint32_t v)
{
  b.push_back(v & 0xFF);
  b.push_back((v >> 8) & 0xFF);
}
void Put32(Bytes& b, uint32_t v)
{
  Put16(b, v & 0xFFFF);
  Put16(b, v >> 16);
}

}  // namespace

Bytes WriteBmp(const Picture& picture, int bits, bool topDown, const std::vector<uint32_t>& palette, bool coreHeader)
{
  const uint32_t headerSize = coreHeader ? 12 : 40;
  const size_t entry = coreHeader ? 3 : 4;
  const size_t stride = ((static_cast<size_t>(picture.width) * bits + 31) / 32) * 4;
  const uint32_t dataAt = static_cast<uint32_t>(14 + headerSize + palette.size() * entry);
  Bytes b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, static_cast<uint32_t>(dataAt + stride * picture.height));
  Put32(b, 0);
  Put32(b, dataAt);
  Put32(b, headerSize);
  if (coreHeader) {
    Put16(b, picture.width);
    Put16(b, picture.height);
    Put16(b, 1);
    Put16(b, bits);
  } else {
    Put32(b, picture.width);
    Put32(b, static_cast<uint32_t>(topDown ? -picture.height : picture.height));
    Put16(b, 1);
    Put16(b, bits);
    Put32(b, 0);  // uncompressed
    Put32(b, static_cast<uint32_t>(stride * picture.height));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, static_cast<uint32_t>(palette.size()));
    Put32(b, 0);
  }
  for (uint32_t c : palette) {
    b.push_back(c & 0xFF);
    b.push_back((c >> 8) & 0xFF);
    b.push_back((c >> 16) & 0xFF);
    if (!coreHeader)
      b.push_back(0);
  }
  for (int row = 0; row < picture.height; ++row) {
    const int y = topDown ? row : picture.height - 1 - row;
    Bytes line(stride, 0);
    for (int x = 0; x < picture.width; ++x) {
      const uint32_t p = picture.pixels[static_cast<size_t>(y) * picture.width + x];
      if (bits <= 8) {
        // Palette pictures carry the index in the low byte.
        const uint32_t index = p & 0xFF;
        const size_t bit = static_cast<size_t>(x) * bits;
        line[bit / 8] |= static_cast<uint8_t>(index << (8 - bits - bit % 8));
      } else {
        const size_t at = static_cast<size_t>(x) * (bits / 8);
        line[at] = p & 0xFF;
        line[at + 1] = (p >> 8) & 0xFF;
        line[at + 2] = (p >> 16) & 0xFF;
        if (bits == 32)
          line[at + 3] = 0;
      }
    }
    b.insert(b.end(), line.begin(), line.end());
  }
  return b;
}

}  // namespace kvtest
