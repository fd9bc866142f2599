// The dialog base as a user sees it with the client's own resource libraries: the title strip
// with its title, the soft-key bar with the two keys and the clock between them, at each screen
// size and orientation; screenshots for people to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "app_services.h"
#include "base_dlg.h"
#include "hint_edit.h"
#include "testing/clock.h"
#include "testing/device_root.h"
#include "testing/screen_rotation.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

using namespace kvtest;

namespace {

constexpr int kDemo = 9000;
constexpr int kDemoLand = 9001;
constexpr int kDemoMenu = 9002;
constexpr int kAccountEdit = 9010;
constexpr int kAmountEdit = 9011;
constexpr int kNoteLabel = 9012;

// A screen of the client's kind, added to a copy of the library for this test.
const char kDemoScript[] = R"(
9000 DIALOG 0, 0, 120, 160
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
    LTEXT           "收款账户", -1, 8, 22, 104, 10
    EDITTEXT        9010, 8, 34, 104, 14, ES_AUTOHSCROLL
    LTEXT           "付款金额（元）", -1, 8, 54, 104, 10
    EDITTEXT        9011, 8, 66, 104, 14, ES_AUTOHSCROLL
    LTEXT           "转账将在确认后立即到达对方账户。", 9012, 8, 88, 104, 24
END

9001 DIALOG 0, 0, 160, 120
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
    LTEXT           "收款账户", -1, 8, 22, 40, 10
    EDITTEXT        9010, 52, 20, 94, 14, ES_AUTOHSCROLL
    LTEXT           "付款金额", -1, 8, 42, 40, 10
    EDITTEXT        9011, 52, 40, 94, 14, ES_AUTOHSCROLL
    LTEXT           "转账将在确认后立即到达对方账户。", 9012, 8, 62, 138, 12
END

9003 DIALOG 0, 0, 120, 260
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
    LTEXT           "收款账户", -1, 8, 22, 100, 10
    EDITTEXT        9010, 8, 34, 100, 14, ES_AUTOHSCROLL
    LTEXT           "付款金额（元）", -1, 8, 54, 100, 10
    EDITTEXT        9011, 8, 66, 100, 14, ES_AUTOHSCROLL
    LTEXT           "转账将在确认后立即到达对方账户。", 9012, 8, 88, 100, 24
    LTEXT           "付款说明", -1, 8, 130, 100, 10
    LTEXT           "每日转账限额为五万元，单笔不超过两万元。", -1, 8, 144, 100, 24
    LTEXT           "客服热线", -1, 8, 190, 100, 10
    LTEXT           "400-800-8888（每天 8:00 至 22:00）", -1, 8, 204, 100, 24
END

9002 MENU
BEGIN
    MENUITEM "确定",  1
    POPUP "菜单"
    BEGIN
        MENUITEM "帮助",  0x803C
        MENUITEM "关于",  0x800A
        MENUITEM "退出",  0x8007
    END
END
)";

class DemoDlg : public CBaseDlg {
 public:
  explicit DemoDlg(int portrait = kDemo) : m_portrait(portrait) {}
  int GetTemplateId(int orientation) override { return orientation == 1 ? m_portrait : kDemoLand; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == 1 ? 0x418 : 0x419; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return 133; }
  int GetSoftKey2Id() override { return 134; }
  int GetMenuId() override { return kDemoMenu; }
  int GetCenterKeyId() override { return 4; }
  BOOL BindControls(BOOL save, int) override
  {
    AttachSkinEdit(kAccountEdit, account, kControlSkinEdit, save, 0xFF0000);
    AttachSkinEdit(kAmountEdit, amount, kControlSkinEdit, save, 0xFF0000);
    AttachSkinLabel(kNoteLabel, note, kControlLabel, save, -1, -1, 0);
    return TRUE;
  }

  using CBaseDlg::m_scrollBar;
  int m_portrait;
  CHintEdit account;
  CHintEdit amount{true, 2};
  CSkinLabel note;
};

class BaseDlgLook : public ::testing::Test {
 protected:
  void TearDown() override
  {
    ui.Invoke([&] { DestroyThreadWindows(); });
    RunUntilIdle();
    ui.Invoke([&] { dialog.reset(); });
  }

  // The library of the screen size, with the demo screen added, as the application's library.
  void UseLibrary(int width, int height)
  {
    SetScreenSize(width, height);
    std::string name = "ModelRes_" + std::to_string(width) + "x" + std::to_string(height);
    std::filesystem::path target = root.path() + "/Program Files/Tests/" + name + ".dll";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy(KV_RESOURCE_OUTPUT "/" + name + ".dll", target, std::filesystem::copy_options::recursive);
    std::ofstream(target / "zz_demo.rc", std::ios::binary) << kDemoScript;
    HMODULE library = LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }
  HWND ShowDemo(int portrait = kDemo)
  {
    UseVirtualTime(SYSTEMTIME{2026, 1, 1, 5, 9, 41, 0, 0});
    ui.Invoke([&] {
      dialog = std::make_unique<DemoDlg>(portrait);
      dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
      dialog->SetDlgItemText(kAccountEdit, u"zhang.san@example.com");
      dialog->SetDlgItemText(kAmountEdit, u"128.50");
      // The input panel that the focused field raised goes down, and the clock shows.
      SipShowIM(SIPF_OFF);
    });
    EXPECT_TRUE(RunUntilIdle());
    return dialog->m_hWnd;
  }
  // The screen's pixel.
  static COLORREF Pixel(int x, int y)
  {
    HDC dc = GetDC(nullptr);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(nullptr, dc);
    return colour;
  }
  static int Brightness(COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; }
  // Pixels of the rectangle darker than the threshold: text.
  static int DarkPixels(RECT r, int threshold = 100)
  {
    int count = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        count += Brightness(Pixel(x, y)) < threshold;
    return count;
  }

  // What a phone user checks: a title in the title strip, three texts on a light soft-key bar,
  // the bars in the skin's colours.
  void ExpectFinishedLook(int width, int height)
  {
    int scale = std::min(width, height) / 240;
    int strip = 26 * scale;
    EXPECT_GT(DarkPixels(RECT{width / 2 - 30 * scale, 0, width / 2 + 30 * scale, strip}), 20) << "the title";
    int key = (width - 8) / 3;
    RECT keys[] = {{2, height - strip, 2 + key, height},
                   {width - 2 * key - 4, height - strip, width - key - 4, height},
                   {width - key - 2, height - strip, width - 2, height}};
    for (const RECT& r : keys)
      EXPECT_GT(DarkPixels(r), 10) << "a key's text at " << r.left;
    EXPECT_GT(Brightness(Pixel(width / 4 + 20, height - strip / 2 - 3 * scale)), 200)
        << "a light bar under the black key texts";
    EXPECT_EQ(RGB(0xF5, 0xF5, 0xF5), Pixel(width - 4, height / 2)) << "the page";
  }

  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  UiThread ui;
  std::unique_ptr<DemoDlg> dialog;
};

TEST_F(BaseDlgLook, EachScreenSizeShowsTheTitleAndTheSoftKeyBar)
{
  struct Case {
    int width, height;
  };
  for (Case c : {Case{240, 320}, Case{480, 640}, Case{320, 240}, Case{640, 480}}) {
    std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
    SCOPED_TRACE(size);
    UseLibrary(c.width, c.height);
    ShowDemo();
    ExpectFinishedLook(c.width, c.height);
    SaveScreenshot("base_dialog_" + size);
    TearDown();
  }
}

TEST_F(BaseDlgLook, AScreenTurnedWhileShownTakesItsLandscapeLayout)
{
  UseLibrary(240, 320);
  HWND hwnd = ShowDemo();
  HWND account = GetDlgItem(hwnd, kAccountEdit);
  ui.Invoke([] { RotateScreen(); });
  ASSERT_TRUE(RunUntilIdle());
  RECT rect{};
  GetWindowRect(hwnd, &rect);
  EXPECT_EQ(320, rect.right - rect.left) << "the dialog fills the turned screen";
  EXPECT_EQ(account, GetDlgItem(hwnd, kAccountEdit)) << "the same controls";
  WCHAR text[64] = {};
  GetWindowTextW(account, text, 64);
  EXPECT_EQ(std::u16string(u"zhang.san@example.com"), text);
  ExpectFinishedLook(320, 240);
  SaveScreenshot("base_dialog_240x320_turned");
  ui.Invoke([] { RotateScreen(); });
}

TEST_F(BaseDlgLook, TheMenuKeysPopupStandsOnTheKeyWithTheSkinsItemsAndSelection)
{
  for (int width : {240, 480}) {
    SCOPED_TRACE(width);
    UseLibrary(width, width * 4 / 3);
    HWND hwnd = ShowDemo();
    HWND key = GetDlgItem(hwnd, 134);
    ui.Post([key] { SendMessageW(key, WM_LBUTTONDOWN, 0, 0); });
    HWND menu = WaitForTopLevelWindow(u"MNU", u"");
    ASSERT_NE(nullptr, menu);
    ASSERT_TRUE(PressKey(VK_DOWN));
    ASSERT_TRUE(PressKey(VK_DOWN));
    RECT rect{};
    GetWindowRect(menu, &rect);
    RECT keyRect{};
    GetWindowRect(key, &keyRect);
    EXPECT_EQ(keyRect.top, rect.bottom) << "the popup stands on the key";
    SaveScreenshot("base_dialog_menu_" + std::to_string(width));
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    TearDown();
  }
}

TEST_F(BaseDlgLook, ContentTallerThanTheScreenScrollsWithTheSkinnedBar)
{
  for (int width : {240, 480}) {
    SCOPED_TRACE(width);
    UseLibrary(width, width * 4 / 3);
    ShowDemo(9003);
    int scale = width / 240;
    RECT bar{};
    ASSERT_TRUE(dialog->m_scrollBar.IsWindowVisible());
    dialog->m_scrollBar.GetWindowRect(&bar);
    EXPECT_EQ(10 * scale, bar.right - bar.left) << "as wide as string 135 and the skin's cell";
    EXPECT_EQ(width, bar.right);
    SaveScreenshot("base_dialog_paged_" + std::to_string(width));
    TearDown();
  }
}

}  // namespace
