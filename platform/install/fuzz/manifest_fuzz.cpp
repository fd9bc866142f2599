// Fuzz target: a package's manifest as a cabinet brings it. Whatever bytes parse as a manifest
// write back to text that parses again and writes the same; nothing else fails.
#include <cstddef>
#include <cstdint>
#include <string>

#include "package/manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string_view text(reinterpret_cast<const char*>(data), size);
  std::string problem;
  using install::ManifestKind;
  install::ParseManifest(text, ManifestKind::description, &problem);
  std::optional<install::PackageManifest> manifest = install::ParseManifest(text, ManifestKind::manifest, &problem);
  if (!manifest)
    return 0;
  std::string written = install::WriteManifest(*manifest);
  std::optional<install::PackageManifest> again = install::ParseManifest(written, ManifestKind::manifest, &problem);
  if (!again || install::WriteManifest(*again) != written)
    __builtin_trap();
  return 0;
}
