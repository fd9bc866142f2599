// Modules for the pieces of the layer: where the running program and the loaded libraries lie.
#pragma once

#include "base/types.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace device {

// The running program's device path: its place in the device root, or
// "\Program Files\Tests\<name>.exe" for a program outside it.
const std::u16string& ProgramPath();

// The running program's executable on the host.
const std::string& ProgramHostPath();

// Where the device looks for a program or library named name: a name with a folder is taken as
// it is; one without is looked for in the running program's folder, then in "\Windows\". A
// name without an extension gets extension (".exe", ".dll").
std::vector<std::u16string> SearchPaths(std::u16string_view name, std::u16string_view extension);

// The host path of a loaded module: a shared object, or the folder of a resource library.
std::optional<std::string> ModuleHostPath(HMODULE module);

// Whether a loaded module is a resource library kept as a folder.
bool IsResourceFolder(HMODULE module);

}  // namespace device
