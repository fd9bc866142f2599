#include "installer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "base/errors.h"
#include "base/lasterror.h"
#include "install_work.h"
#include "kernel/device_root.h"
#include "kernel/kernel.h"
#include "log_text.h"
#include "package/package.h"
#include "package_place.h"
#include "stop_points.h"

namespace install {
namespace {

// Held while an installer works: one at a time on a device.
class InstallerLock {
 public:
  InstallerLock()
  {
    std::string path = device::PrivateFolder("install") + "/lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    held_ = fd_ >= 0 && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
  }
  ~InstallerLock()
  {
    if (fd_ >= 0)
      ::close(fd_);
  }
  InstallerLock(const InstallerLock&) = delete;
  InstallerLock& operator=(const InstallerLock&) = delete;
  bool Held() const { return held_; }

 private:
  int fd_ = -1;
  bool held_ = false;
};

std::u16string FileName(const std::u16string& path)
{
  return path.substr(path.rfind(u'\\') + 1);
}

Result Busy()
{
  return {Outcome::refused, u"另一个安装程序正在运行，请稍后再试。", "another installer is at work on this device"};
}

Result Damaged(const std::u16string& packagePath, const std::string& problem)
{
  return {Outcome::refused, u"“" + FileName(packagePath) + u"”不是有效的安装包，或已损坏。未作任何更改。",
          Host(packagePath) + ": " + problem};
}

Result Trespassing(const std::u16string& packagePath, const Trespass& trespass)
{
  return {Outcome::refused,
          u"“" + FileName(packagePath) + u"”不能安装：“" + trespass.place + u"”不属于这个安装包。未作任何更改。",
          Host(packagePath) + ": " + Host(trespass.place) + " " + trespass.why};
}

// Checks the package, stages its files and calls Install_Init; the installation runs on from
// there (install_work.h).
Result Install(const std::u16string& packagePath, HWND window, InstallWork& work)
{
  std::optional<device::MappedPath> cabinet = device::MapExistingPath(packagePath.c_str());
  if (!cabinet)
    return {Outcome::refused, u"找不到安装包“" + packagePath + u"”。",
            Host(packagePath) + ": cannot be found" + ErrorText(GetLastError())};
  std::string problem;
  PackageReader package;
  std::optional<PackagePlan> plan =
      package.Open(cabinet->host, &problem) ? PlanPackage(package.Manifest(), &problem) : std::nullopt;
  if (!plan)
    return Damaged(packagePath, problem);
  work.plan = std::move(*plan);
  const PackagePlan& planned = work.plan;
  work.journal = {false, JournalStep::init, u"", planned.name, {}};
  LONG error = work.before.Take();
  std::string failure = error ? "the registry cannot be read" + ErrorText(error) : ReadInstalled(work);
  if (!failure.empty())
    return InstallFailed(planned.name, failure);
  if (std::optional<Trespass> trespass = FindTrespass(planned, work.others))
    return Trespassing(packagePath, *trespass);

  // Every file waits in the staging folder before the setup hooks are called, so the setup
  // library can be loaded from there, with the package's other files beside it, and nothing is
  // in place before Install_Init agrees. The files are extracted there and checked against the
  // manifest a block at a time: the package is never held in memory.
  if (!work.files.Begin())
    return InstallFailed(planned.name, "no staging folder can be made" + ErrorText(GetLastError()));
  std::optional<device::MappedPath> stagingFolder = device::MapPath(work.files.Folder());
  std::vector<std::string> places;
  for (const PlannedFile& file : planned.files) {
    std::u16string staged = work.files.MakeStagingPlace(file.path);
    std::optional<device::MappedPath> place = staged.empty() ? std::nullopt : device::MapPath(staged);
    if (!place || !stagingFolder)
      return InstallFailed(planned.name, "cannot stage " + Host(file.path) + ErrorText(GetLastError()));
    places.push_back(place->host.substr(stagingFolder->host.size() + 1));
  }
  switch (package.Extract(stagingFolder->host, places, &problem)) {
    case Extraction::done:
      break;
    case Extraction::damaged:
      return Damaged(packagePath, problem);
    case Extraction::notWritten:
      return InstallFailed(planned.name, "cannot stage the files: " + problem);
  }
  if (!KeepForLaterRun(work, &package.Manifest()))
    return InstallFailed(planned.name, "cannot keep the manifest and the registry in the staging folder");
  if (!planned.setup.empty() && !work.hooks.Load(work.files.Current(planned.setup), &problem))
    return Damaged(packagePath, problem);
  StopPoint("staged");

  // From here the installation is finished, by this run or the next, whatever becomes of this
  // one: Install_Init may remove the old files. The old record goes first, so no record names
  // a version whose files are not all in place.
  work.journal.staging = work.files.Folder();
  if (!WriteJournal(work.journal))
    return InstallFailed(planned.name, "cannot keep the journal of the installation");
  std::u16string recordKey = InstallRecordKey(planned.name);
  if (LONG removed = work.record ? RemoveFromRegistry({recordKey}, {}) : ERROR_SUCCESS) {
    EndJournal();
    return InstallFailed(planned.name, "cannot change the registry" + ErrorText(removed));
  }
  StopPoint("initialising");
  if (work.hooks.InstallInit(window, work.record.has_value(), planned.folder) != codeINSTALL_INIT_CONTINUE)
    return UndoWork(work, {Outcome::cancelled, u"", "Install_Init declined the installation"});
  StopPoint("initialised");
  return ContinueInstall(work, window);
}

// Calls Uninstall_Init; the removal runs on from there (install_work.h).
Result Uninstall(const std::u16string& name, HWND window, InstallWork& work)
{
  work.journal = {true, JournalStep::remove, u"", name, {}};
  LONG error = work.before.Take();
  std::string failure = error ? "the registry cannot be read" + ErrorText(error) : ReadInstalled(work);
  if (!failure.empty())
    return UninstallFailed(name, failure);
  if (!work.record)
    return {Outcome::refused, u"没有安装“" + name + u"”。", Host(name) + " is not installed"};

  Result result;
  std::string problem;
  if (!work.record->setup.empty() && !work.hooks.Load(work.record->setup, &problem))
    result.detail = "removed without its setup hooks: " + problem;
  if (!work.files.Begin() || !KeepForLaterRun(work, nullptr))
    return UninstallFailed(name, "no staging folder can be made" + ErrorText(GetLastError()));
  if (work.hooks.UninstallInit(window, work.record->folder) != codeUNINSTALL_INIT_CONTINUE)
    return {Outcome::cancelled, u"", "Uninstall_Init declined the removal"};

  // From here the removal is finished, by this run or the next.
  work.journal.staging = work.files.Folder();
  if (!WriteJournal(work.journal))
    return UninstallFailed(name, "cannot keep the journal of the removal");
  StopPoint("uninstall initialised");
  Result removed = ContinueUninstall(work, window);
  if (!result.detail.empty())
    removed.detail = result.detail + (removed.detail.empty() ? "" : "; " + removed.detail);
  return removed;
}

// Runs the command under the installer's lock, after finishing what a run stopped midway left;
// what that was goes in the result's detail. The staging folder goes in any case.
template <typename Command>
Result RunLocked(HWND window, Command command)
{
  InstallerLock lock;
  if (!lock.Held())
    return Busy();
  std::string finished = ResumeInterruptedWork(window);
  InstallWork work;
  Result result = command(work);
  work.files.Discard();
  if (!finished.empty())
    result.detail = finished + (result.detail.empty() ? "" : "; " + result.detail);
  return result;
}

}  // namespace

Result InstallPackage(const std::u16string& packagePath, HWND window)
{
  return RunLocked(window, [&](InstallWork& work) { return Install(packagePath, window, work); });
}

Result UninstallPackage(const std::u16string& name, HWND window)
{
  return RunLocked(window, [&](InstallWork& work) { return Uninstall(name, window, work); });
}

Result FinishInterruptedWork(HWND window)
{
  return RunLocked(window, [](InstallWork&) { return Result{}; });
}

}  // namespace install
