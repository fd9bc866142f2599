// The command line of the package installer "\Windows\wceload.exe":
//
//   "<package>" [/delete 0|1] [/silent]    installs the package (a cabinet file); with /delete 1
//                                          the file is deleted once the package is installed
//   /uninstall "<name>" [/silent]          removes the installed package of that name
//
// /silent runs unattended: what the setup hooks ask is answered without a user (unattended.h).
// Words are separated by blanks; double quotes hold blanks in a word. Flags ignore case.
#pragma once

#include <optional>
#include <string>

namespace install {

struct InstallerCommand {
  bool uninstall = false;
  std::u16string target;  // the package's device path, or the name to remove
  bool deletePackage = false;
  bool silent = false;
};

// Nothing for a line that does not follow the grammar.
std::optional<InstallerCommand> ParseCommandLine(std::u16string_view line);

}  // namespace install
