// The roads around the client itself: its package installed, a login with the account and
// password remembered from the run before, the desktop after login, and the package removed while
// the client runs.
#include <filesystem>

#include "desktop_dlg.h"
#include "login_ids.h"
#include "road_fixture.h"
#include "selvane/selvane.h"

using namespace roads;

namespace fs = std::filesystem;

TEST_F(RoadTest, Install)
{
  Install();
  fs::path folder = root.path() + "/Program Files/KorvexPortal";
  for (const char* file : {"KorvexPortal.exe", "Dovrel.dll", "ZunSetup.dll", "ModelRes_240x320.dll",
                           "ModelRes_480x640.dll"})
    EXPECT_TRUE(fs::exists(folder / file)) << file;
  EXPECT_FALSE(fs::exists(root.path() + "/Temp/KorvexPortal.CAB")) << "the package goes once installed";
  EXPECT_EQ("46#\"\\Program Files\\KorvexPortal\\KorvexPortal.exe\"",
            ReadHostFile(root.path() + "/Windows/Start Menu/Programs/Korvex.lnk"));
  std::string registry = ReadHostFile(root.path() + "/.kernel/registry/registry.dat");
  EXPECT_NE(std::string::npos, registry.find("[HKEY_LOCAL_MACHINE\\Services\\Dovrel]"));
  EXPECT_NE(std::string::npos, registry.find("[HKEY_LOCAL_MACHINE\\Software\\Packages\\KorvexPortal]"));

  // The installed client starts with its login over the main window.
  StartClient();
  EXPECT_EQ(u"用户登录", TextOf(App().GetLoginDialog()->m_hWnd));
  EXPECT_EQ(u"KorvexPortal", TextOf(mainWindow));
  Shot("login");
}

TEST_F(RoadTest, LogInWithTheRememberedAccount)
{
  Install();
  StartClient();
  LogIn(kDemoAccount, kDemoPassword, true);
  auto first = gateway.waitForRequest("login");
  ASSERT_TRUE(first);
  EXPECT_EQ("demo@korvex.cn", first->field("loginAccount"));
  auto typed = gateway.key().decryptPassword(first->field("loginPassword"));
  ASSERT_TRUE(typed);
  EXPECT_EQ("demo1234", typed->password);
  ExitClient();
  EXPECT_TRUE(fs::exists(root.path() + "/Program Files/Tests/appconfig.dat")) << "the settings are kept";

  // The next run offers the account and the password it remembered; the login goes through as is.
  StartClient();
  HWND login = App().GetLoginDialog()->m_hWnd;
  EXPECT_EQ(std::u16string(kDemoAccount), TextOf(GetDlgItem(login, IDC_LOGIN_ACCOUNT)));
  WCHAR password[260] = {};
  Driver().OnUi([&] { GetInputForMe(GetDlgItem(login, IDC_LOGIN_PASSWORD), password, sizeof password); });
  EXPECT_EQ(std::u16string(kDemoPassword), std::u16string(password));
  Shot("remembered");
  LogIn(u"", u"", true);
  auto second = gateway.waitForRequest("login", 2);
  ASSERT_TRUE(second);
  EXPECT_EQ("demo@korvex.cn", second->field("loginAccount"));
  auto remembered = gateway.key().decryptPassword(second->field("loginPassword"));
  ASSERT_TRUE(remembered);
  EXPECT_EQ("demo1234", remembered->password);
  EXPECT_EQ(u"王小明", std::u16string(App().GetUserName().GetString()));
  Shot("after_login");
}

class DesktopRoadTest : public RoadTest {
 protected:
  using RoadTest::RoadTest;

  // The desktop after a login: the account in its header, the unread count on its messages button.
  void ShowTheDesktop()
  {
    Install();
    StartClient();
    LogInToDesktop();
    auto* desktop = static_cast<CDesktopDlg*>(App().GetDesktopDialog());
    EXPECT_NE(std::u16string::npos, std::u16string(desktop->GetHeaderText().GetString()).find(kDemoAccount))
        << kvtest::Narrow(desktop->GetHeaderText().GetString());
    // Becoming active, the desktop asks for the unread count and shows it on its messages button.
    ASSERT_TRUE(gateway.waitForRequest("getMsgCount"));
    ASSERT_TRUE(ClientDriver::WaitUntil([&] { return desktop->GetUnreadCount() > 0; })) << Recorded();
    Shot("desktop");
    EXPECT_TRUE(App().Boxes().empty()) << Recorded();
  }
};

TEST_F(DesktopRoadTest, Desktop)
{
  ShowTheDesktop();
}

using LargeScreenDesktopRoadTest = OnALargeScreen<DesktopRoadTest>;

TEST_F(LargeScreenDesktopRoadTest, DesktopOnALargeScreen)
{
  ShowTheDesktop();
}

TEST_F(RoadTest, Uninstall)
{
  Install();
  // The installed program runs, at its login, when the package is removed: it is asked to close.
  PROCESS_INFORMATION client{};
  ASSERT_TRUE(CreateProcessW(u"\\Program Files\\KorvexPortal\\KorvexPortal.exe", nullptr, nullptr, nullptr, FALSE, 0,
                             nullptr, nullptr, nullptr, &client));
  CloseHandle(client.hThread);
  ASSERT_NE(nullptr, kvtest::WaitForTopLevelWindow(nullptr, u"用户登录"));
  kvtest::DeviceProgram program;
  ASSERT_TRUE(program.Attach(u"KorvexPortal.exe"));
  ShotOfProgram(program, "login");

  std::string log;
  EXPECT_EQ(0u, RunInstaller(u"/uninstall KorvexPortal /silent", &log)) << log;
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(client.hProcess, 60000)) << "the client was closed";
  DWORD code = 0xDEAD;
  GetExitCodeProcess(client.hProcess, &code);
  EXPECT_EQ(0u, code);
  CloseHandle(client.hProcess);

  EXPECT_FALSE(fs::exists(root.path() + "/Program Files/KorvexPortal"));
  EXPECT_FALSE(fs::exists(root.path() + "/Windows/Start Menu/Programs/Korvex.lnk"));
  EXPECT_FALSE(fs::exists(root.path() + "/Temp/KorvexPortal"));
  std::string registry = ReadHostFile(root.path() + "/.kernel/registry/registry.dat");
  EXPECT_EQ(std::string::npos, registry.find("Services\\Dovrel")) << registry;
  EXPECT_EQ(std::string::npos, registry.find("Packages\\KorvexPortal")) << registry;
}
