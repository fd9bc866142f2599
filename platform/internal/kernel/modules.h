// Modules for the pieces of the layer: where the running program and the loaded libraries lie.
#pragma once

#include "base/types.h"

#include <optional>
#include <string>

namespace device {

// The running program's device path: its place in the device root, or
// "\Program Files\Tests\<name>.exe" for a program outside it.
const std::u16string& ProgramPath();

// The running program's executable on the host.
const std::string& ProgramHostPath();

// The host path of a loaded module: a shared object, or the folder of a resource library.
std::optional<std::string> ModuleHostPath(HMODULE module);

// Whether a loaded module is a resource library kept as a folder.
bool IsResourceFolder(HMODULE module);

}  // namespace device
