// The desktop on each screen size: the grid's places and scroll bar, the header, the messages
// button, scrolling a landscape grid, and screenshots.
#include <string>

#include "desktop_fixture.h"
#include "testing/screenshot.h"

namespace desktoptest {
namespace {

class DesktopScreenTest : public DesktopTest {
 protected:
  void SetUp() override {}
  HWND List() { return GetDlgItem(desktop->m_hWnd, 1044); }
  POINT Position(int entry)
  {
    POINT at{};
    SendMessageW(List(), LVM_GETITEMPOSITION, entry, reinterpret_cast<LPARAM>(&at));
    return at;
  }
};

struct SizeCase {
  int width, height;
  POINT last;
  bool scrollBar;
};

class DesktopSizeTest : public DesktopScreenTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(DesktopSizeTest, LaysTheGridOut)
{
  const SizeCase& c = GetParam();
  std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
  Start(c.width, c.height);
  app.SetLogonId(u"zhang.san@example.com");
  ShowDesktop();
  ASSERT_TRUE(desktop->IsWindow());
  EXPECT_EQ(c.last.x, Position(8).x);
  EXPECT_EQ(c.last.y, Position(8).y);
  HWND bar = GetDlgItem(List(), 1500);
  EXPECT_EQ(c.scrollBar, bar != nullptr && IsWindowVisible(bar));
  EXPECT_EQ(u"（0）", std::u16string(desktop->GetCountCaption().GetString()));
  kvtest::SaveScreenshot("desktop_" + size);
}

INSTANTIATE_TEST_SUITE_P(Sizes, DesktopSizeTest,
                         ::testing::Values(SizeCase{240, 320, {140, 152}, false}, SizeCase{480, 640, {280, 304}, false},
                                           SizeCase{320, 240, {0, 152}, true}, SizeCase{640, 480, {0, 304}, true}));

TEST_F(DesktopScreenTest, HeaderCutsALongLogonId)
{
  Start(240, 320);
  struct Case {
    std::u16string logonId;
    std::u16string header;
  } cases[] = {
      {u"abcdefghijklmnopqrstuvwxyz", u"您的账户：abcdefghijklmno.."},
      {u"li@a.cn", u"您的账户：li@a.cn"},
      {u"", u""},
  };
  for (const Case& c : cases) {
    app.SetLogonId(c.logonId.c_str());
    ShowDesktop();
    EXPECT_EQ(c.header, std::u16string(desktop->GetHeaderText().GetString()));
    WCHAR shown[64] = {};
    GetDlgItemTextW(desktop->m_hWnd, 1034, shown, 64);
    EXPECT_EQ(c.header, std::u16string(shown));
    ui.Invoke([&] { desktop.reset(); });
  }
}

TEST_F(DesktopScreenTest, LandscapeGridScrollsByMovingTheEntries)
{
  Start(320, 240);
  ShowDesktop();
  HWND bar = GetDlgItem(List(), 1500);
  ASSERT_NE(nullptr, bar);
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  SendMessageW(bar, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
  int range = info.nMax - static_cast<int>(info.nPage);
  ASSERT_GT(range, 0);
  ASSERT_LT(range, 75) << "the grid is less than a row taller than the list";
  SendMessageW(List(), WM_VSCROLL, desktop_menu::kRowDown, 0);
  EXPECT_EQ(152 - range, Position(8).y) << "one row down reaches the end";
  SendMessageW(List(), WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(152 - range, Position(8).y) << "stops at the end";
  SendMessageW(List(), WM_VSCROLL, desktop_menu::kRowUp, 0);
  EXPECT_EQ(152, Position(8).y);
  kvtest::SaveScreenshot("desktop_320x240_top");
}

TEST_F(DesktopScreenTest, TappingAnIconOpensItsPage)
{
  Start(240, 320);
  ShowDesktop();
  RECT list{};
  GetWindowRect(List(), &list);
  // The middle icon of the first row: the account query.
  ASSERT_TRUE(kvtest::Tap(POINT{list.left + 70 + 38, list.top + 30}));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(static_cast<int>(DesktopSlot::kAccountQuery), desktop->GetCurrentSlot());
  CBaseDlg* page = desktop->GetPage(DesktopSlot::kAccountQuery);
  ASSERT_NE(nullptr, page);
  EXPECT_TRUE(IsWindowVisible(page->m_hWnd));
  kvtest::SaveScreenshot("desktop_account_query_240x320");
}

}  // namespace
}  // namespace desktoptest
