// The registry file: UTF-8 text that a person can read, written whole and read whole.
//
//   DEVICE-REGISTRY 1
//   [HKEY_LOCAL_MACHINE\Software\Vendor]
//   "Name"=sz:"text"
//   "Count"=dword:0000000a
//   "Blob"=hex(3):0a0b0c
//
// A section line names a key by its path from the hive; the value lines below it belong to it.
// Every key has a section, so empty keys are kept. Names and texts are quoted, with \\, \" and
// \uXXXX (for control characters and unpaired surrogates) as escapes. A REG_SZ value of one
// terminated text without inner zeros is written as sz, a four-byte REG_DWORD as dword, every
// other value as its type number and exact bytes.
#pragma once

#include <string>
#include <string_view>

#include "registry_tree.h"

namespace registry {

std::string SerializeTree(const Tree& tree);

// Reads a whole file into tree; false (tree unspecified) when the text is not a registry file.
bool ParseTree(std::string_view text, Tree& tree);

}  // namespace registry
