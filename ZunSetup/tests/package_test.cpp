// The client's package as the build makes it, installed and removed by the device's installer
// in a fresh device root, as the client's update starts it ("\"<package>\" /delete 1"): the
// agreement answered in an unattended run, the files, the service's registry entry and the
// shortcut in place, the package deleted; removal leaves the device as it was; a damaged
// package is refused and changes nothing.
#include <gmock/gmock.h>

#include "zunsetup_test_support.h"

namespace {

using namespace zunsetup_test;
using testing::HasSubstr;

class Package : public ::testing::Test {
 protected:
  void SetUp() override
  {
    fs::create_directories(Host("Windows/Start Menu/Programs"));
    fs::copy_file(KV_WCELOAD, Host("Windows/wceload.exe"));
    fs::permissions(Host("Windows/wceload.exe"), fs::perms::owner_all);
    fs::create_directories(Host("Temp"));
    fs::copy_file(KV_KORVEX_PACKAGE, Host("Temp/KorvexPortal.CAB"));
    for (const char16_t* key : {u"Services", u"Software\\Packages"}) {
      HKEY created = nullptr;
      ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &created, nullptr),
                ERROR_SUCCESS);
      RegCloseKey(created);
    }
  }

  // Runs the installer with the parameters; its exit code, and what it wrote on standard error
  // in *log.
  DWORD Run(const char16_t* parameters, std::string* log)
  {
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpFile = u"wceload.exe";
    info.lpParameters = parameters;
    info.nShow = SW_SHOW;
    testing::internal::CaptureStderr();
    EXPECT_TRUE(ShellExecuteEx(&info)) << GetLastError();
    EXPECT_EQ(WaitForSingleObject(info.hProcess, kGenerousWait), WAIT_OBJECT_0);
    *log = testing::internal::GetCapturedStderr();
    DWORD code = 0xDEAD;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return code;
  }

  device::testing::ScopedDeviceRoot root_;
};

TEST_F(Package, InstallsAndRemovesCleanly)
{
  std::map<std::string, std::string> before = DeviceState();
  before.erase("Temp/KorvexPortal.CAB");
  std::string log;
  ASSERT_EQ(Run(u"\"\\Temp\\KorvexPortal.CAB\" /delete 1 /silent", &log), 0u) << log;
  EXPECT_THAT(log, HasSubstr("dialog 229: -> 1001 \"接受\" (unattended)")) << "the agreement, from the staged package";
  EXPECT_FALSE(fs::exists(Host("Temp/KorvexPortal.CAB")));
  for (const char* file : {"Dovrel.dll", "ZunSetup.dll", "ZunSetupRes.dll/ZunSetupRes.rc",
                           "ModelRes_240x320.dll", "ModelRes_480x640.dll"})
    EXPECT_TRUE(fs::exists(Host(std::string("Program Files/KorvexPortal/") + file))) << file;
#ifdef KV_PACKAGE_HAS_CLIENT
  EXPECT_TRUE(fs::exists(Host("Program Files/KorvexPortal/KorvexPortal.exe")));
#endif
  EXPECT_EQ(Read("Windows/Start Menu/Programs/Korvex.lnk"), "46#\"\\Program Files\\KorvexPortal\\KorvexPortal.exe\"");
  std::string registry = Read(".kernel/registry/registry.dat");
  EXPECT_THAT(registry, HasSubstr("[HKEY_LOCAL_MACHINE\\Services\\Dovrel]"));
  EXPECT_THAT(registry, HasSubstr("\"Dll\"=sz:\"\\\\Program Files\\\\KorvexPortal\\\\Dovrel.dll\""));
  EXPECT_THAT(registry, HasSubstr("\"InstDir\"=sz:\"\\\\Program Files\\\\KorvexPortal\""));
  EXPECT_THAT(registry, HasSubstr("\"Prefix\"=sz:\"PAY\""));
  EXPECT_THAT(registry, HasSubstr("\"Port\"=dword:"));

  ASSERT_EQ(Run(u"/uninstall KorvexPortal /silent", &log), 0u) << log;
  EXPECT_EQ(DeviceState(), before);
}

TEST_F(Package, ADamagedPackageIsRefusedAndChangesNothing)
{
  std::string bytes = Read("Temp/KorvexPortal.CAB");
  bytes[bytes.size() / 2] = static_cast<char>(bytes[bytes.size() / 2] ^ 0x5A);
  Write("Temp/KorvexPortal.CAB", bytes);
  std::map<std::string, std::string> before = DeviceState();
  std::string log;
  EXPECT_EQ(Run(u"\"\\Temp\\KorvexPortal.CAB\" /delete 1 /silent", &log), 2u) << log;
  EXPECT_THAT(log, HasSubstr("“KorvexPortal.CAB”不是有效的安装包，或已损坏。未作任何更改。"));
  EXPECT_EQ(DeviceState(), before);
}

}  // namespace
