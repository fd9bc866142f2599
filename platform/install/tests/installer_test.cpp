// The installer at work in a fresh device root, on packages made by the build step: what it puts
// in place and removes, the order of the setup hooks around that, replacing an installed
// version, and leaving the device as it was when a hook declines, a step fails or the package
// is damaged.
#include "install_test_support.h"

#include <cstring>
#include <functional>

#include "installer.h"
#include "package/cabinet.h"
#include "package/package.h"
#include "services/service_registry.h"

namespace {

using namespace install_test;
using install::InstallPackage;
using install::Outcome;
using install::UninstallPackage;
using testing::ElementsAre;
using testing::HasSubstr;

constexpr char16_t kPackage1[] = u"\\Temp\\FakeApp1.CAB";
constexpr char16_t kPackage2[] = u"\\Temp\\FakeApp2.CAB";

std::u16string Text(HKEY hive, const char16_t* key, const char16_t* name)
{
  HKEY opened = nullptr;
  char16_t text[64] = {};
  DWORD size = sizeof text;
  if (RegOpenKeyExW(hive, key, 0, KEY_READ, &opened) != ERROR_SUCCESS)
    return u"<no key>";
  LONG error = RegQueryValueExW(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
  RegCloseKey(opened);
  return error == ERROR_SUCCESS ? text : u"<no value>";
}

DWORD Number(HKEY hive, const char16_t* key, const char16_t* name)
{
  HKEY opened = nullptr;
  DWORD value = 0xDEAD, size = sizeof value;
  if (RegOpenKeyExW(hive, key, 0, KEY_READ, &opened) == ERROR_SUCCESS) {
    RegQueryValueExW(opened, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(opened);
  }
  return value;
}

DWORD RunAndExitCode(const char16_t* program)
{
  PROCESS_INFORMATION info{};
  std::u16string line;
  if (!CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info))
    return GetLastError() + 1000;
  WaitForSingleObject(info.hProcess, 60000);
  DWORD code = 0;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return code;
}

// Whether any shortcut file lies anywhere on the device.
bool HasShortcut()
{
  for (const auto& entry : fs::recursive_directory_iterator(device::RootPath()))
    if (entry.path().extension() == ".lnk")
      return true;
  return false;
}

void InstallFirstVersion()
{
  install::Result result = InstallPackage(kPackage1, nullptr);
  ASSERT_EQ(result.outcome, Outcome::done) << result.detail;
  fs::remove(Host("Temp/FakeSetup.log"));
}

TEST_F(InstallerTest, InstallsAPackageAndRemovesItByName)
{
  std::map<std::string, std::string> before = DeviceState();
  install::Result result = InstallPackage(kPackage1, nullptr);
  ASSERT_EQ(result.outcome, Outcome::done) << result.detail;
  EXPECT_EQ(result.message, u"");

  EXPECT_EQ(Read("Program Files/FakeApp/version.txt"), "1\n");
  EXPECT_EQ(Read("Program Files/FakeApp/FakeApp.exe"), ReadHostFile(KV_FAKE_APP));
  EXPECT_EQ(Read("Program Files/FakeApp/FakeRes.dll/pages/帮助.htm"),
            ReadHostFile(fs::u8path(KV_INSTALL_TEST_DATA "/FakeRes.dll/pages/帮助.htm")));
  EXPECT_EQ(Read("Program Files/FakeApp/readme.txt"), "Installed by the first version only.\n");
  EXPECT_EQ(RunAndExitCode(u"\\Program Files\\FakeApp\\FakeApp.exe"), 7u);
  EXPECT_TRUE(fs::exists(Host("Temp/FakeApp1.CAB")));  // kept: the program deletes it when told to

  LONG error = 0;
  std::optional<services::ServiceEntry> service = services::ReadServiceEntry(u"FakeService", &error);
  ASSERT_TRUE(service) << error;
  EXPECT_EQ(service->dll, u"\\Program Files\\FakeApp\\FakeService.dll");
  EXPECT_EQ(service->prefix, u"FKS");
  EXPECT_EQ(service->InstanceName(), u"FKS0:");
  EXPECT_EQ(service->port, 8087);
  EXPECT_EQ(service->instDir, u"\\Program Files\\FakeApp");
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, u"Software\\FakeVendor\\FakeApp", u"Version"), u"1.0");
  EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, u"Software\\Shared", u"FakeApp"), 1u);
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, u"Software\\Packages\\FakeApp", u"Setup"),
            u"\\Program Files\\FakeApp\\FakeSetup.dll");

  // Init before any file is in place, Exit after; the shortcut is the hooks' to make.
  EXPECT_THAT(HookCalls(), ElementsAre("Install_Init first=1 previous=0 folder=\\Program Files\\FakeApp version=none",
                                       "Install_Exit folder=\\Program Files\\FakeApp version=1"));
  EXPECT_FALSE(HasShortcut());

  result = UninstallPackage(u"fakeapp", nullptr);
  ASSERT_EQ(result.outcome, Outcome::done) << result.detail;
  EXPECT_THAT(HookCalls(), ElementsAre(testing::_, testing::_,
                                       "Uninstall_Init folder=\\Program Files\\FakeApp version=1",
                                       "Uninstall_Exit version=none"));
  // Everything it brought has gone, the shared key's other value and the other service stay.
  EXPECT_EQ(DeviceState(), before);
}

TEST_F(InstallerTest, ANewVersionReplacesTheInstalledOne)
{
  std::map<std::string, std::string> before = DeviceState();
  InstallFirstVersion();
  install::Result result = InstallPackage(kPackage2, nullptr);
  ASSERT_EQ(result.outcome, Outcome::done) << result.detail;
  EXPECT_THAT(HookCalls(), ElementsAre("Install_Init first=1 previous=1 folder=\\Program Files\\FakeApp version=1",
                                       "Install_Exit folder=\\Program Files\\FakeApp version=2"));
  EXPECT_EQ(Read("Program Files/FakeApp/Notes/notes.txt"), "Installed by the second version only.\n");
  EXPECT_FALSE(fs::exists(Host("Program Files/FakeApp/readme.txt")));
  EXPECT_EQ(Text(HKEY_LOCAL_MACHINE, u"Software\\FakeVendor\\FakeApp", u"Version"), u"2.0");
  EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, u"Software\\Shared", u"FakeApp"), 0xDEADu);
  EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, u"Software\\Shared", u"Other"), 5u);

  result = UninstallPackage(u"FakeApp", nullptr);
  ASSERT_EQ(result.outcome, Outcome::done) << result.detail;
  EXPECT_EQ(DeviceState(), before);
}

TEST_F(InstallerTest, AHookThatDeclinesOrUndoesLeavesTheDeviceAsItWas)
{
  struct Case {
    const char* what;
    const char16_t* hook;
    bool firstVersionInstalled;
    const char16_t* package;  // null: remove the package
    size_t calls;
  } cases[] = {
      {"declined installation", u"Install_Init", false, kPackage1, 1},
      {"undone installation", u"Install_Exit", false, kPackage1, 2},
      {"declined replacement", u"Install_Init", true, kPackage2, 1},
      {"undone replacement", u"Install_Exit", true, kPackage2, 2},
      {"declined removal", u"Uninstall_Init", true, nullptr, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    device::testing::ScopedDeviceRoot root;
    SetUp();
    if (c.firstVersionInstalled)
      InstallFirstVersion();
    SetHookAnswer(c.hook, 1);
    std::map<std::string, std::string> before = DeviceState();
    install::Result result = c.package ? InstallPackage(c.package, nullptr) : UninstallPackage(u"FakeApp", nullptr);
    EXPECT_EQ(result.outcome, Outcome::cancelled);
    EXPECT_EQ(result.message, u"");  // the hook tells the user why
    EXPECT_EQ(HookCalls().size(), c.calls);
    EXPECT_EQ(DeviceState(), before);
  }
}

TEST_F(InstallerTest, AStepThatFailsIsUndoneWithEveryStepBefore)
{
  InstallFirstVersion();
  Write("Program Files/FakeApp/Notes", "a file where the second version puts a folder");
  std::map<std::string, std::string> before = DeviceState();
  install::Result result = InstallPackage(kPackage2, nullptr);
  EXPECT_EQ(result.outcome, Outcome::failed);
  EXPECT_EQ(result.message, u"无法安装“FakeApp”，未作任何更改。");
  EXPECT_THAT(result.detail, HasSubstr("cannot put \\Program Files\\FakeApp\\Notes\\notes.txt in place"));
  EXPECT_EQ(HookCalls().size(), 1u);  // Install_Exit is never reached
  EXPECT_EQ(DeviceState(), before);
}

// A package written by the test: the first version, changed, and with further files in its
// cabinet that the manifest does not list.
std::vector<uint8_t> PackageWith(const std::function<void(install::Package&)>& change,
                                 std::vector<install::CabinetFile> files = {})
{
  std::string problem;
  install::Package package = ReadWholePackage(KV_FAKE_PACKAGE_1);
  change(package);
  for (size_t i = 0; i < package.contents.size(); ++i)
    files.push_back({install::CabinetName(package.manifest.files[i]), package.contents[i], false});
  std::string manifest = install::WriteManifest(package.manifest);
  files.push_back({install::kManifestName, std::vector<uint8_t>(manifest.begin(), manifest.end()), false});
  fs::path path = Host("Temp/Written.CAB");
  EXPECT_TRUE(install::WriteCabinet(path.string(), files, &problem)) << problem;
  std::string bytes = ReadHostFile(path);
  fs::remove(path);
  return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// The index of the package's file whose path ends with name.
size_t IndexOf(const install::Package& package, const std::string& name)
{
  for (size_t i = 0; i < package.manifest.files.size(); ++i)
    if (package.manifest.files[i].path.ends_with(name))
      return i;
  ADD_FAILURE() << name;
  return 0;
}

TEST_F(InstallerTest, ADamagedPackageIsRefusedAndChangesNothing)
{
  std::string good = ReadHostFile(KV_FAKE_PACKAGE_1);
  auto damaged = [&](const std::function<void(std::string&)>& damage) {
    std::string bytes = good;
    damage(bytes);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
  };
  // Where the cabinet's file entries begin, the first being the manifest's.
  uint32_t files = 0;
  memcpy(&files, good.data() + 16, sizeof files);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    const char* problem;
  } cases[] = {
      {"not a cabinet", damaged([](std::string& b) { b = "[package]\nformat = 1\n"; }), "not a cabinet"},
      {"cut short", damaged([](std::string& b) { b.resize(b.size() / 2); }), "damaged cabinet"},
      {"a byte of data changed", damaged([](std::string& b) { b[b.size() - 200] ^= 0x55; }), "damaged cabinet"},
      {"the manifest's name changed", damaged([&](std::string& b) { b[files + 16] ^= 0x01; }),
       "the cabinet holds no _manifest.ini"},
      {"a file unlike its digest", PackageWith([](install::Package& p) { p.contents[0][0] ^= 1; }),
       "\\Program Files\\FakeApp\\version.txt is not the file the manifest lists"},
      {"files beyond the size limit",
       PackageWith([](install::Package& p) { p.manifest.files[0].size = install::kPackageSizeLimit; }),
       "the files come to more than 536870912 bytes"},
      {"a file that expands beyond its declared size", PackageWith([](install::Package& p) {
         p.contents[0].assign(32 << 20, 0);  // a few kilobytes in the cabinet
         std::vector<uint8_t> declared(4096, 0);
         p.manifest.files[0].size = declared.size();
         p.manifest.files[0].sha256 = install::Sha256Hex(declared);
       }), "\\Program Files\\FakeApp\\version.txt is not the file the manifest lists"},
      {"a file the manifest does not list",
       PackageWith([](install::Package&) {}, {{"Program Files\\FakeApp\\stray.txt", {'x'}, false}}),
       "the manifest does not list Program Files\\FakeApp\\stray.txt"},
      {"a path out of the device",
       PackageWith([](install::Package& p) { p.manifest.files[1].path = "\\Program Files\\..\\..\\FakeApp.exe"; }),
       "the device refuses the path \\Program Files\\..\\..\\FakeApp.exe"},
      {"a setup library without hooks", PackageWith([](install::Package& p) {
         size_t setup = IndexOf(p, "FakeSetup.dll"), service = IndexOf(p, "FakeService.dll");
         p.contents[setup] = p.contents[service];
         p.manifest.files[setup].size = p.manifest.files[service].size;
         p.manifest.files[setup].sha256 = p.manifest.files[service].sha256;
       }), "lacks one of Install_Init"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::ofstream(Host("Temp/Damaged.CAB"), std::ios::binary)
        .write(reinterpret_cast<const char*>(c.bytes.data()), static_cast<std::streamsize>(c.bytes.size()));
    std::map<std::string, std::string> before = DeviceState();
    install::Result result = InstallPackage(u"\\Temp\\Damaged.CAB", nullptr);
    EXPECT_EQ(result.outcome, Outcome::refused);
    EXPECT_EQ(result.message, u"“Damaged.CAB”不是有效的安装包，或已损坏。未作任何更改。");
    EXPECT_THAT(result.detail, HasSubstr(c.problem));
    EXPECT_TRUE(HookCalls().empty());
    EXPECT_EQ(DeviceState(), before);
  }
}

TEST_F(InstallerTest, RefusesWhatItCannotFind)
{
  install::Result result = InstallPackage(u"\\Temp\\Missing.CAB", nullptr);
  EXPECT_EQ(result.outcome, Outcome::refused);
  EXPECT_EQ(result.message, u"找不到安装包“\\Temp\\Missing.CAB”。");
  result = UninstallPackage(u"FakeApp", nullptr);
  EXPECT_EQ(result.outcome, Outcome::refused);
  EXPECT_EQ(result.message, u"没有安装“FakeApp”。");
}

}  // namespace
