// After installing and around removal: the shortcut to the installed program, the gateway
// service started through the service host and stopped before removal, and removal of the
// shortcuts, the users' data and the install folder, and of nothing else.
#include "services/service_registry.h"
#include "services/services.h"
#include "testing/device_programs.h"
#include "zunsetup_test_support.h"

namespace {

using namespace zunsetup_test;

constexpr char kShortcut[] = "Windows/Start Menu/Programs/Korvex.lnk";

TEST_F(SetupTest, TheShortcutStartsTheInstalledProgram)
{
  for (const char16_t* folder : {u"\\Program Files\\KorvexPortal", u"\\Program Files\\KorvexPortal\\"}) {
    EXPECT_EQ(hooks_.installExit(nullptr, folder, 0, 0, 0, 0, 0), codeINSTALL_EXIT_DONE);
    EXPECT_EQ(Read(kShortcut), "46#\"\\Program Files\\KorvexPortal\\KorvexPortal.exe\"");
  }
  EXPECT_EQ(hooks_.installExit(nullptr, u"\\Storage Card\\Korvex", 0, 0, 0, 0, 0), codeINSTALL_EXIT_DONE);
  EXPECT_EQ(Read(kShortcut), "39#\"\\Storage Card\\Korvex\\KorvexPortal.exe\"");
}

// What the service answers a browser's request on the port; empty when nothing listens.
std::string Ask(USHORT port, const std::string& request)
{
  std::string answer = kvtest::LoopbackExchange(port, request);
  return answer == "(refused)" ? "" : answer;
}

TEST_F(SetupTest, TheServiceIsStartedAfterInstallingAndStoppedBeforeRemoval)
{
  fs::copy_file(KV_DOVREL_LIBRARY, Host("Program Files/KorvexPortal/Dovrel.dll"));
  services::ServiceEntry entry;
  entry.name = u"Dovrel";
  entry.dll = u"\\Program Files\\KorvexPortal\\Dovrel.dll";
  entry.prefix = u"PAY";
  entry.instDir = u"\\Program Files\\KorvexPortal";
  entry.port = kvtest::FreeLoopbackPort();
  ASSERT_EQ(services::WriteServiceEntry(entry), ERROR_SUCCESS);
  kvtest::ServiceHost host;
  ASSERT_TRUE(host.Start({}));

  WCHAR instance[] = u"PAY0:";
  EXPECT_EQ(GetServiceHandle(instance, nullptr, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(hooks_.installExit(nullptr, u"\\Program Files\\KorvexPortal", 0, 0, 0, 0, 0), codeINSTALL_EXIT_DONE);
  EXPECT_NE(GetServiceHandle(instance, nullptr, nullptr), INVALID_HANDLE_VALUE);
  std::string answer = Ask(entry.port, "GET /gateway.do?service=trade HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n");
  EXPECT_FALSE(answer.empty()) << "the host answers on the service's port";

  EXPECT_EQ(hooks_.uninstallInit(nullptr, u"\\Program Files\\KorvexPortal"), codeUNINSTALL_INIT_CONTINUE);
  EXPECT_EQ(GetServiceHandle(instance, nullptr, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(Ask(entry.port, "GET /gateway.do?service=trade HTTP/1.1\r\n\r\n"), "");
  EXPECT_EQ(hooks_.uninstallInit(nullptr, u"\\Program Files\\KorvexPortal"), codeUNINSTALL_INIT_CONTINUE)
      << "no service: nothing to stop";
  EXPECT_EQ(host.Stop(), 0);
}

TEST_F(SetupTest, RemovalTakesTheShortcutsTheUsersDataAndTheInstallFolderOnly)
{
  Write("Windows/Start Menu/Programs/Other.lnk", "other");
  Write("Temp/KorvexPortal.exe.1.log", "log");
  Write("Temp/KorvexPortalOld/keep.txt", "keep");
  Write("Program Files/KorvexPortal2/keep.txt", "keep");
  Write("Program Files/Korvex/keep.txt", "keep");
  std::map<std::string, std::string> expected = DeviceState();
  expected.erase(expected.find("Program Files/KorvexPortal"), expected.upper_bound("Program Files/KorvexPortal/~"));
  Write(kShortcut, "x");
  Write("Windows/Start Menu/Korvex.lnk", "x");
  Write("Temp/KorvexPortal/13800138000/contacts.dat", "contacts");
  Write("Temp/KorvexPortal/13800138000/messages.dat", "messages");

  EXPECT_EQ(hooks_.uninstallInit(nullptr, u"\\Program Files\\KorvexPortal"), codeUNINSTALL_INIT_CONTINUE);
  hooks_.uninstallExit(nullptr);
  EXPECT_EQ(DeviceState(), expected);
}

}  // namespace
