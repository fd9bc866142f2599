// Image lists: strips of images, masks, and handles that were destroyed.
#include "list_fixture.h"

namespace {

using ImageList = ListControlsTest;

// A bitmap of width x height in one colour, with a second colour in the given columns.
HBITMAP Painted(int width, int height, COLORREF color, int fromX = 0, int toX = 0, COLORREF other = 0)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, width, height);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  RECT part{fromX, 0, toX, height};
  brush = CreateSolidBrush(other);
  FillRect(dc, &part, brush);
  DeleteObject(brush);
  SelectObject(dc, old);
  DeleteDC(dc);
  return bitmap;
}

TEST_F(ImageList, AddsEachImageOfAStripAndDrawsIt)
{
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32, 0, 1);
  ASSERT_NE(nullptr, list);
  HBITMAP strip = Painted(24, 8, RGB(255, 0, 0), 8, 16, RGB(0, 0, 255));
  EXPECT_EQ(0, ImageList_Add(list, strip, nullptr));
  EXPECT_EQ(3, ImageList_Add(list, strip, nullptr));
  EXPECT_EQ(6, ImageList_GetImageCount(list));
  int cx = 0, cy = 0;
  EXPECT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(8, cx);
  HDC dc = GetDC(parent);
  EXPECT_TRUE(ImageList_Draw(list, 1, dc, 50, 50, ILD_NORMAL));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 53, 53));
  EXPECT_FALSE(ImageList_Draw(list, 6, dc, 50, 50, ILD_NORMAL));
  ReleaseDC(parent, dc);
  DeleteObject(strip);
  EXPECT_TRUE(ImageList_Destroy(list));
}

TEST_F(ImageList, MaskedPixelsLetTheBackgroundThrough)
{
  HIMAGELIST list = ImageList_Create(8, 8, ILC_COLOR32 | ILC_MASK, 1, 1);
  HBITMAP image = Painted(8, 8, RGB(0, 128, 0));
  HBITMAP mask = Painted(8, 8, RGB(0, 0, 0), 0, 4, RGB(255, 255, 255));  // left half transparent
  ASSERT_EQ(0, ImageList_Add(list, image, mask));
  HDC dc = GetDC(parent);
  RECT area{100, 100, 108, 108};
  HBRUSH brush = CreateSolidBrush(RGB(10, 20, 30));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  ImageList_Draw(list, 0, dc, 100, 100, ILD_TRANSPARENT);
  EXPECT_EQ(RGB(10, 20, 30), GetPixel(dc, 101, 104));
  EXPECT_EQ(RGB(0, 128, 0), GetPixel(dc, 106, 104));
  ReleaseDC(parent, dc);
  DeleteObject(image);
  DeleteObject(mask);
  ImageList_Destroy(list);
}

TEST_F(ImageList, RefusesBadSizesAndDestroyedHandles)
{
  EXPECT_EQ(nullptr, ImageList_Create(0, 8, 0, 0, 1));
  HIMAGELIST list = ImageList_Create(4, 4, 0, 0, 1);
  EXPECT_EQ(-1, ImageList_Add(list, nullptr, nullptr));
  ASSERT_TRUE(ImageList_Destroy(list));
  HBITMAP image = Painted(4, 4, RGB(1, 2, 3));
  EXPECT_EQ(-1, ImageList_Add(list, image, nullptr));
  EXPECT_FALSE(ImageList_Destroy(list));
  EXPECT_EQ(0, ImageList_GetImageCount(list));
  DeleteObject(image);
}

}  // namespace
