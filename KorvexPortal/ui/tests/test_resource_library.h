// A screen-size resource library for toolkit tests: a folder in the test's device root holding
// a resource script and the files it names, loaded and made the application's library.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "testing/device_root.h"
#include "windows.h"

namespace kvtest {

struct ResourceFile {
  std::string name;
  std::string bytes;
};

// Writes "<root>/Program Files/Tests/<name>.dll/<name>.rc" and the files, then loads the library.
inline HMODULE MakeResourceLibrary(const device::testing::ScopedDeviceRoot& root, const std::string& name,
                                   const std::string& script, const std::vector<ResourceFile>& files = {})
{
  std::string folder = root.path() + "/Program Files/Tests/" + name + ".dll";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/" + name + ".rc", std::ios::binary) << script;
  for (const ResourceFile& file : files)
    std::ofstream(folder + "/" + file.name, std::ios::binary) << file.bytes;
  return LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
}

}  // namespace kvtest
