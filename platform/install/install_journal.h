// The journal of the installer's work in progress: a file of the layer's own state on the
// device ("install/journal" in its private folder), there from the moment a run can no longer
// simply stop until its work is done or undone. The next run, whatever its command, finds it and
// finishes that work first. What the work needs lies in the run's staging folder: the package's
// manifest and the registry as it was before (install_work.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace install {

enum class JournalStep {
  init,    // installing: the setup library's Install_Init is called; there is no way back
  place,   // installing: the files are put in place and the registry written
  exit,    // installing: Install_Exit is called
  remove,  // removing, once Uninstall_Init agreed: the files and registry entries go, then Uninstall_Exit
  finish,  // the last hook has run: what is left over goes
  undo,    // a step failed or a hook undid the work: everything is put back
};

struct InstallJournal {
  bool uninstall = false;
  JournalStep step = JournalStep::init;
  std::u16string staging;               // the run's staging folder
  std::u16string name;                  // the package's
  std::vector<std::u16string> folders;  // installing: the folders that putting the files in place makes
};

// The journal of the work in progress; nothing when there is none, or when it cannot be read
// (which *problem then tells).
std::optional<InstallJournal> ReadJournal(std::string* problem);

// Replaces the journal as a whole, on disk before it returns. False when it cannot.
bool WriteJournal(const InstallJournal& journal);

// The work is done: the journal goes.
void EndJournal();

}  // namespace install
