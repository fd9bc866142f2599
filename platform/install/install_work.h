// The installer's work on one package from the point where it can no longer simply stop: a
// fresh run takes it there, and the next run takes it up from the journal (install_journal.h)
// when the one before was stopped midway. Installing runs on once the setup library's
// Install_Init was called, which may have removed the old files, so the new ones are put in
// place from the staging folder; removing runs on once Uninstall_Init agreed. When a step fails
// or Install_Exit undoes the installation, everything the installer changed is put back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "file_changes.h"
#include "install_journal.h"
#include "install_record.h"
#include "installer.h"
#include "package/manifest.h"
#include "package_plan.h"
#include "registry_changes.h"
#include "setup_hooks.h"

namespace install {

struct InstallWork {
  InstallJournal journal;
  FileChanges files;
  PackagePlan plan;  // installing
  RegistrySnapshot before;
  std::vector<InstalledPackage> others;  // the other installed packages, before
  // The own part of the package's record before: of the installation replaced, or removed.
  std::optional<InstallRecord> record;
  SetupHooks hooks;  // once loaded
};

Result InstallFailed(const std::u16string& name, const std::string& detail);
Result UninstallFailed(const std::u16string& name, const std::string& detail);

// Reads from work.before the record of the package (nothing when it is not installed) and the
// others' records; what went wrong, or empty.
std::string ReadInstalled(InstallWork& work);

// Keeps in the staging folder what a later run needs to take up the work: the registry before
// and, installing, the manifest. False when it cannot.
bool KeepForLaterRun(const InstallWork& work, const PackageManifest* manifest);

// Puts back everything the work changed, then ends it with the result.
Result UndoWork(InstallWork& work, Result result);

// Runs an installation on from the step its journal names to its end.
Result ContinueInstall(InstallWork& work, HWND window);

// Runs a removal on from the step its journal names to its end.
Result ContinueUninstall(InstallWork& work, HWND window);

// Finishes or undoes the work a run stopped midway left, as the journal tells, and removes the
// staging folders of runs that ended before they could. The caller holds the installer's lock.
// An account for the log; empty when there was nothing to do.
std::string ResumeInterruptedWork(HWND window);

}  // namespace install
