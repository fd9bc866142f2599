#include "png_file.h"

#include <png.h>

#include <cstdio>
#include <memory>

namespace display {

bool WritePng(const std::string& hostPath, int width, int height, const std::vector<uint32_t>& pixels)
{
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
    return false;
  std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(hostPath.c_str(), "wb"), std::fclose);
  if (!file)
    return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  std::vector<png_byte> row(static_cast<size_t>(width) * 3);
  // libpng reports errors by jumping back here; nothing above holds a destructor to skip.
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file.get());
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (int y = 0; y < height; ++y) {
    const uint32_t* in = &pixels[static_cast<size_t>(y) * static_cast<size_t>(width)];
    for (int x = 0; x < width; ++x) {
      row[static_cast<size_t>(x) * 3] = static_cast<png_byte>(in[x] >> 16);
      row[static_cast<size_t>(x) * 3 + 1] = static_cast<png_byte>(in[x] >> 8);
      row[static_cast<size_t>(x) * 3 + 2] = static_cast<png_byte>(in[x]);
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fflush(file.get()) == 0;
}

}  // namespace display
