// The installer program "\Windows\wceload.exe", started as the client starts it for an update
// (ShellExecuteEx of "wceload.exe" with "\"<package>\" /delete 1"): the setup hooks' dialog and
// message box answered in unattended runs, the package deleted once installed and kept
// otherwise, a damaged package told in a message box, and removal by name.
#include "install_test_support.h"

namespace {

using namespace install_test;
using testing::ElementsAre;
using testing::HasSubstr;

class InstallerProgram : public InstallerTest {
 protected:
  void SetUp() override
  {
    InstallerTest::SetUp();
    PutTheInstallerProgramInPlace();
    SetHookAnswer(u"Ask", 1);
  }
};

TEST_F(InstallerProgram, AnUnattendedRunAcceptsInstallsAndDeletesThePackage)
{
  std::string log;
  ASSERT_EQ(RunInstaller(u"\"\\Temp\\FakeApp1.CAB\" /delete 1 /silent", &log), 0u) << log;
  EXPECT_THAT(HookCalls(), ElementsAre("Install_Init first=1 previous=0 folder=\\Program Files\\FakeApp dialog=1001 "
                                       "box=6 version=none",
                                       "Install_Exit folder=\\Program Files\\FakeApp version=1"));
  EXPECT_THAT(log, HasSubstr("dialog \"协议\": -> 1001 \"接受\" (unattended)"));
  EXPECT_THAT(log, HasSubstr("message box \"FakeApp\": 继续安装吗？ -> IDYES (unattended)"));
  EXPECT_FALSE(fs::exists(Host("Temp/FakeApp1.CAB")));
  EXPECT_EQ(Read("Program Files/FakeApp/version.txt"), "1\n");

  ASSERT_EQ(RunInstaller(u"/uninstall FakeApp /silent", &log), 0u) << log;
  EXPECT_EQ(HookCalls().size(), 4u);
  EXPECT_FALSE(fs::exists(Host("Program Files/FakeApp")));
}

TEST_F(InstallerProgram, ADeviceThatAnswersNoDeclinesAndKeepsThePackage)
{
  Write("device.ini", "[messagebox]\nanswer = no\n");
  std::map<std::string, std::string> before = DeviceState();
  std::string log;
  EXPECT_EQ(RunInstaller(u"\"\\Temp\\FakeApp1.CAB\" /delete 1", &log), 1u) << log;
  EXPECT_THAT(HookCalls(),
              ElementsAre("Install_Init first=1 previous=0 folder=\\Program Files\\FakeApp dialog=2 box=7 version=none"));
  EXPECT_EQ(DeviceState(), before);
}

TEST_F(InstallerProgram, ADamagedPackageIsToldAndKept)
{
  Write("Temp/Damaged.CAB", "not a cabinet");
  std::string log;
  EXPECT_EQ(RunInstaller(u"\"\\Temp\\Damaged.CAB\" /delete 1 /silent", &log), 2u) << log;
  EXPECT_THAT(log, HasSubstr("wceload: \\Temp\\Damaged.CAB: not a cabinet"));
  EXPECT_THAT(log, HasSubstr("message box \"安装程序\": “Damaged.CAB”不是有效的安装包，或已损坏。未作任何更改。 -> IDOK"));
  EXPECT_TRUE(fs::exists(Host("Temp/Damaged.CAB")));
  EXPECT_TRUE(HookCalls().empty());
}

}  // namespace
