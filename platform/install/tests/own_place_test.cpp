// A package keeps to its own place: a manifest that declares another's file, folder, service,
// key or value, the device's own files or the installer's records is refused, naming what it
// reached for, and changes nothing; removing a package takes only what is its own.
#include "install_test_support.h"

#include <functional>

#include "install_record.h"
#include "installer.h"
#include "package/package.h"
#include "services/service_registry.h"

namespace {

using namespace install_test;
using install::InstallPackage;
using install::Outcome;
using install::UninstallPackage;
using testing::HasSubstr;

void AddFile(install::Package& package, const std::string& path, const std::string& content)
{
  package.manifest.files.push_back({path, "", 0, "", false});
  package.contents.emplace_back(content.begin(), content.end());
}

void AddValue(install::Package& package, const std::string& key, const std::string& name, const std::string& text)
{
  package.manifest.values.push_back({key, name, false, text, 0});
}

// Writes the package of that name at "\Temp\<name>.CAB": one file in its own folder
// "\Program Files\<name>", then as change makes it.
void WritePackage(const std::string& name, const std::function<void(install::Package&)>& change = {})
{
  install::Package package;
  package.manifest.name = name;
  package.manifest.folder = "\\Program Files\\" + name;
  AddFile(package, package.manifest.folder + "\\" + name + ".txt", name);
  if (change)
    change(package);
  std::string problem;
  fs::create_directories(Host("Temp"));
  ASSERT_TRUE(install::WritePackage(Host("Temp/" + name + ".CAB").string(), package, &problem)) << problem;
}

std::u16string Wide(const std::string& text)
{
  return device::FromHost(text).value();
}

TEST_F(InstallerTest, APackageThatReachesOutOfItsPlaceIsRefusedAndChangesNothing)
{
  ASSERT_EQ(InstallPackage(u"\\Temp\\FakeApp1.CAB", nullptr).outcome, Outcome::done);
  Write("Windows/wceload.exe", "the installer");
  Write("device.ini", "[network]\ngateway = https://127.0.0.1:8443\n");
  struct Case {
    const char* what;
    std::function<void(install::Package&)> change;
    const char* place;
  } cases[] = {
      {"replaces the installer", [](install::Package& p) { AddFile(p, "\\Windows\\wceload.exe", "x"); },
       "\\Windows\\wceload.exe"},
      {"replaces the device's settings", [](install::Package& p) { AddFile(p, "\\device.ini", "x"); }, "\\device.ini"},
      {"replaces another package's file",
       [](install::Package& p) { AddFile(p, "\\Program Files\\FakeApp\\FakeApp.exe", "x"); },
       "\\Program Files\\FakeApp\\FakeApp.exe"},
      {"installs into the device's folder",
       [](install::Package& p) {
         p.manifest.folder = "\\Windows";
         p.manifest.files[0].path = "\\Windows\\Evil.txt";
       },
       "\\Windows"},
      {"installs into another package's folder",
       [](install::Package& p) {
         p.manifest.folder = "\\Program Files\\FakeApp\\Evil";
         p.manifest.files[0].path = "\\Program Files\\FakeApp\\Evil\\Evil.txt";
       },
       "\\Program Files\\FakeApp\\Evil"},
      {"installs around another package's folder",
       [](install::Package& p) {
         p.manifest.folder = "\\Program Files";
         p.manifest.files[0].path = "\\Program Files\\Evil.txt";
       },
       "\\Program Files"},
      {"declares another package's service",
       [](install::Package& p) {
         p.manifest.services.push_back({"FakeService", "\\Program Files\\Evil\\Evil.txt", "EVL", 0, 0, 1, "", 0});
       },
       "HKEY_LOCAL_MACHINE\\Services\\FakeService"},
      {"writes in the installer's records",
       [](install::Package& p) { AddValue(p, "HKEY_LOCAL_MACHINE\\Software\\Packages\\FakeApp", "Files", "x"); },
       "HKEY_LOCAL_MACHINE\\Software\\Packages\\FakeApp\\Files"},
      {"writes in another package's key",
       [](install::Package& p) { AddValue(p, "HKEY_LOCAL_MACHINE\\Software\\FakeVendor\\Evil", "Version", "x"); },
       "HKEY_LOCAL_MACHINE\\Software\\FakeVendor\\Evil\\Version"},
      {"sets another package's value",
       [](install::Package& p) { AddValue(p, "HKEY_LOCAL_MACHINE\\Software\\Shared", "FakeApp", "x"); },
       "HKEY_LOCAL_MACHINE\\Software\\Shared\\FakeApp"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WritePackage("Evil", c.change);
    std::map<std::string, std::string> before = DeviceState();
    install::Result result = InstallPackage(u"\\Temp\\Evil.CAB", nullptr);
    EXPECT_EQ(result.outcome, Outcome::refused);
    EXPECT_EQ(result.message,
              u"“Evil.CAB”不能安装：“" + Wide(c.place) + u"”不属于这个安装包。未作任何更改。");
    EXPECT_THAT(result.detail, HasSubstr(std::string(c.place) + " "));
    EXPECT_EQ(DeviceState(), before);
  }
  // The package whose place was reached for is whole: it is removed as it was installed.
  install::Result removed = UninstallPackage(u"FakeApp", nullptr);
  EXPECT_EQ(removed.outcome, Outcome::done) << removed.detail;
  EXPECT_FALSE(fs::exists(Host("Program Files/FakeApp")));
}

TEST(OwnPlace, RemovalTakesOnlyWhatIsThePackagesOwn)
{
  device::testing::ScopedDeviceRoot root;  // no registry yet: the first package makes its keys
  WritePackage("Early", [](install::Package& p) { AddValue(p, "HKEY_LOCAL_MACHINE\\Software\\Early", "Build", "1"); });
  ASSERT_EQ(InstallPackage(u"\\Temp\\Early.CAB", nullptr).outcome, Outcome::done);
  fs::copy_file(KV_FAKE_PACKAGE_1, Host("Temp/FakeApp1.CAB"));
  ASSERT_EQ(InstallPackage(u"\\Temp\\FakeApp1.CAB", nullptr).outcome, Outcome::done);
  Write("Windows/wceload.exe", "the installer");
  std::map<std::string, std::string> installed = DeviceState();

  // A record as an installer that knew no places might have written it.
  install::InstallRecord legacy{u"\\Windows",
                                u"",
                                {u"\\Windows\\wceload.exe", u"\\Program Files\\FakeApp\\FakeApp.exe"},
                                {},
                                {u"HKEY_LOCAL_MACHINE\\Services\\FakeService", u"HKEY_LOCAL_MACHINE\\Software",
                                 u"HKEY_LOCAL_MACHINE\\Software\\Packages\\FakeApp"},
                                {u"HKEY_LOCAL_MACHINE\\Software\\Shared\\FakeApp",
                                 u"HKEY_LOCAL_MACHINE\\Software\\Packages\\FakeApp\\Files"}};
  ASSERT_EQ(install::WriteInstallRecord(u"Legacy", legacy), ERROR_SUCCESS);
  install::Result result = UninstallPackage(u"Legacy", nullptr);
  ASSERT_EQ(result.outcome, Outcome::done) << result.detail;
  EXPECT_EQ(DeviceState(), installed);

  // The first package made the keys above its value; its removal takes its own key only.
  result = UninstallPackage(u"Early", nullptr);
  ASSERT_EQ(result.outcome, Outcome::done) << result.detail;
  EXPECT_FALSE(fs::exists(Host("Program Files/Early")));
  std::string registry = Read(".kernel/registry/registry.dat");
  EXPECT_THAT(registry, testing::Not(HasSubstr("Early")));
  EXPECT_THAT(registry, HasSubstr("[HKEY_LOCAL_MACHINE\\Software\\Packages\\FakeApp]"));
  LONG error = 0;
  EXPECT_TRUE(services::ReadServiceEntry(u"FakeService", &error)) << error;
  EXPECT_EQ(Read("Program Files/FakeApp/version.txt"), "1\n");
  result = UninstallPackage(u"FakeApp", nullptr);
  EXPECT_EQ(result.outcome, Outcome::done) << result.detail;
}

}  // namespace
