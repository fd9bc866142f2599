// A resource library's contents as the loader keeps them: resources by type and name with the
// bytes the platform's calls hand out, and the problems found in its scripts.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/types.h"

namespace resources {

// A type or name: an ordinal, or a text kept in upper case (names compare without case).
struct ResourceId {
  WORD ordinal = 0;
  std::u16string name;

  static ResourceId Ordinal(WORD value) { return {value, {}}; }
  static ResourceId Name(std::u16string_view text);
  // From a call's argument: an integer resource, "#123", or a name.
  static ResourceId FromArgument(LPCWSTR value);
  bool operator==(const ResourceId& other) const = default;
};

struct Resource {
  ResourceId type;
  ResourceId name;
  // DIALOG: a dialog template; MENU: a menu template; STRING: a block of sixteen counted
  // strings; BITMAP and HTML: the referenced file's bytes.
  std::vector<BYTE> data;
};

struct Diagnostic {
  std::string file;
  int line = 0;
  std::string message;
};

struct ResourceSet {
  std::vector<Resource> resources;
  std::vector<Diagnostic> diagnostics;

  const Resource* Find(const ResourceId& type, const ResourceId& name) const;
};

// Reads a file of the library by its name relative to the library's folder ("/" separated);
// nothing when it cannot be read.
using FileReader = std::function<std::optional<std::string>(const std::string& name)>;

// Compiles the library's resource scripts, in the order given. A bad line is reported with its
// file and line and left out; the rest is kept.
ResourceSet CompileResourceScripts(const std::vector<std::string>& scripts, const FileReader& read);

}  // namespace resources
