// The image decoders on files written by the tests themselves: good files decode to their
// pixels; damaged, cut or oversized files give nothing.
#include "internal/gdi/image_decode.h"
#include "image_writers.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace {

using kv::images::DecodeImage;
using kv::images::Image;
using kvtest::Bytes;
using kvtest::Picture;

std::optional<Image> Decode(const Bytes& bytes) { return DecodeImage(std::span<const uint8_t>(bytes.data(), bytes.size())); }

void ExpectPixels(const std::optional<Image>& image, const Picture& picture)
{
  ASSERT_TRUE(image);
  EXPECT_EQ(image->width, picture.width);
  EXPECT_EQ(image->height, picture.height);
  EXPECT_EQ(image->pixels, picture.pixels);
}

TEST(ImageDecode, PngKeepsEveryPixel)
{
  Picture opaque = kvtest::Pattern(13, 7);
  ExpectPixels(Decode(kvtest::WritePng(opaque, false)), opaque);
  Picture translucent = kvtest::Pattern(5, 9);
  translucent.pixels[0] = 0x00000000;
  translucent.pixels[7] = 0x80FF8000;
  ExpectPixels(Decode(kvtest::WritePng(translucent, true)), translucent);
}

TEST(ImageDecode, JpegBaselineAndProgressive)
{
  // A smooth picture, so the lossy file stays close to it.
  Picture picture{32, 24, {}};
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 32; ++x)
      picture.pixels.push_back(0xFF000000u | static_cast<uint32_t>(x * 8) << 16 | static_cast<uint32_t>(y * 10) << 8 | 0x60);
  for (bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    auto image = Decode(kvtest::WriteJpeg(picture, progressive));
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 32);
    ASSERT_EQ(image->height, 24);
    for (size_t i = 0; i < picture.pixels.size(); ++i)
      for (int shift : {0, 8, 16}) {
        int want = (picture.pixels[i] >> shift) & 0xFF, got = (image->pixels[i] >> shift) & 0xFF;
        ASSERT_LE(std::abs(want - got), 12) << i;
      }
    for (uint32_t p : image->pixels)
      ASSERT_EQ(p >> 24, 0xFFu);
  }
}

TEST(ImageDecode, GifFirstFrameWithTransparency)
{
  const std::vector<uint32_t> palette = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF};
  const int width = 6, height = 11;
  std::vector<uint8_t> indices;
  Picture expected{width, height, {}};
  for (int i = 0; i < width * height; ++i) {
    indices.push_back(static_cast<uint8_t>(i % 4));
    expected.pixels.push_back(i % 4 == 2 ? 0u : 0xFF000000u | palette[i % 4]);
  }
  for (bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced);
    ExpectPixels(Decode(kvtest::WriteGif(width, height, indices, palette, 2, interlaced)), expected);
  }
  auto opaque = Decode(kvtest::WriteGif(width, height, indices, palette, -1, false));
  ASSERT_TRUE(opaque);
  EXPECT_EQ(opaque->pixels[2], 0xFF00FF00u);
}

TEST(ImageDecode, BmpDepthsAndRowOrders)
{
  const Picture colour = kvtest::Pattern(9, 5);
  const std::vector<uint32_t> palette16 = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
                                           0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
  struct Case {
    int bits;
    size_t colours;
    bool core;
  } cases[] = {{1, 2, false}, {4, 16, false}, {8, 16, false}, {8, 16, true}, {24, 0, false}, {24, 0, true}, {32, 0, false}};
  for (const auto& c : cases) {
    for (bool topDown : {false, true}) {
      if (c.core && topDown)
        continue;  // the core header has no sign
      SCOPED_TRACE(testing::Message() << c.bits << " bits, core " << c.core << ", top down " << topDown);
      Picture written = colour, expected = colour;
      std::vector<uint32_t> palette;
      if (c.colours) {
        palette.assign(palette16.begin(), palette16.begin() + c.colours);
        for (size_t i = 0; i < written.pixels.size(); ++i) {
          written.pixels[i] = static_cast<uint32_t>((i * 7 + i / 9) % c.colours);
          expected.pixels[i] = 0xFF000000u | palette[written.pixels[i]];
        }
      }
      ExpectPixels(Decode(kvtest::WriteBmp(written, c.bits, topDown, palette, c.core)), expected);
    }
  }
}

// Every file cut short gives nothing.
TEST(ImageDecode, TruncatedFilesGiveNothing)
{
  const Picture picture = kvtest::Pattern(16, 12);
  std::vector<uint8_t> indices(16 * 12, 1);
  struct Case {
    const char* name;
    Bytes file;
    size_t endMarker;  // bytes a cut may take and the file still decode: the end markers
  } cases[] = {
      {"png", kvtest::WritePng(picture, true), 12},
      {"jpeg", kvtest::WriteJpeg(picture, false), 0},
      {"progressive jpeg", kvtest::WriteJpeg(picture, true), 0},
      {"gif", kvtest::WriteGif(16, 12, indices, {0, 0xFFFFFF}, -1, false), 1},
      {"bmp", kvtest::WriteBmp(picture, 24, false), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Decode(c.file));
    for (size_t length = 0; length + c.endMarker < c.file.size(); ++length) {
      Bytes cut(c.file.begin(), c.file.begin() + length);
      ASSERT_FALSE(Decode(cut)) << "cut to " << length << " of " << c.file.size();
    }
  }
}

void PutU32(Bytes& b, size_t at, uint32_t v)
{
  for (int i = 0; i < 4; ++i)
    b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

TEST(ImageDecode, DamagedFilesGiveNothing)
{
  const Picture picture = kvtest::Pattern(8, 8);
  const Bytes bmp = kvtest::WriteBmp(picture, 24, false);
  struct Case {
    const char* name;
    std::function<void(Bytes&)> damage;
  } bmpCases[] = {
      {"huge width", [](Bytes& b) { PutU32(b, 18, 100000); }},
      {"huge height", [](Bytes& b) { PutU32(b, 22, 0x80000000u); }},
      {"zero width", [](Bytes& b) { PutU32(b, 18, 0); }},
      {"data past the end", [](Bytes& b) { PutU32(b, 10, 0xFFFFFFF0u); }},
      {"run-length compressed", [](Bytes& b) { PutU32(b, 30, 1); }},
      {"16 bits", [](Bytes& b) { b[28] = 16; }},
      {"unknown header", [](Bytes& b) { PutU32(b, 14, 20); }},
      {"header past the end", [](Bytes& b) { PutU32(b, 14, 124); b.resize(60); }},
  };
  for (const auto& c : bmpCases) {
    SCOPED_TRACE(c.name);
    Bytes damaged = bmp;
    c.damage(damaged);
    EXPECT_FALSE(Decode(damaged));
  }
  // A flipped bit in the middle of a PNG breaks its checksum; garbage after a JPEG's header breaks
  // its data; unknown signatures and empty input are no image.
  Bytes png = kvtest::WritePng(picture, false);
  png[png.size() / 2] ^= 0x10;
  EXPECT_FALSE(Decode(png));
  Bytes gif = kvtest::WriteGif(8, 8, std::vector<uint8_t>(64, 0), {0, 0xFFFFFF}, -1, false);
  gif[10] &= 0x7F;  // no global colour table, and the frame has none either
  EXPECT_FALSE(Decode(gif));
  EXPECT_FALSE(Decode(Bytes{}));
  EXPECT_FALSE(Decode(Bytes{'G', 'I', 'F', '8', '9', 'a'}));
  EXPECT_FALSE(Decode(Bytes{'h', 'e', 'l', 'l', 'o'}));
}

}  // namespace
