// Settings files of any content: loading never fails unsafely, and what a load keeps is
// written back unchanged by a second load and save.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "ini_file.h"
#include "kernel/wide_stdio.h"
#include "testing/device_root.h"

namespace {

std::string ReadAll(const WCHAR* path)
{
  std::string bytes;
  if (FILE* file = _wfopen(path, u"rb")) {
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0) {
      bytes.append(buffer, got);
    }
    fclose(file);
  }
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  static device::testing::ScopedDeviceRoot root;
  if (FILE* input = _wfopen(u"\\input.dat", u"wb")) {
    fwrite(data, 1, size, input);
    fclose(input);
  } else {
    abort();
  }
  std::string first, second;
  {
    CIniFile ini(u"\\input.dat");
    ini.Save(u"\\first.dat");
    first = ReadAll(u"\\first.dat");
  }
  {
    CIniFile ini(u"\\first.dat");
    ini.Save(u"\\second.dat");
    second = ReadAll(u"\\second.dat");
  }
  if (first != second) {
    abort();
  }
  return 0;
}
