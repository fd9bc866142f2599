#include "install_work.h"

#include <fstream>
#include <iterator>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/kernel.h"
#include "log_text.h"
#include "package_place.h"
#include "package_registry.h"
#include "stop_points.h"

namespace install {
namespace {

constexpr char16_t kRegistryBefore[] = u"\\registry.dat";
constexpr char16_t kManifest[] = u"\\manifest.ini";

std::optional<std::string> HostPath(const std::u16string& path)
{
  std::optional<device::MappedPath> mapped = device::MapPath(path);
  return mapped ? std::optional(mapped->host) : std::nullopt;
}

std::vector<std::u16string> Targets(const PackagePlan& plan)
{
  std::vector<std::u16string> targets;
  for (const PlannedFile& file : plan.files)
    targets.push_back(file.path);
  return targets;
}

// Loads the setup library from where its file is now, unless it is loaded; a problem is added
// to *detail and the work goes on without hooks.
void LoadHooks(InstallWork& work, const std::u16string& setup, std::string* detail)
{
  std::string problem;
  if (!work.hooks.Loaded() && !setup.empty() && !work.hooks.Load(work.files.Current(setup), &problem))
    *detail += (detail->empty() ? "" : "; ") + ("without its setup hooks: " + problem);
}

// The work is over: its staging folder and its journal go.
Result End(InstallWork& work, Result result)
{
  work.files.Discard();
  EndJournal();
  return result;
}

// Takes up the work of the journal: its staging folder, the registry before and, installing,
// the plan; what went wrong, or empty.
std::string Resume(InstallWork& work)
{
  work.files = FileChanges(work.journal.staging);
  std::optional<std::string> registry = HostPath(work.journal.staging + kRegistryBefore);
  if (!registry || !work.before.Load(*registry))
    return "the registry before it cannot be read";
  if (!work.journal.uninstall) {
    std::optional<std::string> path = HostPath(work.journal.staging + kManifest);
    std::ifstream in(path.value_or(""), std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string problem;
    std::optional<PackageManifest> manifest = ParseManifest(text, ManifestKind::manifest, &problem);
    std::optional<PackagePlan> plan = manifest ? PlanPackage(*manifest, &problem) : std::nullopt;
    if (!in || !plan)
      return "its manifest cannot be read";
    work.plan = std::move(*plan);
  }
  std::string failure = ReadInstalled(work);
  if (failure.empty() && work.journal.uninstall && !work.record)
    failure = "the record of what it removes is missing";
  return failure;
}

}  // namespace

Result InstallFailed(const std::u16string& name, const std::string& detail)
{
  return {Outcome::failed, u"无法安装“" + name + u"”，未作任何更改。", detail};
}

Result UninstallFailed(const std::u16string& name, const std::string& detail)
{
  return {Outcome::failed, u"无法删除“" + name + u"”，未作任何更改。", detail};
}

std::string ReadInstalled(InstallWork& work)
{
  LONG error = ERROR_SUCCESS;
  work.record = FindInstallRecord(work.before.Tree(), work.journal.name, &error);
  if (error != ERROR_SUCCESS && error != ERROR_FILE_NOT_FOUND)
    return "the registry cannot be read" + ErrorText(error);
  std::u16string bad;
  work.others.clear();
  if ((error = FindInstalledPackages(work.before.Tree(), work.journal.name, work.others, &bad)))
    return "the record of " + Host(bad) + " cannot be read" + ErrorText(error);
  if (work.record)
    work.record = OwnPart(*work.record, work.others);
  return "";
}

Result UndoWork(InstallWork& work, Result result)
{
  work.journal.step = JournalStep::undo;
  WriteJournal(work.journal);  // when it cannot be written, an interruption now finishes the work instead
  if (work.journal.uninstall) {
    for (const std::u16string& file : work.record->files)
      work.files.Unremove(file);
    work.before.Restore({InstallRecordKey(work.journal.name)});
    return End(work, result);
  }
  std::vector<std::u16string> targets = Targets(work.plan);
  for (auto target = targets.rbegin(); target != targets.rend(); ++target) {
    work.files.Unplace(*target);
    StopPoint("undoing");
  }
  RemoveEmptyFolders(work.journal.folders);
  work.before.Restore(KeysChanged(work.plan, work.before));
  return End(work, result);
}

bool KeepForLaterRun(const InstallWork& work, const PackageManifest* manifest)
{
  std::optional<std::string> registry = HostPath(work.files.Folder() + kRegistryBefore);
  if (!registry || !work.before.Save(*registry))
    return false;
  if (!manifest)
    return true;
  std::optional<std::string> path = HostPath(work.files.Folder() + kManifest);
  std::ofstream out(path.value_or(""), std::ios::binary | std::ios::trunc);
  return static_cast<bool>((out << WriteManifest(*manifest)).flush());
}

Result ContinueInstall(InstallWork& work, HWND window)
{
  InstallJournal& journal = work.journal;
  const PackagePlan& plan = work.plan;
  std::vector<std::u16string> targets = Targets(plan);
  if (journal.step == JournalStep::init) {
    journal.folders = MissingFolders(targets);
    journal.step = JournalStep::place;
    if (!WriteJournal(journal))
      return UndoWork(work, InstallFailed(plan.name, "cannot keep the journal of the installation"));
  }
  if (journal.step == JournalStep::place) {
    for (size_t i = 0; i < targets.size(); ++i) {
      if (!work.files.Place(targets[i]))
        return UndoWork(work, InstallFailed(plan.name, "cannot put " + Host(targets[i]) + " in place" +
                                                       ErrorText(GetLastError())));
      StopPoint("placing");
    }
    StopPoint("placed");
    // The record is written last, once every file of the version it names is in place.
    if (std::string failure = WriteRegistry(plan, RecordOf(plan, journal.folders, work.before, work.record));
        !failure.empty())
      return UndoWork(work, InstallFailed(plan.name, failure));
    journal.step = JournalStep::exit;
    WriteJournal(journal);  // when it cannot be written, an interruption now calls Install_Exit again
    StopPoint("registered");
  }
  Result result;
  if (journal.step == JournalStep::exit) {
    LoadHooks(work, plan.setup, &result.detail);
    if (work.hooks.InstallExit(window, plan.folder) == codeINSTALL_EXIT_UNINSTALL)
      return UndoWork(work, {Outcome::cancelled, u"", "Install_Exit undid the installation"});
    journal.step = JournalStep::finish;
    WriteJournal(journal);
    StopPoint("exited");
  }
  if (work.record)
    RemoveLeftovers(*work.record, RecordOf(plan, journal.folders, work.before, work.record));
  return End(work, result);
}

Result ContinueUninstall(InstallWork& work, HWND window)
{
  const InstallRecord& record = *work.record;
  Result result;
  if (work.journal.step == JournalStep::remove) {
    // The record goes first: no record names a version whose files are not all in place.
    if (LONG removed = RemoveFromRegistry({InstallRecordKey(work.journal.name)}, {}))
      return UndoWork(work, UninstallFailed(work.journal.name, "cannot change the registry" + ErrorText(removed)));
    for (const std::u16string& file : record.files) {
      if (!work.files.Remove(file))
        return UndoWork(work,
                        UninstallFailed(work.journal.name, "cannot remove " + Host(file) + ErrorText(GetLastError())));
      StopPoint("removing");
    }
    if (LONG removed = RemoveFromRegistry(record.keys, record.values))
      return UndoWork(work, UninstallFailed(work.journal.name, "cannot change the registry" + ErrorText(removed)));
    StopPoint("unregistered");
    RemoveEmptyFolders(record.folders);
    LoadHooks(work, record.setup, &result.detail);
    work.hooks.UninstallExit(window);
    work.journal.step = JournalStep::finish;
    WriteJournal(work.journal);
    StopPoint("uninstall exited");
  }
  return End(work, result);
}

std::string ResumeInterruptedWork(HWND window)
{
  std::string account;
  std::optional<InstallJournal> journal = ReadJournal(&account);
  if (journal) {
    InstallWork work;
    work.journal = *journal;
    std::string what = std::string(journal->uninstall ? "the removal" : "the installation") + " of " +
                       Host(journal->name) + " that was stopped";
    if (std::string failure = Resume(work); !failure.empty()) {
      account = "cannot take up " + what + ": " + failure;
    } else {
      Result result = journal->step == JournalStep::undo ? UndoWork(work, {})
                      : journal->uninstall               ? ContinueUninstall(work, window)
                                                         : ContinueInstall(work, window);
      account = (journal->step == JournalStep::undo || result.outcome != Outcome::done ? "undid " : "finished ") +
                what + (result.detail.empty() ? "" : ": " + result.detail);
    }
  }
  if (!account.empty())
    EndJournal();
  RemoveStagingFolders();
  return account;
}

}  // namespace install
