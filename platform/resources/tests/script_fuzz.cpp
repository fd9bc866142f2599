// Fuzz target: the resource-script compiler on any text, with any included file reading as the
// same text once (so #include and file references are exercised too).
#include <cstddef>
#include <cstdint>
#include <string>

#include "resource_set.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::string text(reinterpret_cast<const char*>(data), size);
  int reads = 0;
  resources::FileReader read = [&](const std::string&) -> std::optional<std::string> {
    if (++reads > 3)
      return std::nullopt;
    return text;
  };
  resources::CompileResourceScripts({"fuzz.rc"}, read);
  return 0;
}
