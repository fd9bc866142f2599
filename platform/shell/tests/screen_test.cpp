// The work area with and without the task bar, the soft input panel and its notifications,
// dialog sizing and the panel's state across activation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <ostream>
#include <vector>

#include "shell/shell.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "windows.h"

// Rectangles compared and printed by the checks.
inline bool operator==(const RECT& a, const RECT& b)
{
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline std::ostream& operator<<(std::ostream& out, const RECT& r)
{
  return out << "{" << r.left << "," << r.top << "," << r.right << "," << r.bottom << "}";
}

namespace {

// Windows of a class that notes every WM_SETTINGCHANGE it receives (wParam).
std::vector<std::pair<HWND, WPARAM>> g_changes;

LRESULT CALLBACK Recording(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_SETTINGCHANGE) {
    g_changes.emplace_back(hwnd, wParam);
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class Shell : public ::testing::Test {
 protected:
  void SetUp() override
  {
    kvtest::SetScreenSize(240, 320);
    WNDCLASSW wc{};
    wc.lpfnWndProc = Recording;
    wc.lpszClassName = u"ShellProbe";
    ASSERT_TRUE(RegisterClassW(&wc));
    g_changes.clear();
  }
  void TearDown() override { kvtest::DestroyThreadWindows(); }

  HWND TopLevel(DWORD style = WS_POPUP | WS_VISIBLE)
  {
    return CreateWindowExW(0, u"ShellProbe", u"", style, 10, 20, 100, 100, nullptr, nullptr, nullptr, nullptr);
  }
  // The setting changes that reached windows since the last call.
  std::vector<std::pair<HWND, WPARAM>> Changes()
  {
    kvtest::RunUntilIdle();
    std::vector<std::pair<HWND, WPARAM>> changes;
    changes.swap(g_changes);
    return changes;
  }

  device::testing::ScopedDeviceRoot root_;
};

SIPINFO SipInfo()
{
  SIPINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(SipGetInfo(&info));
  return info;
}

TEST_F(Shell, TheTaskBarOnlyTakesItsStripOutOfTheWorkArea)
{
  struct Case {
    int width, height;
    RECT withBar, fullScreen;
  } cases[] = {
      {240, 320, {0, 26, 240, 320}, {0, 0, 240, 320}},
      {320, 240, {0, 26, 320, 240}, {0, 0, 320, 240}},
      {480, 640, {0, 52, 480, 640}, {0, 0, 480, 640}},
  };
  HWND window = TopLevel();
  for (const Case& c : cases) {
    kvtest::SetScreenSize(c.width, c.height);
    RECT area{};
    ASSERT_TRUE(SHFullScreen(window, SHFS_SHOWTASKBAR | SHFS_SHOWSIPBUTTON));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area, c.withBar) << c.width;
    ASSERT_TRUE(SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area, c.fullScreen) << c.width;
    ASSERT_TRUE(SHFullScreen(window, SHFS_HIDESTARTICON));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0));
    EXPECT_EQ(area, c.fullScreen) << "the start icon leaves the task bar as it is";
  }
  RECT before{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &before, 0);
  EXPECT_FALSE(SHFullScreen(nullptr, SHFS_SHOWTASKBAR));
  DestroyWindow(window);
  EXPECT_FALSE(SHFullScreen(window, SHFS_SHOWTASKBAR));
  RECT after{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &after, 0);
  EXPECT_EQ(after, before) << "a failed call changes nothing";
  EXPECT_FALSE(SystemParametersInfoW(SPI_GETWORKAREA, 0, nullptr, 0));
  EXPECT_TRUE(Changes().empty()) << "the work area is no panel change";
}

TEST_F(Shell, ThePanelLiesAboveTheSoftKeyBar)
{
  SIPINFO off = SipInfo();
  EXPECT_EQ(off.fdwFlags, 0u) << "fully off";
  EXPECT_EQ(off.rcSipRect, (RECT{0, 214, 240, 294}));
  EXPECT_EQ(off.rcVisibleDesktop, (RECT{0, 26, 240, 294}));

  ASSERT_TRUE(SipShowIM(SIPF_ON));
  SIPINFO on = SipInfo();
  EXPECT_EQ(on.fdwFlags, static_cast<DWORD>(SIPF_ON));
  EXPECT_EQ(on.rcSipRect, off.rcSipRect);
  EXPECT_EQ(on.rcVisibleDesktop, (RECT{0, 26, 240, 214}));

  kvtest::SetScreenSize(480, 640);
  EXPECT_EQ(SipInfo().rcSipRect, (RECT{0, 428, 480, 588})) << "scaled with the screen";

  SIPINFO wrong{};
  wrong.cbSize = 48 + 16;
  EXPECT_FALSE(SipGetInfo(&wrong));
  EXPECT_FALSE(SipGetInfo(nullptr));
}

TEST_F(Shell, EveryPanelChangeIsPostedToTopLevelWindows)
{
  HWND first = TopLevel();
  HWND second = TopLevel(WS_POPUP);
  HWND child = CreateWindowExW(0, u"ShellProbe", u"", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, first, nullptr, nullptr,
                               nullptr);
  ASSERT_NE(child, nullptr);
  Changes();
  using Posted = std::vector<std::pair<HWND, WPARAM>>;
  const Posted both = {{first, SPI_SETSIPINFO}, {second, SPI_SETSIPINFO}};

  struct Step {
    const char* what;
    std::function<BOOL()> act;
    bool changes;
  } steps[] = {
      {"shown", [] { return SipShowIM(SIPF_ON); }, true},
      {"shown again", [] { return SipShowIM(SIPF_ON); }, false},
      {"hidden by preference", [&] { return SHSipPreference(first, SIP_DOWN); }, true},
      {"raised by preference", [&] { return SHSipPreference(first, SIP_UP); }, true},
      {"unchanged preference", [&] { return SHSipPreference(first, SIP_UNCHANGED); }, false},
      {"hidden through the record",
       [] {
         SIPINFO info = SipInfo();
         info.fdwFlags &= ~SIPF_ON;
         return SHSipInfo(SPI_SETSIPINFO, 0, &info, 0);
       },
       true},
      {"shown through the settings call",
       [] {
         SIPINFO info = SipInfo();
         info.fdwFlags |= SIPF_ON;
         return SystemParametersInfoW(SPI_SETSIPINFO, 0, &info, 0);
       },
       true},
      {"forced down", [&] { return SHSipPreference(second, SIP_FORCEDOWN); }, true},
  };
  for (const Step& step : steps) {
    EXPECT_TRUE(step.act()) << step.what;
    Posted changes = Changes();
    std::sort(changes.begin(), changes.end());
    Posted expected = step.changes ? both : Posted{};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(changes, expected) << step.what;
  }
  EXPECT_FALSE(SHSipPreference(nullptr, SIP_UP));
}

std::vector<IMENUMINFO> g_methods;
int CALLBACK NoteMethod(IMENUMINFO* info)
{
  g_methods.push_back(*info);
  return TRUE;
}
int CALLBACK FirstOnly(IMENUMINFO* info)
{
  g_methods.push_back(*info);
  return FALSE;
}

bool SameClsid(const CLSID& a, const CLSID& b)
{
  return std::memcmp(&a, &b, sizeof a) == 0;
}

TEST_F(Shell, InputMethodsAreEnumeratedAndChosen)
{
  TopLevel();
  g_methods.clear();
  ASSERT_EQ(SipEnumIM(NoteMethod), 3);
  ASSERT_EQ(g_methods.size(), 3u);
  EXPECT_EQ(std::u16string(g_methods[0].szName), u"键盘");
  g_methods.clear();
  EXPECT_EQ(SipEnumIM(FirstOnly), 1);
  EXPECT_EQ(SipEnumIM(nullptr), 0);

  SipEnumIM(NoteMethod);
  CLSID current{};
  ASSERT_TRUE(SipGetCurrentIM(&current));
  EXPECT_TRUE(SameClsid(current, g_methods[0].clsid));
  Changes();

  CLSID chosen = g_methods[2].clsid;
  ASSERT_TRUE(SipSetCurrentIM(&chosen));
  EXPECT_EQ(Changes().size(), 1u) << "choosing another method is a panel change";
  ASSERT_TRUE(SHSipInfo(SPI_GETCURRENTIM, 0, &current, 0));
  EXPECT_TRUE(SameClsid(current, chosen));
  ASSERT_TRUE(SipSetCurrentIM(&chosen));
  EXPECT_TRUE(Changes().empty()) << "the same method again changes nothing";

  CLSID unknown{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  EXPECT_FALSE(SipSetCurrentIM(&unknown));
  EXPECT_FALSE(SipSetCurrentIM(nullptr));
  SipGetCurrentIM(&current);
  EXPECT_TRUE(SameClsid(current, chosen));
}

TEST_F(Shell, InitDialogPlacesATopLevelDialogAfterItsFlags)
{
  HWND dialog = TopLevel();
  HWND page = CreateWindowExW(0, u"ShellProbe", u"", WS_CHILD, 5, 6, 7, 8, dialog, nullptr, nullptr, nullptr);
  SipShowIM(SIPF_ON);
  struct Case {
    DWORD flags;
    RECT placed;
  } cases[] = {
      {SHIDIF_FULLSCREENNOMENUBAR, {0, 26, 240, 320}},
      {SHIDIF_SIZEDLGFULLSCREEN, {0, 26, 240, 294}},
      {SHIDIF_SIZEDLG, {0, 26, 240, 214}},
      {SHIDIF_SIZEDLG | SHIDIF_SIPDOWN, {0, 26, 240, 294}},
  };
  for (const Case& c : cases) {
    SHINITDLGINFO info{SHIDIM_FLAGS, dialog, c.flags};
    ASSERT_TRUE(SHInitDialog(&info));
    RECT placed{};
    GetWindowRect(dialog, &placed);
    EXPECT_EQ(placed, c.placed) << c.flags;
  }
  EXPECT_EQ(SipInfo().fdwFlags, 0u) << "SHIDIF_SIPDOWN lowered the panel";

  SHFullScreen(dialog, SHFS_HIDETASKBAR);
  SHINITDLGINFO full{SHIDIM_FLAGS, dialog, SHIDIF_FULLSCREENNOMENUBAR};
  ASSERT_TRUE(SHInitDialog(&full));
  RECT placed{};
  GetWindowRect(dialog, &placed);
  EXPECT_EQ(placed, (RECT{0, 0, 240, 320})) << "the whole screen without the task bar";

  SHINITDLGINFO child{SHIDIM_FLAGS, page, SHIDIF_FULLSCREENNOMENUBAR};
  ASSERT_TRUE(SHInitDialog(&child));
  GetWindowRect(page, &placed);
  EXPECT_EQ(placed.right - placed.left, 7) << "a child page keeps its place";
  SHINITDLGINFO none{SHIDIM_FLAGS, nullptr, SHIDIF_FULLSCREENNOMENUBAR};
  EXPECT_FALSE(SHInitDialog(&none));
  EXPECT_FALSE(SHInitDialog(nullptr));
  EXPECT_TRUE(SHInitExtraControls());
}

TEST_F(Shell, EachWindowGetsItsPanelBackOnActivation)
{
  HWND editor = TopLevel();
  HWND viewer = TopLevel();
  SHACTIVATEINFO editorInfo{};
  editorInfo.cbSize = sizeof editorInfo;
  SHACTIVATEINFO viewerInfo = editorInfo;

  // The editor is active and raises the panel; the setting change is noted in its record.
  ASSERT_TRUE(SHHandleWMActivate(editor, WA_ACTIVE, 0, &editorInfo, 0));
  SipShowIM(SIPF_ON);
  ASSERT_TRUE(SHHandleWMSettingChange(editor, SPI_SETSIPINFO, 0, &editorInfo));
  ASSERT_TRUE(SHHandleWMSettingChange(viewer, SPI_SETSIPINFO, 0, &viewerInfo));
  EXPECT_EQ(editorInfo.fSipUp, 1u);
  EXPECT_EQ(viewerInfo.fSipUp, 0u) << "an inactive window takes no note";

  // The viewer comes forward: the panel goes down; back to the editor: it comes up again.
  ASSERT_TRUE(SHHandleWMActivate(editor, WA_INACTIVE, 0, &editorInfo, 0));
  EXPECT_EQ(editorInfo.fSipOnDeactivation, 1u);
  ASSERT_TRUE(SHHandleWMActivate(viewer, WA_CLICKACTIVE, 0, &viewerInfo, 0));
  EXPECT_EQ(SipInfo().fdwFlags, 0u);
  ASSERT_TRUE(SHHandleWMActivate(viewer, WA_INACTIVE, 0, &viewerInfo, 0));
  ASSERT_TRUE(SHHandleWMActivate(editor, WA_ACTIVE, 0, &editorInfo, 0));
  EXPECT_EQ(SipInfo().fdwFlags, static_cast<DWORD>(SIPF_ON));

  SHACTIVATEINFO unsized{};
  EXPECT_FALSE(SHHandleWMActivate(editor, WA_ACTIVE, 0, &unsized, 0));
  EXPECT_FALSE(SHHandleWMSettingChange(editor, SPI_SETSIPINFO, 0, nullptr));
}

}  // namespace
