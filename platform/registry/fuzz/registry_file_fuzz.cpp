// The registry file as found on disk: whatever parses must write back to text that parses to the
// same text again.
#include <cstddef>
#include <cstdint>
#include <string>

#include "registry_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  registry::Tree tree;
  if (!registry::ParseTree(std::string_view(reinterpret_cast<const char*>(data), size), tree)) return 0;
  const std::string text = registry::SerializeTree(tree);
  registry::Tree again;
  if (!registry::ParseTree(text, again) || registry::SerializeTree(again) != text) __builtin_trap();
  return 0;
}
