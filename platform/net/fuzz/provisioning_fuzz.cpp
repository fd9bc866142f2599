// Provisioning documents: any text is answered or refused, never crashes.
#include "net/provisioning.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  std::u16string document;
  for (size_t i = 0; i + 1 < size; i += 2) {
    document += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
  }
  LPWSTR answer = nullptr;
  if (SUCCEEDED(DMProcessConfigXML(document.c_str(), CFGFLAG_PROCESS, &answer))) {
    delete[] answer;
  }
  return 0;
}
