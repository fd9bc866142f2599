#include "window_helpers.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "testing/ui_harness.h"
#include "user/user.h"

namespace {

TEST(ScreenHelpers, ScalesAgainstThe240By320Layout)
{
  kvtest::SetScreenSize(480, 640);
  EXPECT_FLOAT_EQ(GetScreenScaleX(), 2.0f);
  EXPECT_FLOAT_EQ(GetScreenScaleY(), 2.0f);
  RECT rect = {1, 2, 3, 4};
  GetScreenSize(rect);
  EXPECT_EQ(rect.left, 1);
  EXPECT_EQ(rect.top, 2);
  EXPECT_EQ(rect.right, 480);
  EXPECT_EQ(rect.bottom, 640);

  kvtest::SetScreenSize(240, 320);
  EXPECT_FLOAT_EQ(GetScreenScaleX(), 1.0f);
  EXPECT_FLOAT_EQ(GetScreenScaleY(), 1.0f);
}

// The whole-number scales are the ones the screen has upright, so a landscape screen's layout
// does not collapse (240 / 320 truncates to 0) or stretch one way only.
TEST(ScreenHelpers, UprightScalesKeepWhenTheScreenTurns)
{
  struct Case {
    int width, height;
    int scale;
  };
  for (const Case& c : {Case{240, 320, 1}, Case{320, 240, 1}, Case{480, 640, 2}, Case{640, 480, 2}}) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    kvtest::SetScreenSize(c.width, c.height);
    EXPECT_EQ(c.scale, GetUprightScaleX());
    EXPECT_EQ(c.scale, GetUprightScaleY());
  }
  kvtest::SetScreenSize(240, 320);
}

TEST(ScreenHelpers, TheScreenRectangleHasTheScreensOwnShape)
{
  for (auto [width, height] : {std::pair{240, 320}, std::pair{320, 240}, std::pair{480, 640}, std::pair{640, 480}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    kvtest::SetScreenSize(width, height);
    RECT rect{};
    GetScreenSize(rect);
    EXPECT_EQ(width, rect.right);
    EXPECT_EQ(height, rect.bottom);
  }
  kvtest::SetScreenSize(240, 320);
}

// A window of a class of the test's own.
class Windows : public ::testing::Test {
 protected:
  void SetUp() override
  {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"CommonTestWindow";
    ASSERT_NE(RegisterClassW(&wc), 0);
  }
  void TearDown() override
  {
    kvtest::DestroyThreadWindows();
    UnregisterClassW(u"CommonTestWindow", nullptr);
  }

  static HWND Create(const WCHAR* title, DWORD style = WS_POPUP, HWND parent = nullptr)
  {
    return CreateWindowExW(0, u"CommonTestWindow", title, style, 0, 0, 100, 100, parent, nullptr, nullptr, nullptr);
  }
};

TEST_F(Windows, MainWindowIsFoundByItsTitle)
{
  EXPECT_FALSE(IsMainWindowOpen());
  HWND other = Create(u"KorvexPortal Help");
  EXPECT_FALSE(IsMainWindowOpen());
  HWND main = Create(u"KorvexPortal");
  EXPECT_TRUE(IsMainWindowOpen());
  DestroyWindow(main);
  EXPECT_FALSE(IsMainWindowOpen());
  DestroyWindow(other);
}

TEST_F(Windows, DisablingTheInputMethodLeavesTheWindowWithoutContext)
{
  HWND window = Create(u"edit");
  HIMC context = ImmGetContext(window);
  EXPECT_NE(context, nullptr);
  ImmReleaseContext(window, context);
  EXPECT_TRUE(DisableImeForWindow(window));
  EXPECT_EQ(ImmGetContext(window), nullptr);
  EXPECT_FALSE(DisableImeForWindow(nullptr));
}

}  // namespace
