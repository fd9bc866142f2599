#include "drawing_helpers.h"

#include <gtest/gtest.h>

#include "windows.h"

namespace {

// A 2x1 source: red then blue.
struct Source {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 1);
  Source()
  {
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SetPixel(dc, 0, 0, RGB(255, 0, 0));
    SetPixel(dc, 1, 0, RGB(0, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  ~Source()
  {
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
  }
};

COLORREF PixelOf(HBITMAP bitmap, int x, int y)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  COLORREF color = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteDC(dc);
  return color;
}

TEST(DrawingHelpers, StretchCopyBitmapReplacesTheTargetWithAStretchedCopy)
{
  Source source;
  HBITMAP target = CreateCompatibleBitmap(source.screen, 1, 1);
  HBITMAP old = target;
  ASSERT_TRUE(StretchCopyBitmap(source.screen, source.bitmap, 2, 1, target, 4, 2));
  EXPECT_NE(target, old);
  EXPECT_FALSE(DeleteObject(old));  // the old target was deleted
  BITMAP record{};
  ASSERT_TRUE(GetObject(target, sizeof record, &record));
  EXPECT_EQ(record.bmWidth, 4);
  EXPECT_EQ(record.bmHeight, 2);
  EXPECT_EQ(PixelOf(target, 1, 1), RGB(255, 0, 0));
  EXPECT_EQ(PixelOf(target, 2, 0), RGB(0, 0, 255));
  DeleteObject(target);
}

TEST(DrawingHelpers, StretchCopyBitmapNeedsADeviceContextAndASource)
{
  Source source;
  HBITMAP target = CreateCompatibleBitmap(source.screen, 1, 1);
  HBITMAP kept = target;
  EXPECT_FALSE(StretchCopyBitmap(nullptr, source.bitmap, 2, 1, target, 4, 2));
  EXPECT_FALSE(StretchCopyBitmap(source.screen, nullptr, 2, 1, target, 4, 2));
  EXPECT_EQ(target, kept);
  EXPECT_TRUE(DeleteObject(target));
}

TEST(DrawingHelpers, HeavySystemFontHasTheSystemFaceAndWeight900)
{
  LOGFONTW system{};
  ASSERT_TRUE(GetObject(GetStockObject(SYSTEM_FONT), sizeof system, &system));
  HFONT heavy = CreateHeavySystemFont();
  ASSERT_TRUE(heavy);
  LOGFONTW record{};
  ASSERT_TRUE(GetObject(heavy, sizeof record, &record));
  EXPECT_EQ(record.lfWeight, 900);
  EXPECT_EQ(record.lfHeight, system.lfHeight);
  EXPECT_EQ(std::u16string(record.lfFaceName), std::u16string(system.lfFaceName));
  EXPECT_TRUE(DeleteObject(heavy));
}

}  // namespace
