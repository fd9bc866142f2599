// The device's process list: one held file (held_file.h) per running process in the root's
// private "processes" folder, named by the process id and holding the program's device path, a
// line feed and the process's command line (UTF-8).
// A process holds its own entry from its first use of the device root (a program installed in
// the root, from its start); a parent holds its child's entry from CreateProcess until it has
// seen the child end. An entry nobody holds is gone.
#pragma once

#include "base/types.h"

#include <string>
#include <vector>

namespace device {

struct ListedProcess {
  DWORD id;
  std::u16string devicePath;
  std::u16string commandLine;
};

// Enters the calling process in the list of the device with that root, for as long as it runs.
void ListThisProcess(const std::string& root);

// Holds a child's entry; returns the descriptor to give to ReleaseChildEntry, or -1.
int HoldChildEntry(DWORD id, std::u16string_view devicePath, std::u16string_view commandLine);
void ReleaseChildEntry(DWORD id, int fd);

// The processes that run now, in order of their ids.
std::vector<ListedProcess> ListProcesses();

}  // namespace device
