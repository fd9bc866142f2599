// Writes many values into the registry of the device root named in KORVEX_DEVICE_ROOT, for the
// tests of concurrent writers: registry_writer <name> <count>. Each value goes both into a key of
// this writer's own and into one key that every writer shares. Exits 0 when every write succeeded.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "base/errors.h"
#include "registry/registry.h"

namespace {

std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return 2;
  const std::string name = argv[1];
  const int count = std::atoi(argv[2]);
  const std::u16string ownKey = u"Software\\Writers\\" + Widen(name);
  for (int i = 0; i < count; ++i) {
    for (const std::u16string& path : {ownKey, std::u16string(u"Software\\Writers\\Shared")}) {
      HKEY key = nullptr;
      if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, 0, nullptr, &key, nullptr) !=
          ERROR_SUCCESS) {
        return 1;
      }
      const std::u16string valueName = Widen(name + "_" + std::to_string(i));
      const DWORD value = static_cast<DWORD>(i);
      const LONG result = RegSetValueExW(key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                         sizeof value);
      RegCloseKey(key);
      if (result != ERROR_SUCCESS) {
        std::fprintf(stderr, "write %d failed: %d\n", i, static_cast<int>(result));
        return 1;
      }
    }
  }
  return 0;
}
