// The installer program stopped at each step of its work, as a phone losing power stops it:
// meanwhile no record names a version whose files are not all in place, and the next run,
// whatever its command, finishes the work (or, stopped before any hook ran, leaves the device as
// it was, or completes an undo it had begun), leaving no staging folder behind.
#include "install_test_support.h"

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <set>

#include "install_record.h"
#include "installer.h"
#include "stop_points.h"

namespace {

using namespace install_test;
using install::InstallPackage;
using install::Outcome;
using install::UninstallPackage;
using testing::HasSubstr;

using State = std::map<std::string, std::string>;

constexpr char kInit[] = "Install_Init first=1 previous=1 folder=\\Program Files\\FakeApp version=1";
constexpr char kExit[] = "Install_Exit folder=\\Program Files\\FakeApp version=2";
constexpr char kUninstallInit[] = "Uninstall_Init folder=\\Program Files\\FakeApp version=1";
constexpr char kUninstallExit[] = "Uninstall_Exit version=none";

class InterruptedRun : public InstallerTest {
 protected:
  void SetUp() override
  {
    InstallerTest::SetUp();
    PutTheInstallerProgramInPlace();
    SetHookAnswer(u"Install_Exit", 0);
  }

  // The device after the commands, in a fresh root set up as every case's.
  State StateAfter(const std::function<void()>& commands)
  {
    device::testing::ScopedDeviceRoot root;
    SetUp();
    commands();
    return DeviceState();
  }

  // A fresh root with the first version installed and no hook calls logged yet.
  void InstallTheFirstVersion()
  {
    SetUp();
    ASSERT_EQ(InstallPackage(u"\\Temp\\FakeApp1.CAB", nullptr).outcome, Outcome::done);
    fs::remove(Host("Temp/FakeSetup.log"));
  }

  // Runs the installer program stopped at the step; true when it stopped there.
  bool RunStoppedAt(const char* step, const char16_t* parameters)
  {
    setenv("KV_INSTALLER_STOP_AT", step, 1);
    std::string log;
    DWORD code = RunInstaller(parameters, &log);
    unsetenv("KV_INSTALLER_STOP_AT");
    EXPECT_EQ(code, static_cast<DWORD>(install::kStoppedExitCode)) << log;
    return code == static_cast<DWORD>(install::kStoppedExitCode);
  }
};

// The files of the package in a device state, by device path, with their contents.
State FilesOf(const State& state)
{
  State files;
  for (const auto& [path, content] : state)
    if (path.starts_with("Program Files/FakeApp/") && content != "<folder>") {
      std::string device = "\\" + path;
      std::replace(device.begin(), device.end(), '/', '\\');
      files[device] = content;
    }
  return files;
}

// A record of the package, if there is one, names the files of one of the versions, and every
// one of them is in place as that version has it.
void ExpectTheRecordedVersionInPlace(const std::vector<State>& versions)
{
  LONG error = 0;
  std::optional<install::InstallRecord> record = install::ReadInstallRecord(u"FakeApp", &error);
  if (!record) {
    EXPECT_EQ(error, ERROR_FILE_NOT_FOUND);
    return;
  }
  std::set<std::string> named;
  for (const std::u16string& file : record->files)
    named.insert(device::ToHost(file).value());
  for (const State& version : versions) {
    State files = FilesOf(version);
    std::set<std::string> paths;
    for (const auto& [path, content] : files)
      paths.insert(path);
    if (paths != named)
      continue;
    State now = FilesOf(DeviceState());
    for (const auto& [path, content] : files)
      EXPECT_EQ(now[path], content) << path;
    return;
  }
  ADD_FAILURE() << "the record names the files of no version";
}

TEST_F(InterruptedRun, AnInterruptedReplacementIsFinishedOrLeftAsItWas)
{
  State first = StateAfter([] { ASSERT_EQ(InstallPackage(u"\\Temp\\FakeApp1.CAB", nullptr).outcome, Outcome::done); });
  State second = StateAfter([] {
    ASSERT_EQ(InstallPackage(u"\\Temp\\FakeApp1.CAB", nullptr).outcome, Outcome::done);
    ASSERT_EQ(InstallPackage(u"\\Temp\\FakeApp2.CAB", nullptr).outcome, Outcome::done);
  });
  struct Case {
    const char* step;
    bool exitUndoes;  // Install_Exit undoes the installation
    const State& finally;
    std::vector<std::string> hooks;  // called by both runs
    const char* account;             // of the next run
  } cases[] = {
      {"staged", false, first, {}, ""},
      {"initialising", false, second, {kExit}, "finished the installation of FakeApp that was stopped"},
      {"initialised", false, second, {kInit, kExit}, "finished the installation"},
      {"setting aside", false, second, {kInit, kExit}, "finished the installation"},
      {"placing", false, second, {kInit, kExit}, "finished the installation"},
      {"placed", false, second, {kInit, kExit}, "finished the installation"},
      {"registered", false, second, {kInit, kExit}, "finished the installation"},
      {"exited", false, second, {kInit, kExit}, "finished the installation"},
      {"undoing", true, first, {kInit, kExit}, "undid the installation"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.step);
    device::testing::ScopedDeviceRoot root;
    InstallTheFirstVersion();
    SetHookAnswer(u"Install_Exit", c.exitUndoes);
    if (!RunStoppedAt(c.step, u"\"\\Temp\\FakeApp2.CAB\" /silent"))
      continue;
    ExpectTheRecordedVersionInPlace({first, second});

    SetHookAnswer(u"Install_Exit", 0);
    install::Result next = InstallPackage(u"\\Temp\\Missing.CAB", nullptr);
    EXPECT_EQ(next.outcome, Outcome::refused);
    EXPECT_THAT(next.detail, HasSubstr(c.account));
    EXPECT_EQ(HookCalls(), c.hooks);
    EXPECT_THAT(Differences(DeviceState(), c.finally), testing::IsEmpty());
  }
}

TEST_F(InterruptedRun, AnInterruptedRemovalIsFinished)
{
  State none = StateAfter([] {});
  State first = StateAfter([] { ASSERT_EQ(InstallPackage(u"\\Temp\\FakeApp1.CAB", nullptr).outcome, Outcome::done); });
  for (const char* step : {"uninstall initialised", "removing", "unregistered", "uninstall exited"}) {
    SCOPED_TRACE(step);
    device::testing::ScopedDeviceRoot root;
    InstallTheFirstVersion();
    if (!RunStoppedAt(step, u"/uninstall FakeApp /silent"))
      continue;
    ExpectTheRecordedVersionInPlace({first});

    install::Result next = UninstallPackage(u"FakeApp", nullptr);
    EXPECT_EQ(next.outcome, Outcome::refused) << "removed already";
    EXPECT_THAT(next.detail, HasSubstr("finished the removal of FakeApp that was stopped"));
    EXPECT_EQ(HookCalls(), (std::vector<std::string>{kUninstallInit, kUninstallExit}));
    EXPECT_THAT(Differences(DeviceState(), none), testing::IsEmpty());
  }
}

}  // namespace
