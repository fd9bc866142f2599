// Popup menus tracked in their own loop: chosen by tap and by keys, dismissed, grey items that
// cannot be chosen, owner-drawn items measured and drawn by the owner, and the release of the
// opening tap.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"
#include "windows.h"

using namespace kvtest;

namespace {

constexpr int kItemWidth = 100;
constexpr int kItemHeight = 20;
constexpr int kNotDone = -12345;

template <class Condition>
bool WaitFor(Condition condition, int boundMs = 10000)
{
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::yield();
  }
  return true;
}

// Owner-drawn items answer WM_MEASUREITEM with a fixed size, so taps can aim at them.
std::optional<LRESULT> MeasureFixed(HWND, UINT message, WPARAM, LPARAM lParam)
{
  if (message == WM_MEASUREITEM) {
    auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
    measure->itemWidth = kItemWidth;
    measure->itemHeight = kItemHeight;
    return TRUE;
  }
  if (message == WM_DRAWITEM)
    return TRUE;
  return std::nullopt;
}

class MenuTracking : public ::testing::Test {
 protected:
  void SetUp() override
  {
    // The owner's own painting is not what these tests look at.
    for (UINT message : {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT})
      log.Ignore(message);
    ui.Invoke([&] {
      owner = CreateRecordingWindow(log, {.name = "owner", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320},
                                          .handler = MeasureFixed});
      // 付款 (101), separator, 退出 (102, grey), 帮助 (103): all owner-drawn, one a separator.
      menu = CreatePopupMenu();
      AppendMenuW(menu, MF_OWNERDRAW, 101, nullptr);
      AppendMenuW(menu, MF_SEPARATOR, 0x800, nullptr);
      AppendMenuW(menu, MF_OWNERDRAW | MF_GRAYED, 102, nullptr);
      AppendMenuW(menu, MF_OWNERDRAW, 103, nullptr);
    });
  }
  void TearDown() override
  {
    ui.Invoke([&] {
      DestroyMenu(menu);
      DestroyThreadWindows();
    });
  }

  // Opens the menu on the UI thread with its bottom-left corner at (20, 300) and waits for
  // its window.
  HWND Open(UINT flags)
  {
    ui.Post([this, flags] { result = TrackPopupMenuEx(menu, flags | TPM_BOTTOMALIGN, 20, 300, owner, nullptr); });
    HWND window = WaitForTopLevelWindow(u"MNU", u"");
    EXPECT_TRUE(RunUntilIdle());
    return window;
  }
  int Result()
  {
    EXPECT_TRUE(WaitFor([&] { return result != kNotDone; })) << "the menu is still open";
    return result;
  }
  // The screen point in the middle of an item (by position).
  POINT ItemPoint(HWND window, int position)
  {
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    int top = position == 0 ? 0 : position == 1 ? kItemHeight : position == 2 ? kItemHeight + 6 : kItemHeight * 2 + 6;
    return {origin.x + kItemWidth / 2, origin.y + top + kItemHeight / 2};
  }

  device::testing::ScopedDeviceRoot root;
  MessageLog log;
  UiThread ui;
  HWND owner = nullptr;
  HMENU menu = nullptr;
  std::atomic<int> result{kNotDone};
};

TEST_F(MenuTracking, TheMenuWindowIsATopmostMnuWithAnEmptyTitleAboveThePoint)
{
  HWND window = Open(TPM_RETURNCMD);
  ASSERT_NE(nullptr, window);
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ(20, rect.left);
  EXPECT_EQ(300, rect.bottom) << "TPM_BOTTOMALIGN puts the bottom at y";
  EXPECT_EQ(kItemWidth + 2, rect.right - rect.left);
  EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
  EXPECT_EQ(owner, GetWindow(window, GW_OWNER));
  EXPECT_EQ(0, GetWindowTextLengthW(window));
  EXPECT_TRUE(PressKey(VK_ESCAPE));
  EXPECT_EQ(0, Result());
  EXPECT_FALSE(IsWindow(window)) << "the menu window goes with the menu";
}

TEST_F(MenuTracking, ATapChoosesTheItemUnderIt)
{
  HWND window = Open(TPM_RETURNCMD);
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(Tap(ItemPoint(window, 3)));
  EXPECT_EQ(103, Result());
}

TEST_F(MenuTracking, KeysMoveOverSeparatorsAndEnterChooses)
{
  struct Case {
    std::vector<UINT> keys;
    int chosen;
  };
  const Case cases[] = {
      {{VK_DOWN, VK_RETURN}, 101},                    // the first item
      {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, 103},  // over the separator and past the grey item
      {{VK_UP, VK_RETURN}, 103},                      // up from nothing: the last item
      {{VK_UP, VK_UP, VK_RETURN, VK_ESCAPE}, 0},      // the grey item cannot be chosen
      {{VK_RETURN, VK_ESCAPE}, 0},                    // nothing selected
  };
  for (const Case& c : cases) {
    result = kNotDone;
    ASSERT_NE(nullptr, Open(TPM_RETURNCMD));
    for (UINT key : c.keys)
      ASSERT_TRUE(PressKey(key));
    EXPECT_EQ(c.chosen, Result()) << c.keys.size() << " keys";
  }
}

TEST_F(MenuTracking, TappingAGreyItemOrTheSeparatorKeepsTheMenuOpen)
{
  HWND window = Open(TPM_RETURNCMD);
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(Tap(ItemPoint(window, 2)));
  ASSERT_TRUE(Tap(ItemPoint(window, 1)));
  EXPECT_EQ(kNotDone, result.load());
  EXPECT_TRUE(IsWindow(window));
  ASSERT_TRUE(Tap(ItemPoint(window, 0)));
  EXPECT_EQ(101, Result());
}

TEST_F(MenuTracking, ATapOutsideDismissesTheMenu)
{
  ASSERT_NE(nullptr, Open(TPM_RETURNCMD));
  log.Clear();
  ASSERT_TRUE(Tap({200, 20}));
  EXPECT_EQ(0, Result());
  for (const auto& m : log.Messages())
    EXPECT_NE(static_cast<UINT>(WM_LBUTTONDOWN), m.message) << "the dismissing tap reaches no window";
}

TEST_F(MenuTracking, WithoutReturnCmdTheChoiceIsPostedAsACommand)
{
  HWND window = Open(0);
  ASSERT_NE(nullptr, window);
  log.Ignore(WM_DRAWITEM);
  log.Clear();
  ASSERT_TRUE(Tap(ItemPoint(window, 0)));
  EXPECT_EQ(TRUE, Result());
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ("", log.Mismatch({{"owner", WM_COMMAND, posted | wparam | lparam, MAKEWPARAM(101, 0), 0}}, "chosen by tap"));
}

TEST_F(MenuTracking, TheOwnerMeasuresWhenTheMenuOpensAndDrawsAfter)
{
  log.Clear();
  HWND window = Open(TPM_RETURNCMD);
  ASSERT_NE(nullptr, window);
  EXPECT_EQ("", log.Mismatch({{"owner", WM_INITMENUPOPUP, sent | wparam, reinterpret_cast<WPARAM>(menu)},
                              {"owner", WM_MEASUREITEM, sent | wparam, 0},
                              {"owner", WM_MEASUREITEM, sent | wparam, 0},
                              {"owner", WM_MEASUREITEM, sent | wparam, 0},
                              {"owner", WM_DRAWITEM, sent | wparam, 0},
                              {"owner", WM_DRAWITEM, sent | wparam, 0},
                              {"owner", WM_DRAWITEM, sent | wparam, 0}},
                             "opening an owner-drawn menu of three items and a separator"));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  Result();
}

TEST_F(MenuTracking, DrawItemCarriesTheItemTheMenuAndTheSelection)
{
  std::vector<DRAWITEMSTRUCT> draws;
  std::vector<MEASUREITEMSTRUCT> measures;
  ui.Invoke([&] {
    DestroyWindow(owner);
    owner = CreateRecordingWindow(
        log, {.name = "owner", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320},
              .handler = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                if (message == WM_DRAWITEM)
                  draws.push_back(*reinterpret_cast<DRAWITEMSTRUCT*>(lParam));
                if (message == WM_MEASUREITEM)
                  measures.push_back(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
                return MeasureFixed(hwnd, message, wParam, lParam);
              }});
  });
  HWND window = Open(TPM_RETURNCMD);
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(PressKey(VK_DOWN));
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  Result();
  ASSERT_EQ(3u, measures.size());
  EXPECT_EQ(static_cast<UINT>(ODT_MENU), measures[0].CtlType);
  EXPECT_EQ(102u, measures[1].itemID);
  ASSERT_EQ(6u, draws.size()) << "drawn when shown and again when the selection moved";
  const UINT ids[] = {101, 102, 103};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(ids[i], draws[i].itemID);
    EXPECT_EQ(static_cast<UINT>(ODT_MENU), draws[i].CtlType);
    EXPECT_EQ(reinterpret_cast<HWND>(menu), draws[i].hwndItem);
    EXPECT_NE(nullptr, draws[i].hDC);
    EXPECT_EQ(0u, draws[i].itemState & ODS_SELECTED);
  }
  EXPECT_EQ(static_cast<UINT>(ODS_GRAYED), draws[1].itemState);
  EXPECT_EQ(static_cast<UINT>(ODS_SELECTED), draws[3].itemState) << "the first item selected by Down";
  EXPECT_EQ(0, draws[3].rcItem.top);
  EXPECT_EQ(kItemHeight + 6, draws[4].rcItem.top) << "below the separator";
}

TEST_F(MenuTracking, TheReleaseOfTheOpeningTapDoesNotCloseTheMenu)
{
  // A button that opens the menu when pressed, as the soft keys do.
  HWND button = nullptr;
  ui.Invoke([&] {
    button = CreateRecordingWindow(
        log, {.name = "key", .style = WS_CHILD | WS_VISIBLE, .parent = owner, .rect = {0, 290, 120, 320},
              .handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
                if (message != WM_LBUTTONDOWN)
                  return std::nullopt;
                result = TrackPopupMenuEx(menu, TPM_BOTTOMALIGN | TPM_RETURNCMD, 0, 290, owner, nullptr);
                return 0;
              }});
  });
  ASSERT_TRUE(TapWindow(button));
  HWND window = FindWindowW(u"MNU", u"");
  ASSERT_NE(nullptr, window) << "the menu is still open after the tap that opened it";
  EXPECT_EQ(kNotDone, result.load());
  ASSERT_TRUE(Tap(ItemPoint(window, 0)));
  EXPECT_EQ(101, Result());
}

TEST_F(MenuTracking, BadArgumentsFailWithoutAWindow)
{
  ui.Invoke([&] {
    HMENU empty = CreatePopupMenu();
    EXPECT_FALSE(TrackPopupMenuEx(empty, TPM_RETURNCMD, 0, 0, owner, nullptr));
    DestroyMenu(empty);
    EXPECT_FALSE(TrackPopupMenuEx(empty, TPM_RETURNCMD, 0, 0, owner, nullptr));
    EXPECT_FALSE(TrackPopupMenuEx(menu, TPM_RETURNCMD, 0, 0, nullptr, nullptr));
  });
  EXPECT_EQ(nullptr, FindWindowW(u"MNU", u""));
}

}  // namespace
