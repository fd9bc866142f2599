// Drawing objects: selection, deletion rules, records read back, stock objects.
#include <gtest/gtest.h>

#include <cstring>

#include "windows.h"

namespace {

TEST(GdiObjects, SelectObjectReturnsThePreviousObjectOfItsKind)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HPEN pen = CreatePen(PS_SOLID, 2, RGB(0, 0, 255));
  HGDIOBJ firstBrush = SelectObject(dc, red);
  EXPECT_EQ(firstBrush, GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), static_cast<HGDIOBJ>(red));
  EXPECT_EQ(SelectObject(dc, firstBrush), static_cast<HGDIOBJ>(red));
  SelectObject(dc, GetStockObject(BLACK_PEN));
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_TRUE(DeleteObject(pen));
  EXPECT_TRUE(DeleteDC(dc));
}

TEST(GdiObjects, DeleteObjectNeverFreesASelectedObjectAndFailsForStaleHandles)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 4, 4);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_FALSE(DeleteObject(bitmap));  // selected: kept
  BITMAP record{};
  EXPECT_EQ(GetObject(bitmap, sizeof record, &record), static_cast<int>(sizeof record));
  EXPECT_EQ(record.bmWidth, 4);
  SetPixel(dc, 1, 1, RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(dc, 1, 1), RGB(1, 2, 3));  // still drawable
  SelectObject(dc, old);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_FALSE(DeleteObject(bitmap));  // stale
  EXPECT_EQ(GetObject(bitmap, sizeof record, &record), 0);
  // A new object in the freed slot is not reached through the stale handle.
  HBRUSH brush = CreateSolidBrush(0);
  EXPECT_FALSE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_FALSE(DeleteDC(dc));
}

TEST(GdiObjects, DeletingADcReleasesItsSelections)
{
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 2, 2);
  LOGFONTW record{};
  record.lfHeight = -20;
  HFONT font = CreateFontIndirect(&record);
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  SelectObject(dc, bitmap);
  SelectObject(dc, font);
  SelectObject(dc, brush);
  SaveDC(dc);
  EXPECT_TRUE(DeleteDC(dc));
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_EQ(CreateFontIndirect(nullptr), nullptr);
}

TEST(GdiObjects, FreeingADcEndsTheSelectionsItSaved)
{
  struct Case {
    const char* what;
    HDC (*make)();
    BOOL (*free)(HDC);
  } cases[] = {
      {"DeleteDC of a memory DC", [] { return CreateCompatibleDC(nullptr); }, [](HDC dc) { return DeleteDC(dc); }},
      {"ReleaseDC of the screen's DC", [] { return GetDC(nullptr); },
       [](HDC dc) { return static_cast<BOOL>(ReleaseDC(nullptr, dc)); }},
  };
  for (const Case& c : cases) {
    HDC dc = c.make();
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    SelectObject(dc, brush);
    SaveDC(dc);  // the saved state holds the brush...
    SelectObject(dc, GetStockObject(WHITE_BRUSH));  // ...the live one no longer does
    EXPECT_TRUE(c.free(dc)) << c.what;
    EXPECT_TRUE(DeleteObject(brush)) << c.what;
  }
}

TEST(GdiObjects, ABitmapIsSelectedIntoOneDcAtATime)
{
  HDC a = CreateCompatibleDC(nullptr);
  HDC b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(a, 2, 2);
  HGDIOBJ oldA = SelectObject(a, bitmap);
  EXPECT_EQ(SelectObject(b, bitmap), nullptr);
  SelectObject(a, oldA);
  HGDIOBJ oldB = SelectObject(b, bitmap);
  EXPECT_NE(oldB, nullptr);
  SelectObject(b, oldB);
  DeleteObject(bitmap);
  DeleteDC(a);
  DeleteDC(b);
}

TEST(GdiObjects, StockObjectsSurviveDeletion)
{
  HGDIOBJ white = GetStockObject(WHITE_BRUSH);
  EXPECT_TRUE(DeleteObject(white));
  LOGBRUSH record{};
  EXPECT_EQ(GetObject(white, sizeof record, &record), static_cast<int>(sizeof record));
  EXPECT_EQ(record.lbColor, RGB(255, 255, 255));
  EXPECT_EQ(GetObject(GetStockObject(NULL_BRUSH), sizeof record, &record), static_cast<int>(sizeof record));
  EXPECT_EQ(record.lbStyle, static_cast<UINT>(BS_NULL));
}

TEST(GdiObjects, FontsKeepTheirRecordAndTheSystemFontFollowsTheDensity)
{
  LOGFONTW system{};
  ASSERT_EQ(GetObject(GetStockObject(SYSTEM_FONT), sizeof system, &system), static_cast<int>(sizeof system));
  EXPECT_LT(system.lfHeight, 0);
  EXPECT_EQ(system.lfWeight, FW_NORMAL);
  system.lfWeight = FW_HEAVY;
  HFONT heavy = CreateFontIndirect(&system);
  LOGFONTW back{};
  ASSERT_EQ(GetObject(heavy, sizeof back, &back), static_cast<int>(sizeof back));
  EXPECT_EQ(back.lfWeight, FW_HEAVY);
  EXPECT_EQ(std::memcmp(back.lfFaceName, system.lfFaceName, sizeof back.lfFaceName), 0);
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(dc, heavy), GetStockObject(SYSTEM_FONT));
  EXPECT_FALSE(DeleteObject(heavy));
  DeleteDC(dc);
  EXPECT_TRUE(DeleteObject(heavy));
}

}  // namespace
