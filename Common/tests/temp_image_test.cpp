#include "temp_image.h"

#include <vector>

#include "device_files.h"
#include "windows.h"

namespace {

using TempImage = common_test::DeviceRootTest;

// A 2x1 BMP file: a red pixel then a blue one.
std::vector<BYTE> TwoPixelBmp()
{
  std::vector<BYTE> file(14 + 40 + 8, 0);
  auto put32 = [&](size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
      file[at + static_cast<size_t>(i)] = static_cast<BYTE>(value >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<uint32_t>(file.size()));
  put32(10, 54);
  put32(14, 40);
  put32(18, 2);  // width
  put32(22, 1);  // height
  file[26] = 1;  // planes
  file[28] = 24; // bits per pixel
  put32(34, 8);
  BYTE pixels[] = {0, 0, 255, 255, 0, 0};  // blue, green, red order: red, then blue
  std::copy(std::begin(pixels), std::end(pixels), file.begin() + 54);
  return file;
}

std::u16string TempFile()
{
  WCHAR folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  return std::u16string(folder) + u"KorvexImage.jpg";
}

TEST_F(TempImage, WritesTheBytesAndLoadsThemAsABitmap)
{
  std::vector<BYTE> bmp = TwoPixelBmp();
  common_test::WriteDeviceFile(TempFile().c_str(), "an older picture, longer than the new one's bytes...........");
  HBITMAP bitmap = SaveTempImageFile(bmp.data(), static_cast<DWORD>(bmp.size()));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(common_test::ReadDeviceFile(TempFile().c_str()), std::string(bmp.begin(), bmp.end()));
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 0, 0));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 255));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST_F(TempImage, NullBytesOrBytesThatAreNoImageGiveNull)
{
  EXPECT_EQ(SaveTempImageFile(nullptr, 10), nullptr);
  const BYTE junk[] = {1, 2, 3, 4, 5};
  EXPECT_EQ(SaveTempImageFile(junk, sizeof junk), nullptr);
}

}  // namespace
