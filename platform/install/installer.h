// The device's package installer: installs a package from its cabinet file into the device
// (files, registry values, service entries and the installer's record of it, install_record.h)
// and removes an installed package by name, calling the package's setup hooks
// (install/setup.h) on the calling thread. Either all of it is done or the device is left as it
// was, apart from what the setup hooks did themselves; a run that is stopped midway (the device
// losing power) is finished by the next. One installer works on a device at a time.
#pragma once

#include <string>

#include "base/types.h"

namespace install {

enum class Outcome {
  done = 0,
  cancelled = 1,  // a setup hook declined or undid the installation (it tells the user itself)
  refused = 2,    // nothing was done: no package file, a damaged package, a package that is not
                  // installed, another installer at work
  failed = 3,     // a step failed and what was done is undone
};

struct Result {
  Outcome outcome = Outcome::done;
  std::u16string message;  // for the user; empty when there is nothing to tell
  std::string detail;      // for the log: what happened exactly; may be empty
};

// Every command first finishes the work of a run that was stopped midway (install_work.h) and
// tells what it did in the detail.

// Installs the package whose cabinet file is at that device path. A package of the same name
// that is installed is replaced: its files, keys and values that the new one lacks are removed,
// without its removal hooks.
Result InstallPackage(const std::u16string& packagePath, HWND window);

// Removes the installed package of that name.
Result UninstallPackage(const std::u16string& name, HWND window);

// Only finishes the work of a run that was stopped midway, if there is any.
Result FinishInterruptedWork(HWND window);

}  // namespace install
