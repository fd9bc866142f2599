// Drawing into memory device contexts: fills, pattern brushes, blits, colour keys, alpha,
// lines and the clip, probed pixel by pixel.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <functional>

#include "internal/gdi/bitmap_pixels.h"
#include "testing/canvas.h"
#include "windows.h"

using kvtest::Canvas;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

TEST(GdiDrawing, FillRectExcludesRightAndBottomEdges)
{
  Canvas canvas(10, 10);
  canvas.Fill(RECT{2, 3, 6, 7}, kRed);
  struct Probe {
    int x, y;
    COLORREF expected;
  } probes[] = {{2, 3, kRed}, {5, 6, kRed}, {6, 6, kWhite}, {5, 7, kWhite}, {1, 3, kWhite}, {2, 2, kWhite}};
  for (const Probe& p : probes)
    EXPECT_EQ(canvas.At(p.x, p.y), p.expected) << p.x << "," << p.y;
}

TEST(GdiDrawing, ColoursAreBgrInCOLORREFAndBlueFirstInMemory)
{
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 2, -1, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(dib && bits);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  EXPECT_EQ(SetPixel(dc, 0, 0, RGB(0x11, 0x22, 0x33)), RGB(0x11, 0x22, 0x33));
  auto* bytes = static_cast<BYTE*>(bits);
  EXPECT_EQ(bytes[0], 0x33);  // blue
  EXPECT_EQ(bytes[1], 0x22);  // green
  EXPECT_EQ(bytes[2], 0x11);  // red
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST(GdiDrawing, BottomUpDibSectionKeepsTheFirstRowLastInMemory)
{
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(dib);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  SetPixel(dc, 0, 0, kBlue);
  EXPECT_EQ(static_cast<uint32_t*>(bits)[1] & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(static_cast<uint32_t*>(bits)[0] & 0xFFFFFF, 0u);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

TEST(GdiDrawing, PatternBrushTilesFromTheBrushOrigin)
{
  // A 2x2 pattern: red at (0,0), blue elsewhere.
  Canvas pattern(2, 2, kBlue);
  SetPixel(pattern.dc, 0, 0, kRed);
  HBRUSH brush = CreatePatternBrush(pattern.bitmap);
  ASSERT_TRUE(brush);
  Canvas canvas(8, 8);
  RECT area{1, 1, 7, 7};
  FillRect(canvas.dc, &area, brush);
  // Tiles are aligned to the DC's origin, not to the rectangle: red at even coordinates.
  EXPECT_EQ(canvas.At(2, 2), kRed);
  EXPECT_EQ(canvas.At(4, 6), kRed);
  EXPECT_EQ(canvas.At(1, 1), kBlue);
  EXPECT_EQ(canvas.At(3, 2), kBlue);
  // Moving the brush origin by one moves the tiles.
  SetBrushOrgEx(canvas.dc, 1, 1, nullptr);
  FillRect(canvas.dc, &area, brush);
  EXPECT_EQ(canvas.At(1, 1), kRed);
  EXPECT_EQ(canvas.At(2, 2), kBlue);
  // The brush keeps its own copy of the bitmap.
  SetPixel(pattern.dc, 0, 0, kGreen);
  FillRect(canvas.dc, &area, brush);
  EXPECT_EQ(canvas.At(1, 1), kRed);
  DeleteObject(brush);
}

TEST(GdiDrawing, PatternBrushTilesEveryPixelFromAnyOrigin)
{
  auto patternColour = [](int x, int y) { return RGB(x * 60 + 10, y * 90 + 10, 200); };
  Canvas pattern(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x)
      SetPixel(pattern.dc, x, y, patternColour(x, y));
  HBRUSH brush = CreatePatternBrush(pattern.bitmap);
  ASSERT_TRUE(brush);
  const POINT origins[] = {{0, 0}, {1, 1}, {2, 0}, {-4, 3}, {7, -5}};
  for (POINT origin : origins) {
    Canvas canvas(11, 6);
    SetBrushOrgEx(canvas.dc, origin.x, origin.y, nullptr);
    RECT area{1, 1, 10, 5};
    FillRect(canvas.dc, &area, brush);
    for (int y = area.top; y < area.bottom; ++y)
      for (int x = area.left; x < area.right; ++x)
        ASSERT_EQ(canvas.At(x, y), patternColour(((x - origin.x) % 3 + 3) % 3, ((y - origin.y) % 2 + 2) % 2))
            << x << "," << y << " origin " << origin.x << "," << origin.y;
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(10, 5), RGB(255, 255, 255));
  }
  DeleteObject(brush);
}

TEST(GdiDrawing, BitBltCopiesAndClipsAtTheSurfaceEdges)
{
  Canvas source(4, 4, kGreen);
  SetPixel(source.dc, 3, 3, kRed);
  Canvas dest(6, 6);
  EXPECT_TRUE(BitBlt(dest.dc, 3, 3, 4, 4, source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dest.At(3, 3), kGreen);
  EXPECT_EQ(dest.At(5, 5), kGreen);
  EXPECT_EQ(dest.At(2, 2), kWhite);
  // A source offset.
  EXPECT_TRUE(BitBlt(dest.dc, 0, 0, 1, 1, source.dc, 3, 3, SRCCOPY));
  EXPECT_EQ(dest.At(0, 0), kRed);
}

TEST(GdiDrawing, BitBltWithinOneSurfaceCopiesFromTheOldPixels)
{
  Canvas canvas(6, 1);
  for (int x = 0; x < 6; ++x)
    SetPixel(canvas.dc, x, 0, RGB(x * 10, 0, 0));
  BitBlt(canvas.dc, 1, 0, 5, 1, canvas.dc, 0, 0, SRCCOPY);
  for (int x = 1; x < 6; ++x)
    EXPECT_EQ(canvas.At(x, 0), RGB((x - 1) * 10, 0, 0)) << x;
}

TEST(GdiDrawing, StretchBltScalesByNearestPixelAndMirrors)
{
  Canvas source(2, 1);
  SetPixel(source.dc, 0, 0, kRed);
  SetPixel(source.dc, 1, 0, kBlue);
  Canvas dest(4, 2);
  EXPECT_TRUE(StretchBlt(dest.dc, 0, 0, 4, 2, source.dc, 0, 0, 2, 1, SRCCOPY));
  COLORREF doubled[] = {kRed, kRed, kBlue, kBlue};
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(dest.At(x, 0), doubled[x]) << x;
    EXPECT_EQ(dest.At(x, 1), doubled[x]) << x;
  }
  // A negative width mirrors.
  EXPECT_TRUE(StretchBlt(dest.dc, 4, 0, -4, 1, source.dc, 0, 0, 2, 1, SRCCOPY));
  EXPECT_EQ(dest.At(0, 0), kBlue);
  EXPECT_EQ(dest.At(3, 0), kRed);
}

// Every destination pixel against the nearest-pixel rule worked out on its own: source offset
// (2i + 1) * |sw| / (2 * |w|), mirrored when the signs differ; 1:1 copies, stretches, shrinks,
// mirrors, sources partly off their surface and a clip.
TEST(GdiDrawing, StretchBltFollowsTheNearestPixelRuleEverywhere)
{
  auto sourceColour = [](int x, int y) { return RGB(x * 30 + 5, y * 40 + 5, 77); };
  Canvas source(7, 5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      SetPixel(source.dc, x, y, sourceColour(x, y));
  struct Case {
    int x, y, w, h, sx, sy, sw, sh;
    bool clipped;
  };
  const Case cases[] = {
      {0, 0, 7, 5, 0, 0, 7, 5, false},     {3, 2, 7, 5, 0, 0, 7, 5, false},   {-2, -1, 7, 5, 1, 1, 7, 5, false},
      {1, 1, 7, 5, -3, 2, 7, 5, false},    {0, 0, 12, 9, 0, 0, 7, 5, false},  {2, 1, 5, 3, 0, 0, 7, 5, false},
      {11, 8, -9, -6, 0, 0, 7, 5, false},  {0, 0, 9, 6, 6, 4, -7, -5, false}, {1, 0, 10, 9, 2, 1, 3, 2, true},
      {0, 0, 12, 9, 0, 0, 7, 5, true},     {4, 3, 7, 5, 0, 0, 7, 5, true},
  };
  const COLORREF background = RGB(1, 2, 3);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.w << "x" << c.h << " from " << c.sx << "," << c.sy
                                    << " " << c.sw << "x" << c.sh << (c.clipped ? " clipped" : ""));
    Canvas dest(12, 9, background);
    const RECT clip{2, 1, 9, 7};
    int unclipped = SaveDC(dest.dc);
    if (c.clipped)
      IntersectClipRect(dest.dc, clip.left, clip.top, clip.right, clip.bottom);
    ASSERT_TRUE(StretchBlt(dest.dc, c.x, c.y, c.w, c.h, source.dc, c.sx, c.sy, c.sw, c.sh, SRCCOPY));
    RestoreDC(dest.dc, unclipped);  // reading sees every pixel
    // The source coordinate of destination coordinate d along one axis, or -1 for none.
    auto map = [](int d, int x, int w, int sx, int sw, int limit) {
      int left = std::min(x, x + w), width = std::abs(w), sourceLeft = std::min(sx, sx + sw), sourceWidth = std::abs(sw);
      if (d < left || d >= left + width)
        return -1;
      int j = (2 * (d - left) + 1) * sourceWidth / (2 * width);
      int s = sourceLeft + ((w < 0) != (sw < 0) ? sourceWidth - 1 - j : j);
      return s >= 0 && s < limit ? s : -1;
    };
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 12; ++x) {
        int fx = map(x, c.x, c.w, c.sx, c.sw, 7), fy = map(y, c.y, c.h, c.sy, c.sh, 5);
        bool inClip = !c.clipped || (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom);
        COLORREF expected = fx >= 0 && fy >= 0 && inClip ? sourceColour(fx, fy) : background;
        ASSERT_EQ(dest.At(x, y), expected) << "at " << x << "," << y;
      }
  }
}

TEST(GdiDrawing, TransparentImageSkipsTheKeyColour)
{
  Canvas icon(3, 1, kWhite);
  SetPixel(icon.dc, 1, 0, kRed);
  Canvas dest(3, 1, kGreen);
  // From a bitmap handle, as the toolkit draws icons.
  EXPECT_TRUE(TransparentImage(dest.dc, 0, 0, 3, 1, icon.bitmap, 0, 0, 3, 1, kWhite));
  EXPECT_EQ(dest.At(0, 0), kGreen);
  EXPECT_EQ(dest.At(1, 0), kRed);
  EXPECT_EQ(dest.At(2, 0), kGreen);
  // From a DC, stretched.
  Canvas wide(6, 1, kGreen);
  EXPECT_TRUE(TransparentImage(wide.dc, 0, 0, 6, 1, icon.dc, 0, 0, 3, 1, kWhite));
  COLORREF expected[] = {kGreen, kGreen, kRed, kRed, kGreen, kGreen};
  for (int x = 0; x < 6; ++x)
    EXPECT_EQ(wide.At(x, 0), expected[x]) << x;
}

TEST(GdiDrawing, AlphaBlendWithConstantAlpha)
{
  Canvas veil(1, 1, kBlack);
  Canvas dest(2, 1, kWhite);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 51, 0};
  EXPECT_TRUE(AlphaBlend(dest.dc, 0, 0, 2, 1, veil.dc, 0, 0, 1, 1, blend));
  // 255 * (255 - 51) / 255 = 204.
  EXPECT_EQ(dest.At(0, 0), RGB(204, 204, 204));
  EXPECT_EQ(dest.At(1, 0), RGB(204, 204, 204));
  BLENDFUNCTION opaque{AC_SRC_OVER, 0, 255, 0};
  Canvas red(1, 1, kRed);
  EXPECT_TRUE(AlphaBlend(dest.dc, 0, 0, 1, 1, red.dc, 0, 0, 1, 1, opaque));
  EXPECT_EQ(dest.At(0, 0), kRed);
}

TEST(GdiDrawing, LinesStopBeforeTheirEndPoint)
{
  Canvas canvas(6, 6);
  HPEN pen = CreatePen(PS_SOLID, 1, kBlue);
  HGDIOBJ old = SelectObject(canvas.dc, pen);
  MoveToEx(canvas.dc, 0, 0, nullptr);
  LineTo(canvas.dc, 4, 0);
  LineTo(canvas.dc, 4, 4);
  EXPECT_EQ(canvas.At(0, 0), kBlue);
  EXPECT_EQ(canvas.At(3, 0), kBlue);
  EXPECT_EQ(canvas.At(4, 0), kBlue);  // the start of the second line
  EXPECT_EQ(canvas.At(4, 3), kBlue);
  EXPECT_EQ(canvas.At(4, 4), kWhite);
  POINT position;
  MoveToEx(canvas.dc, 0, 0, &position);
  EXPECT_EQ(position.x, 4);
  EXPECT_EQ(position.y, 4);
  SelectObject(canvas.dc, old);
  DeleteObject(pen);
}

TEST(GdiDrawing, RectangleFramesWithThePenAndFillsWithTheBrush)
{
  Canvas canvas(6, 6);
  HBRUSH brush = CreateSolidBrush(kGreen);
  HGDIOBJ oldBrush = SelectObject(canvas.dc, brush);
  Rectangle(canvas.dc, 1, 1, 5, 5);
  EXPECT_EQ(canvas.At(1, 1), kBlack);
  EXPECT_EQ(canvas.At(4, 4), kBlack);
  EXPECT_EQ(canvas.At(2, 2), kGreen);
  EXPECT_EQ(canvas.At(5, 5), kWhite);
  SelectObject(canvas.dc, oldBrush);
  DeleteObject(brush);
}

TEST(GdiDrawing, PolygonFillsItsInside)
{
  Canvas canvas(10, 10);
  HBRUSH brush = CreateSolidBrush(kRed);
  SelectObject(canvas.dc, brush);
  SelectObject(canvas.dc, GetStockObject(NULL_PEN));
  POINT triangle[] = {{0, 0}, {8, 0}, {0, 8}};
  Polygon(canvas.dc, triangle, 3);
  EXPECT_EQ(canvas.At(1, 1), kRed);
  EXPECT_EQ(canvas.At(7, 7), kWhite);
  SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

TEST(GdiDrawing, DrawFocusRectTwiceRestoresThePixels)
{
  Canvas canvas(8, 8, kGreen);
  RECT frame{1, 1, 7, 7};
  DrawFocusRect(canvas.dc, &frame);
  EXPECT_EQ(canvas.At(1, 1), RGB(255, 0, 255));  // a dot, inverted
  EXPECT_EQ(canvas.At(2, 1), kGreen);            // the gap between two dots
  EXPECT_EQ(canvas.At(3, 3), kGreen);            // the inside is untouched
  DrawFocusRect(canvas.dc, &frame);
  // A frame one pixel high or wide is a dotted line, not inverted twice.
  RECT line{0, 0, 8, 1};
  DrawFocusRect(canvas.dc, &line);
  EXPECT_EQ(canvas.At(0, 0), RGB(255, 0, 255));
  DrawFocusRect(canvas.dc, &line);
  RECT column{0, 0, 1, 8};
  DrawFocusRect(canvas.dc, &column);
  EXPECT_EQ(canvas.At(0, 2), RGB(255, 0, 255));
  DrawFocusRect(canvas.dc, &column);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      ASSERT_EQ(canvas.At(x, y), kGreen) << x << "," << y;
}

TEST(GdiDrawing, ClipRectanglesAndViewportOrigin)
{
  Canvas canvas(10, 10);
  SaveDC(canvas.dc);
  IntersectClipRect(canvas.dc, 2, 2, 8, 8);
  ExcludeClipRect(canvas.dc, 4, 4, 6, 6);
  canvas.Fill(RECT{0, 0, 10, 10}, kRed);
  EXPECT_EQ(canvas.At(1, 1), CLR_INVALID);  // outside the clip
  RestoreDC(canvas.dc, -1);
  EXPECT_EQ(canvas.At(1, 1), kWhite);
  EXPECT_EQ(canvas.At(2, 2), kRed);
  EXPECT_EQ(canvas.At(4, 4), kWhite);
  EXPECT_EQ(canvas.At(7, 7), kRed);
  // The viewport origin shifts logical coordinates.
  SetViewportOrgEx(canvas.dc, 5, 5, nullptr);
  canvas.Fill(RECT{0, 0, 1, 1}, kBlue);
  SetViewportOrgEx(canvas.dc, 0, 0, nullptr);
  EXPECT_EQ(canvas.At(5, 5), kBlue);
}

}  // namespace

// Coordinates and sizes at the ends of the int range (with a viewport origin that moves them
// further) draw only what falls on the surface, in time, and never wrap round onto it.
TEST(GdiDrawing, FarOffCoordinatesDrawOnlyWhatFallsOnTheSurface)
{
  constexpr int kMin = INT_MIN, kMax = INT_MAX;
  constexpr RECT kNothing{8, 8, 0, 0};  // Ink() of an untouched canvas
  struct Case {
    const char* what;
    std::function<void(HDC)> draw;
    RECT ink;
  } cases[] = {
      {"FillRect beyond the right", [](HDC dc) { RECT r{kMax - 2, 0, kMax, 8}; FillRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH)); }, kNothing},
      {"FillRect over everything", [](HDC dc) { RECT r{kMin, kMin, kMax, kMax}; FillRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH)); }, {0, 0, 8, 8}},
      {"FrameRect over everything", [](HDC dc) { RECT r{kMin, kMin, kMax, kMax}; FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH)); }, kNothing},
      {"PatBlt from far left", [](HDC dc) { PatBlt(dc, kMin, 0, kMax, 8, BLACKNESS); }, {0, 3, 2, 8}},
      {"PatBlt past the right", [](HDC dc) { PatBlt(dc, kMax - 1, 0, kMax, 8, BLACKNESS); }, kNothing},
      {"a line across the int range", [](HDC dc) { MoveToEx(dc, kMin, 1, nullptr); LineTo(dc, kMax, 1); }, {0, 4, 8, 5}},
      {"a line from far away to the surface", [](HDC dc) { MoveToEx(dc, kMin, kMin, nullptr); LineTo(dc, 0, 0); }, {0, 0, 3, 3}},
      {"a polygon over everything",
       [](HDC dc) {
         SelectObject(dc, GetStockObject(BLACK_BRUSH));
         POINT points[] = {{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
         Polygon(dc, points, 4);
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
       },
       {0, 0, 8, 8}},
      {"a rectangle over everything",
       [](HDC dc) {
         SelectObject(dc, GetStockObject(BLACK_BRUSH));
         Rectangle(dc, kMin, kMin, kMax, kMax);
         SelectObject(dc, GetStockObject(WHITE_BRUSH));
       },
       {0, 0, 8, 8}},
      {"a wide pen's dot at the far corner",
       [](HDC dc) {
         HGDIOBJ old = SelectObject(dc, CreatePen(PS_SOLID, kMax, RGB(0, 0, 0)));
         MoveToEx(dc, kMax, kMax, nullptr);
         LineTo(dc, kMax - 1, kMax);
         DeleteObject(SelectObject(dc, old));
       },
       kNothing},
      {"SetPixel at the far corner", [](HDC dc) { SetPixel(dc, kMax, kMax, RGB(0, 0, 0)); }, kNothing},
      {"DrawFocusRect over everything", [](HDC dc) { RECT r{kMin, kMin, kMax, kMax}; DrawFocusRect(dc, &r); }, kNothing},
      {"StretchBlt of the widest mirrored width",
       [](HDC dc) {
         Canvas black(1, 1, RGB(0, 0, 0));
         StretchBlt(dc, kMax, 0, kMin, 8, black.dc, 0, 0, 1, 1, SRCCOPY);  // from -1 across
       },
       {2, 3, 8, 8}},
      {"StretchBlt past the right",
       [](HDC dc) {
         Canvas black(1, 1, RGB(0, 0, 0));
         StretchBlt(dc, kMax - 1, 0, kMax, 8, black.dc, 0, 0, kMin, 1, SRCCOPY);
       },
       kNothing},
  };
  for (const Case& c : cases) {
    Canvas canvas(8, 8);
    SetViewportOrgEx(canvas.dc, 3, 3, nullptr);
    c.draw(canvas.dc);
    SetViewportOrgEx(canvas.dc, 0, 0, nullptr);
    RECT ink = canvas.Ink();
    EXPECT_TRUE(EqualRect(&ink, &c.ink)) << c.what << ": " << ink.left << "," << ink.top << "," << ink.right << ","
                                         << ink.bottom;
  }
}

TEST(GdiDrawing, RectangleHelpersSaturateAtTheEndsOfTheRange)
{
  RECT r{INT_MAX - 1, INT_MIN + 1, INT_MAX, INT_MIN + 2};
  OffsetRect(&r, 5, -5);
  EXPECT_EQ(r.left, INT_MAX);
  EXPECT_EQ(r.top, INT_MIN);
  RECT wide{INT_MIN + 1, 0, INT_MAX - 1, 1};
  InflateRect(&wide, 3, 0);
  EXPECT_EQ(wide.left, INT_MIN);
  EXPECT_EQ(wide.right, INT_MAX);
}

TEST(GdiDrawing, BitmapSizesBeyondTheRangeAreRefused)
{
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 1, INT_MIN, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  EXPECT_EQ(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
  uint8_t pixels[16] = {};
  EXPECT_EQ(gdi_bitmap::CreateFromBgra(INT_MAX / 2, 1, pixels, 16), nullptr);  // its stride would not fit an int
  HBITMAP small = gdi_bitmap::CreateFromBgra(2, 2, pixels, 8);
  EXPECT_NE(small, nullptr);
  DeleteObject(small);
}
