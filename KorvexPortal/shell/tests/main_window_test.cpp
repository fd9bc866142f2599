// A normal run in the test's process: the main window titled "KorvexPortal" over the whole screen
// with the login over it, the exit question of its left soft key, the installer's exit without a
// question, a second start's WM_COPYDATA answered 0; screenshots of the start.
#include "dialog_ids.h"
#include "main_wnd.h"
#include "shell_fixture.h"
#include "shell_ids.h"
#include "testing/screenshot.h"

using namespace shelltest;

namespace {

class MainWindowTest : public ShellTest {
 protected:
  void TearDown() override
  {
    if (running && mainWindow)
      PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    ShellTest::TearDown();
  }

  // Starts the run on the user-interface thread and waits for the login over the main window.
  void StartRun()
  {
    running = true;
    ui.Post([this] {
      result = app.Run(CStringW(), SW_SHOW);
      running = false;
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    mainWindow = FindWindowW(nullptr, u"KorvexPortal");
    ASSERT_NE(nullptr, mainWindow);
    login = app.GetLoginDialog() ? app.GetLoginDialog()->m_hWnd : nullptr;
    ASSERT_NE(nullptr, login);
  }

  std::atomic<bool> running{false};
  std::atomic<int> result{0x7777};
  HWND mainWindow = nullptr;
  HWND login = nullptr;
};

}  // namespace

TEST_F(MainWindowTest, StartsWithTheLoginOverTheFullScreenMainWindow)
{
  StartRun();
  RECT rect{};
  GetWindowRect(mainWindow, &rect);
  EXPECT_EQ(0, rect.left);
  EXPECT_EQ(0, rect.top);
  EXPECT_EQ(240, rect.right);
  EXPECT_EQ(320, rect.bottom);
  EXPECT_TRUE(IsWindowVisible(mainWindow));
  EXPECT_EQ("用户登录", TitleOf(login));
  EXPECT_TRUE(IsWindowVisible(login));
  EXPECT_EQ(mainWindow, GetWindow(login, GW_OWNER)) << "the login is owned by the main window";
  EXPECT_EQ(app.GetMainDialog()->m_hWnd, mainWindow);
  EXPECT_EQ("退出", TitleOf(GetDlgItem(mainWindow, IDC_MAIN_SOFTKEY1)));
  EXPECT_EQ("菜单", TitleOf(GetDlgItem(mainWindow, IDC_MAIN_SOFTKEY2)));
}

TEST_F(MainWindowTest, TheInstallersExitEndsTheRunWithoutAQuestion)
{
  StartRun();
  ASSERT_TRUE(PostMessageW(login, WM_COMMAND, ID_KV_EXIT, static_cast<LPARAM>(-1)));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(running);
  EXPECT_EQ(-1, result) << "the loop ends with the code";
  EXPECT_TRUE(app.Boxes().empty());
  EXPECT_FALSE(IsWindow(mainWindow));
  EXPECT_FALSE(IsWindow(login));
  EXPECT_EQ(nullptr, app.GetMainDialog());
}

TEST_F(MainWindowTest, TheExitKeyAsksFirst)
{
  StartRun();
  app.boxAnswer = 1002;
  SendMessageW(mainWindow, WM_COMMAND, IDC_MAIN_SOFTKEY1, 0);
  EXPECT_TRUE(kvtest::RunUntilIdle());
  ASSERT_EQ(1u, app.Boxes().size());
  EXPECT_EQ("确定要退出 Korvex 钱包吗？ type 65", app.Boxes()[0]);
  EXPECT_TRUE(running) << "declined: the client goes on";
  EXPECT_TRUE(IsWindowVisible(mainWindow));

  app.boxAnswer = 1001;
  SendMessageW(mainWindow, WM_COMMAND, IDC_MAIN_SOFTKEY1, 0);
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(running);
  EXPECT_EQ(IDC_MAIN_SOFTKEY1, result);
  EXPECT_FALSE(IsWindow(login)) << "the open dialogs are closed";
}

TEST_F(MainWindowTest, ASecondStartsCommandLineIsAnsweredWithZero)
{
  StartRun();
  const char16_t text[] = u"/from:second";
  COPYDATASTRUCT data{0, sizeof text, const_cast<char16_t*>(text)};
  EXPECT_EQ(0, SendMessageW(mainWindow, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(running);
  EXPECT_TRUE(IsWindowVisible(login));
}

TEST_F(MainWindowTest, ScreenshotsOfTheStart)
{
  struct Size {
    int width, height;
  };
  for (Size size : {Size{240, 320}, Size{480, 640}}) {
    std::string name = std::to_string(size.width) + "x" + std::to_string(size.height);
    SCOPED_TRACE(name);
    UseLibrary(size.width, size.height);
    StartRun();
    RECT rect{};
    GetWindowRect(login, &rect);
    EXPECT_EQ(size.width, rect.right - rect.left);
    EXPECT_EQ(size.height, rect.bottom - rect.top);
    kvtest::SaveScreenshot("shell_start_login_" + name);
    PostMessageW(mainWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(kvtest::RunUntilIdle());
    EXPECT_FALSE(running);
  }
}
