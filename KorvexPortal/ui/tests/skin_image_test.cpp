// Skin images: cut at the control's place in its parent, stretched, or a colour; built once
// and rebuilt after a release; shared sources stay their owner's. The frame and object-map
// helpers.
#include "skin_image.h"
#include "toolkit_fixture.h"

namespace {

using SkinImage = kvtest::ToolkitTest;

TEST_F(SkinImage, CutsStretchesOrFillsTheControlsBackground)
{
  HBITMAP dialogBackground = kvtest::MakeGradientBitmap(240, 320);
  HBITMAP small = kvtest::MakeGradientBitmap(2, 2);
  HWND control = MakeStatic(u"", RECT{30, 40, 130, 70});
  struct Case {
    const char* name;
    std::function<void(CSkinImage&)> setUp;
    COLORREF topLeft, bottomRight;
  };
  const Case cases[] = {
      {"cut at the control's place", [&](CSkinImage& i) { i.Attach(&dialogBackground, false); },
       RGB(30, 40, 128), RGB(129, 69, 128)},
      {"cut with an offset", [&](CSkinImage& i) { i.Attach(&dialogBackground, false); i.SetOffset(5, -40); },
       RGB(35, 0, 128), RGB(134, 29, 128)},
      {"stretched", [&](CSkinImage& i) { i.Attach(&small, true); }, RGB(0, 0, 128), RGB(1, 1, 128)},
      {"filled with a colour", [&](CSkinImage& i) { i.SetSource(RGB(9, 8, 7), true); }, RGB(9, 8, 7),
       RGB(9, 8, 7)},
      {"plain brush of a colour", [&](CSkinImage& i) { i.SetSource(RGB(1, 2, 3), false); }, RGB(1, 2, 3),
       RGB(1, 2, 3)},
  };
  for (const Case& c : cases) {
    CSkinImage image;
    c.setUp(image);
    HBRUSH brush = image.GetBrush(control);
    ASSERT_NE(nullptr, brush) << c.name;
    EXPECT_EQ(brush, image.GetBrush(control)) << c.name << ": built once";
    kvtest::Canvas canvas(100, 30);
    PaintBrush(canvas, brush);
    EXPECT_EQ(c.topLeft, canvas.At(0, 0)) << c.name;
    EXPECT_EQ(c.bottomRight, canvas.At(99, 29)) << c.name;
  }
  DeleteObject(dialogBackground);
  DeleteObject(small);
}

TEST_F(SkinImage, ContentIsDrawnOverTheBackgroundButNotIntoAPlainBrush)
{
  HWND control = MakeStatic(u"", RECT{0, 0, 20, 10});
  int painted = 0;
  auto paint = [&](HDC dc, const RECT& client) {
    ++painted;
    EXPECT_EQ(20, client.right);
    EXPECT_EQ(10, client.bottom);
    SetPixel(dc, 3, 4, RGB(0, 0, 255));
  };
  CSkinImage filled;
  filled.SetSource(RGB(255, 255, 255), true);
  kvtest::Canvas canvas(20, 10);
  PaintBrush(canvas, filled.GetBrush(control, paint));
  EXPECT_EQ(RGB(0, 0, 255), canvas.At(3, 4));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(4, 4));
  filled.GetBrush(control, paint);
  EXPECT_EQ(1, painted) << "the content is drawn once, while the brush is built";
  filled.Release();
  filled.GetBrush(control, paint);
  EXPECT_EQ(2, painted) << "a release rebuilds";

  CSkinImage plain;
  plain.SetSource(RGB(255, 255, 255), false);
  plain.GetBrush(control, paint);
  EXPECT_EQ(2, painted);

  CSkinImage empty;
  EXPECT_EQ(nullptr, empty.GetBrush(control, paint)) << "no source and no colour: the default background";
  EXPECT_EQ(2, painted);
}

TEST_F(SkinImage, ASharedSourceOutlivesItsUsersAndAnOwnedOneDoesNot)
{
  auto alive = [](HBITMAP bitmap) {
    BITMAP info{};
    return GetObjectW(bitmap, sizeof(info), &info) != 0;
  };
  HBITMAP shared = kvtest::MakeGradientBitmap(240, 320);
  HWND first = MakeStatic(u"", RECT{0, 0, 10, 10}, 1);
  HWND second = MakeStatic(u"", RECT{50, 60, 60, 70}, 2);
  HBITMAP own = kvtest::MakeGradientBitmap(4, 4);
  {
    CSkinImage a, b;
    a.Attach(&shared, false);
    b.Attach(&shared, false);
    kvtest::Canvas canvas(10, 10);
    PaintBrush(canvas, b.GetBrush(second));
    EXPECT_EQ(RGB(50, 60, 128), canvas.At(0, 0)) << "each cuts its own piece";
    PaintBrush(canvas, a.GetBrush(first));
    EXPECT_EQ(RGB(0, 0, 128), canvas.At(0, 0));
    a.AttachBitmap(own);
    EXPECT_TRUE(alive(shared)) << "taking a bitmap of its own leaves the shared one";
    b.SetSource(RGB(0, 0, 0), true);
    EXPECT_TRUE(alive(shared));
    EXPECT_TRUE(alive(own));
  }
  EXPECT_TRUE(alive(shared));
  EXPECT_FALSE(alive(own)) << "an owned source goes with its image";
  DeleteObject(shared);
}

TEST(SkinDrawing, FrameIsOnePixelOnEverySide)
{
  kvtest::Canvas canvas(10, 8);
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  EXPECT_TRUE(FrameRectWithBrush(canvas.dc, RECT{1, 1, 9, 7}, blue));
  EXPECT_EQ(kvtest::Edges(RECT{1, 1, 9, 7}), kvtest::Edges(canvas.Ink()));
  for (POINT p : {POINT{1, 1}, POINT{8, 1}, POINT{1, 6}, POINT{8, 6}, POINT{4, 1}, POINT{4, 6}, POINT{1, 3}, POINT{8, 3}})
    EXPECT_EQ(RGB(0, 0, 255), canvas.At(p.x, p.y)) << p.x << "," << p.y;
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(2, 2));
  EXPECT_EQ(RGB(255, 255, 255), canvas.At(7, 5));
  DeleteObject(blue);

  SIZE size{};
  HBITMAP bitmap = kvtest::MakeGradientBitmap(7, 3);
  EXPECT_TRUE(GetBitmapSize(bitmap, &size));
  EXPECT_EQ(7, size.cx);
  EXPECT_EQ(3, size.cy);
  CSimpleMap<int, HGDIOBJ> objects;
  objects.Add(1, bitmap);
  objects.Add(2, CreateSolidBrush(RGB(1, 1, 1)));
  DeleteGdiObjectMap(objects);
  EXPECT_EQ(0, objects.GetSize());
  EXPECT_FALSE(GetBitmapSize(bitmap, &size)) << "deleted";
}

}  // namespace
