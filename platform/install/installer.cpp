#include "installer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>

#include "base/errors.h"
#include "base/lasterror.h"
#include "file_changes.h"
#include "install_record.h"
#include "kernel/device_root.h"
#include "kernel/kernel.h"
#include "package/package.h"
#include "package_place.h"
#include "package_plan.h"
#include "registry/registry.h"
#include "registry_changes.h"
#include "setup_hooks.h"

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

std::string Host(std::u16string_view text)
{
  return device::ToHost(text).value_or("?");
}

std::string ErrorText(DWORD error)
{
  return " (error " + std::to_string(error) + ")";
}

std::u16string FileName(const std::u16string& path)
{
  return path.substr(path.rfind(u'\\') + 1);
}

bool Contains(const std::vector<std::u16string>& list, std::u16string_view item)
{
  return std::any_of(list.begin(), list.end(), [&](const std::u16string& each) { return device::SameName(each, item); });
}

void AddOnce(std::vector<std::u16string>& list, const std::u16string& item)
{
  if (!Contains(list, item))
    list.push_back(item);
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

Result InstallFailed(const std::u16string& name, const std::string& detail)
{
  return {Outcome::failed, u"无法安装“" + name + u"”，未作任何更改。", detail};
}

Result UninstallFailed(const std::u16string& name, const std::string& detail)
{
  return {Outcome::failed, u"无法删除“" + name + u"”，未作任何更改。", detail};
}

// The key an installation makes on the way to a value's key, which the package's removal takes
// whole: the outermost that was missing, but never one that holds the installer's records;
// empty when it makes none.
std::u16string KeyMadeFor(const RegistrySnapshot& before, const std::u16string& key)
{
  std::u16string made = before.OutermostMissing(key);
  while (!made.empty() && IsWithin(kInstallRecordsKey, made))
    made = made.size() == key.size() ? u"" : key.substr(0, key.find(u'\\', made.size() + 1));
  return made;
}

// The record of the installation: what the package installs now, the folders and keys it made
// (now, or for the installation it replaces where the new one still uses them).
InstallRecord RecordOf(const PackagePlan& plan, const std::vector<std::u16string>& madeFolders,
                       const RegistrySnapshot& before, const std::optional<InstallRecord>& previous)
{
  InstallRecord record;
  record.folder = plan.folder;
  record.setup = plan.setup;
  for (const PlannedFile& file : plan.files)
    record.files.push_back(file.path);
  record.folders = madeFolders;
  for (const services::ServiceEntry& service : plan.services)
    AddOnce(record.keys, ServiceKey(service));
  for (const PlannedValue& value : plan.values) {
    record.values.push_back(value.key + u"\\" + value.name);
    if (std::u16string made = KeyMadeFor(before, value.key); !made.empty())
      AddOnce(record.keys, made);
  }
  if (previous) {
    for (const std::u16string& folder : previous->folders)
      AddOnce(record.folders, folder);
    for (const std::u16string& key : previous->keys)
      if (std::any_of(plan.values.begin(), plan.values.end(),
                      [&](const PlannedValue& value) { return IsWithin(value.key, key); }))
        AddOnce(record.keys, key);
  }
  return record;
}

// The keys an installation of the plan changes, to be put back when it is undone.
std::vector<std::u16string> KeysChanged(const PackagePlan& plan, const RegistrySnapshot& before)
{
  std::vector<std::u16string> keys{InstallRecordKey(plan.name)};
  for (const services::ServiceEntry& service : plan.services)
    AddOnce(keys, ServiceKey(service));
  for (const PlannedValue& value : plan.values) {
    std::u16string made = before.OutermostMissing(value.key);
    AddOnce(keys, made.empty() ? value.key : made);
  }
  return keys;
}

LONG WriteValue(const PlannedValue& value)
{
  size_t hiveEnd = value.key.find(u'\\');
  HKEY hive = value.key.substr(0, hiveEnd) == u"HKEY_CURRENT_USER" ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  HKEY key = nullptr;
  LONG error = RegCreateKeyExW(hive, value.key.substr(hiveEnd + 1).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                               &key, nullptr);
  if (error != ERROR_SUCCESS)
    return error;
  error = RegSetValueExW(key, value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
  RegCloseKey(key);
  return error;
}

std::string WriteRegistry(const PackagePlan& plan, const InstallRecord& record)
{
  for (const PlannedValue& value : plan.values)
    if (LONG error = WriteValue(value))
      return "cannot set the registry value " + Host(value.key) + "\\" + Host(value.name) + ErrorText(error);
  for (const services::ServiceEntry& service : plan.services)
    if (LONG error = services::WriteServiceEntry(service))
      return "cannot register the service " + Host(service.name) + ErrorText(error);
  if (LONG error = WriteInstallRecord(plan.name, record))
    return "cannot record the installation" + ErrorText(error);
  return "";
}

// Removes each empty folder of the list, the deepest first; folders that hold something stay.
void RemoveEmptyFolders(std::vector<std::u16string> folders)
{
  std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
  for (const std::u16string& folder : folders)
    RemoveDirectoryW(folder.c_str());
}

// After an installation replaced an earlier one: what only the earlier one had goes.
void RemoveLeftovers(const InstallRecord& previous, const InstallRecord& record)
{
  for (const std::u16string& file : previous.files)
    if (!Contains(record.files, file))
      DeleteFileW(file.c_str());
  std::vector<std::u16string> keys, values;
  for (const std::u16string& key : previous.keys)
    if (!Contains(record.keys, key))
      keys.push_back(key);
  for (const std::u16string& value : previous.values)
    if (!Contains(record.values, value))
      values.push_back(value);
  RemoveFromRegistry(keys, values);
  RemoveEmptyFolders(previous.folders);
}

// Takes the registry as it is, with the record of the package of that name (nothing when it is
// not installed) and those of the others; what went wrong, or empty.
std::string ReadInstalled(RegistrySnapshot& registry, std::u16string_view name, std::vector<InstalledPackage>& others,
                          std::optional<InstallRecord>& record)
{
  LONG error = registry.Take();
  if (error == ERROR_SUCCESS)
    record = FindInstallRecord(registry.Tree(), name, &error);
  if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
    return "the registry cannot be read" + ErrorText(error);
  std::u16string bad;
  if ((error = FindInstalledPackages(registry.Tree(), name, others, &bad)))
    return "the record of " + Host(bad) + " cannot be read" + ErrorText(error);
  return "";
}

}  // namespace

Result InstallPackage(const std::u16string& packagePath, HWND window)
{
  InstallerLock lock;
  if (!lock.Held())
    return Busy();
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

  RegistrySnapshot before;
  std::vector<InstalledPackage> others;
  std::optional<InstallRecord> previous;
  if (std::string failure = ReadInstalled(before, plan->name, others, previous); !failure.empty())
    return InstallFailed(plan->name, failure);
  if (std::optional<Trespass> trespass = FindTrespass(*plan, others))
    return Trespassing(packagePath, *trespass);
  if (previous)
    previous = OwnPart(*previous, others);

  // Every file waits in the staging folder before the setup hooks are called, so the setup
  // library can be loaded from there, with the package's other files beside it, and nothing is
  // in place before Install_Init agrees. The files are extracted there and checked against the
  // manifest a block at a time: the package is never held in memory.
  FileChanges files;
  if (!files.Ready())
    return InstallFailed(plan->name, "no staging folder can be made" + ErrorText(GetLastError()));
  std::vector<std::u16string> staged;
  std::vector<std::string> places;
  std::optional<device::MappedPath> stagingFolder = device::MapPath(files.Folder());
  for (const PlannedFile& file : plan->files) {
    staged.push_back(files.MakeStagingPlace(file.path));
    std::optional<device::MappedPath> place = staged.back().empty() ? std::nullopt : device::MapPath(staged.back());
    if (!place || !stagingFolder)
      return InstallFailed(plan->name, "cannot stage " + Host(file.path) + ErrorText(GetLastError()));
    places.push_back(place->host.substr(stagingFolder->host.size() + 1));
  }
  switch (package.Extract(stagingFolder->host, places, &problem)) {
    case Extraction::done:
      break;
    case Extraction::damaged:
      return Damaged(packagePath, problem);
    case Extraction::notWritten:
      return InstallFailed(plan->name, "cannot stage the files: " + problem);
  }
  SetupHooks hooks;
  if (!plan->setup.empty()) {
    auto setup = std::find_if(plan->files.begin(), plan->files.end(),
                              [&](const PlannedFile& file) { return device::SameName(file.path, plan->setup); });
    if (!hooks.Load(staged[static_cast<size_t>(setup - plan->files.begin())], &problem))
      return Damaged(packagePath, problem);
  }
  if (hooks.InstallInit(window, previous.has_value(), plan->folder) != codeINSTALL_INIT_CONTINUE)
    return {Outcome::cancelled, u"", "Install_Init declined the installation"};

  for (size_t i = 0; i < plan->files.size(); ++i)
    if (!files.Place(staged[i], plan->files[i].path))
      return InstallFailed(plan->name,
                           "cannot put " + Host(plan->files[i].path) + " in place" + ErrorText(GetLastError()));
  InstallRecord record = RecordOf(*plan, files.MadeFolders(), before, previous);
  if (std::string failure = WriteRegistry(*plan, record); !failure.empty()) {
    before.Restore(KeysChanged(*plan, before));
    return InstallFailed(plan->name, failure);
  }
  if (hooks.InstallExit(window, plan->folder) == codeINSTALL_EXIT_UNINSTALL) {
    before.Restore(KeysChanged(*plan, before));
    return {Outcome::cancelled, u"", "Install_Exit undid the installation"};
  }
  files.Keep();
  if (previous)
    RemoveLeftovers(*previous, record);
  return {};
}

Result UninstallPackage(const std::u16string& name, HWND window)
{
  InstallerLock lock;
  if (!lock.Held())
    return Busy();
  RegistrySnapshot before;
  std::vector<InstalledPackage> others;
  std::optional<InstallRecord> record;
  if (std::string failure = ReadInstalled(before, name, others, record); !failure.empty())
    return UninstallFailed(name, failure);
  if (!record)
    return {Outcome::refused, u"没有安装“" + name + u"”。", Host(name) + " is not installed"};
  record = OwnPart(*record, others);

  Result result;
  SetupHooks hooks;
  std::string problem;
  if (!record->setup.empty() && !hooks.Load(record->setup, &problem))
    result.detail = "removed without its setup hooks: " + problem;
  FileChanges files;
  if (!files.Ready())
    return UninstallFailed(name, "no staging folder can be made" + ErrorText(GetLastError()));
  if (hooks.UninstallInit(window, record->folder) != codeUNINSTALL_INIT_CONTINUE)
    return {Outcome::cancelled, u"", "Uninstall_Init declined the removal"};

  for (const std::u16string& file : record->files)
    if (!files.Remove(file))
      return UninstallFailed(name, "cannot remove " + Host(file) + ErrorText(GetLastError()));
  std::vector<std::u16string> keys = record->keys;
  keys.push_back(InstallRecordKey(name));
  if (LONG removed = RemoveFromRegistry(keys, record->values))
    return UninstallFailed(name, "cannot change the registry" + ErrorText(removed));
  files.Keep();
  RemoveEmptyFolders(record->folders);
  hooks.UninstallExit(window);
  return result;
}

}  // namespace install
