// Bitmaps from image files on the device and from image bytes held by another piece.
#include "image_writers.h"
#include "internal/gdi/image_bitmap.h"
#include "shell/image_files.h"
#include "testing/device_root.h"
#include "windows.h"

#include <gtest/gtest.h>

namespace {

using kvtest::Bytes;

void WriteDeviceFile(LPCWSTR path, const Bytes& bytes)
{
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
  CloseHandle(file);
}

// The size of a bitmap and its pixel at (x, y) as a COLORREF.
struct Probe {
  LONG width = 0, height = 0;
  COLORREF pixel = 0;
};

Probe ProbeBitmap(HBITMAP bitmap, int x, int y)
{
  Probe probe;
  BITMAP info{};
  EXPECT_EQ(GetObject(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
  probe.width = info.bmWidth;
  probe.height = info.bmHeight;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  probe.pixel = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return probe;
}

TEST(ImageFiles, LoadsEachKindFromTheDevice)
{
  device::testing::ScopedDeviceRoot root;
  CreateDirectoryW(u"\\Temp", nullptr);
  const kvtest::Picture picture = kvtest::Pattern(20, 10);
  struct Case {
    LPCWSTR path;
    Bytes bytes;
  } cases[] = {
      {u"\\Temp\\checkcodeimage.jpg", kvtest::WriteJpeg(picture, false)},
      {u"\\Temp\\skin.png", kvtest::WritePng(picture, false)},
      {u"\\Temp\\icon.gif", kvtest::WriteGif(20, 10, std::vector<uint8_t>(200, 1), {0, 0x00FF00}, -1, false)},
      {u"\\Temp\\logo.bmp", kvtest::WriteBmp(picture, 24, false)},
  };
  for (const auto& c : cases) {
    WriteDeviceFile(c.path, c.bytes);
    HBITMAP bitmap = SHLoadImageFile(c.path);
    ASSERT_NE(bitmap, nullptr);
    Probe probe = ProbeBitmap(bitmap, 19, 0);
    EXPECT_EQ(probe.width, 20);
    EXPECT_EQ(probe.height, 10);
    EXPECT_TRUE(DeleteObject(bitmap));
  }
  // Pixels keep their place and colour: the top-right of the pattern is red, without green.
  WriteDeviceFile(u"\\Temp\\exact.png", kvtest::WritePng(picture, false));
  HBITMAP exact = SHLoadDIBitmap(u"\\Temp\\exact.png");
  const uint32_t p = picture.pixels[19];
  EXPECT_EQ(ProbeBitmap(exact, 19, 0).pixel, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  DeleteObject(exact);
}

TEST(ImageFiles, BadOrMissingFilesGiveNull)
{
  device::testing::ScopedDeviceRoot root;
  CreateDirectoryW(u"\\Temp", nullptr);
  Bytes jpeg = kvtest::WriteJpeg(kvtest::Pattern(16, 16), false);
  jpeg.resize(jpeg.size() / 2);
  WriteDeviceFile(u"\\Temp\\cut.jpg", jpeg);
  WriteDeviceFile(u"\\Temp\\text.jpg", Bytes{'<', 'h', 't', 'm', 'l', '>'});
  WriteDeviceFile(u"\\Temp\\empty.png", Bytes{});
  EXPECT_EQ(SHLoadImageFile(u"\\Temp\\cut.jpg"), nullptr);
  EXPECT_EQ(SHLoadImageFile(u"\\Temp\\text.jpg"), nullptr);
  EXPECT_EQ(SHLoadImageFile(u"\\Temp\\empty.png"), nullptr);
  EXPECT_EQ(SHLoadImageFile(u"\\Temp\\missing.png"), nullptr);
  EXPECT_EQ(SHLoadImageFile(nullptr), nullptr);
}

TEST(ImageFiles, BitmapFromBytesForOtherPieces)
{
  const kvtest::Picture picture = kvtest::Pattern(3, 2);
  const Bytes png = kvtest::WritePng(picture, false);
  HBITMAP bitmap = kv::images::CreateBitmapFromImageFile(png);
  ASSERT_NE(bitmap, nullptr);
  const uint32_t p = picture.pixels[1 * 3 + 2];
  Probe probe = ProbeBitmap(bitmap, 2, 1);
  EXPECT_EQ(probe.width, 3);
  EXPECT_EQ(probe.pixel, RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  DeleteObject(bitmap);
  EXPECT_EQ(kv::images::CreateBitmapFromImageFile(Bytes{1, 2, 3}), nullptr);
}

}  // namespace
