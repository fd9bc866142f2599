// The skinned edit: the skin shows through while unfocused, the frame strips follow the edit and
// paint black or, while it has the focus, the focus colour; the strips go with DestroyBorders.
#include "skin_edit.h"
#include "testing/screenshot.h"
#include "toolkit_fixture.h"

namespace {

class SkinEdit : public kvtest::ToolkitTest {
 protected:
  void SetUp() override
  {
    ToolkitTest::SetUp();
    skin = kvtest::MakeGradientBitmap(240, 320);
    hwnd = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER | WS_DLGFRAME, 20, 50, 120, 24,
                           parent, reinterpret_cast<HMENU>(static_cast<intptr_t>(1001)), nullptr, nullptr);
    ASSERT_NE(nullptr, hwnd);
    ASSERT_TRUE(edit.SubclassEdit(hwnd, RGB(0, 0, 255)));
    edit.m_background.Attach(&skin, false);
  }
  void TearDown() override
  {
    ToolkitTest::TearDown();
    DeleteObject(skin);
  }
  // The strips: the parent's children other than the edit, by their rectangles in the parent.
  std::vector<RECT> Strips() const
  {
    std::vector<RECT> rects;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
      if (child == hwnd)
        continue;
      RECT r;
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
      rects.push_back(r);
    }
    return rects;
  }
  COLORREF ParentPixel(int x, int y) const
  {
    // The screen's pixel: the parent's own DC does not reach under its children.
    POINT p{x, y};
    ClientToScreen(parent, &p);
    HDC dc = GetDC(nullptr);
    COLORREF colour = GetPixel(dc, p.x, p.y);
    ReleaseDC(nullptr, dc);
    return colour;
  }
  using Edges = std::tuple<LONG, LONG, LONG, LONG>;
  // The strips as SubclassEdit lays them over an edit at the rectangle, and as they are.
  std::vector<Edges> ExpectedStrips(RECT e) const
  {
    int d = FrameWidth();
    std::vector<Edges> expected = {{e.left, e.top, e.right, e.top + d},
                                   {e.left, e.bottom - d, e.right, e.bottom},
                                   {e.left, e.top + d, e.left + d, e.bottom - d},
                                   {e.right - d, e.top + d, e.right, e.bottom - d}};
    std::sort(expected.begin(), expected.end());
    return expected;
  }
  std::vector<Edges> SortedStrips() const
  {
    std::vector<Edges> strips;
    for (const RECT& r : Strips())
      strips.push_back(kvtest::Edges(r));
    std::sort(strips.begin(), strips.end());
    return strips;
  }
  int FrameWidth() const
  {
    RECT window, client;
    GetWindowRect(hwnd, &window);
    GetClientRect(hwnd, &client);
    return ((window.right - window.left) - client.right) / 2;
  }

  HBITMAP skin = nullptr;
  HWND hwnd = nullptr;
  CSkinEdit edit;
};

TEST_F(SkinEdit, StripsLieOverTheFrame)
{
  EXPECT_EQ(0, GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_DLGFRAME) << "the dialog frame style goes";
  ASSERT_GT(FrameWidth(), 0);
  EXPECT_EQ(ExpectedStrips({20, 50, 140, 74}), SortedStrips());
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (child != hwnd) {
      EXPECT_TRUE(GetWindowLongPtrW(child, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    }
  }
}

TEST_F(SkinEdit, FrameTakesTheFocusColourAndTheSkinShowsOnlyWhileUnfocused)
{
  ASSERT_TRUE(kvtest::RunUntilIdle());
  int d = FrameWidth();
  EXPECT_EQ(RGB(0, 0, 0), ParentPixel(60, 50)) << "black frame while unfocused";
  EXPECT_EQ(RGB(0, 0, 0), ParentPixel(20, 60));
  EXPECT_EQ(RGB(20, 50, 128), ParentPixel(20 + d, 50 + d)) << "the skin from the edit's corner shows through";
  kvtest::SaveScreenshot("SkinEdit_unfocused", parent);

  SetFocus(hwnd);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(RGB(0, 0, 255), ParentPixel(60, 50)) << "focus colour";
  EXPECT_EQ(RGB(0, 0, 255), ParentPixel(139, 60));
  EXPECT_NE(RGB(20, 50, 128), ParentPixel(20 + d, 50 + d)) << "the edit's own colours while focused";
  kvtest::SaveScreenshot("SkinEdit_focused", parent);

  SetFocus(parent);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(RGB(0, 0, 0), ParentPixel(60, 50));
}

TEST_F(SkinEdit, StripsFollowTheEditAndGoWithDestroyBorders)
{
  // Moved, then moved and resized: the strips lie exactly as they would at creation.
  for (RECT to : {RECT{30, 100, 150, 124}, RECT{10, 10, 210, 50}}) {
    MoveWindow(hwnd, to.left, to.top, to.right - to.left, to.bottom - to.top, TRUE);
    EXPECT_EQ(ExpectedStrips(to), SortedStrips()) << to.left << "," << to.top;
  }
  SetWindowPos(hwnd, nullptr, 40, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_EQ(ExpectedStrips({40, 60, 240, 100}), SortedStrips()) << "a move alone";

  WNDPROC subclassed = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
  edit.DestroyBorders();
  EXPECT_TRUE(Strips().empty());
  EXPECT_NE(subclassed, reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)))
      << "the edit has its own procedure back";
  EXPECT_TRUE(IsWindow(hwnd));
}

}  // namespace
