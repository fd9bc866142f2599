// Fuzz target: a package's cabinet checked as the installer checks it, its table, its manifest,
// the sizes and the digests, with its files extracted into a scratch folder. Whatever the bytes,
// the check ends without a fault, and no file it writes is larger than the manifest declares.
#include <stdlib.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

#include "package/package.h"

namespace {

namespace fs = std::filesystem;

// A scratch folder of this process, removed when it ends.
const fs::path& Scratch()
{
  static const fs::path folder = [] {
    std::string name = (fs::temp_directory_path() / "kv-package-fuzz-XXXXXX").string();
    fs::path made = mkdtemp(name.data());
    atexit([] { fs::remove_all(Scratch()); });
    return made;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  const fs::path cabinet = Scratch() / "package.cab", files = Scratch() / "files";
  std::ofstream(cabinet, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  fs::remove_all(files);
  fs::create_directory(files);
  install::PackageReader reader;
  std::string problem;
  if (reader.Open(cabinet.string(), &problem)) {
    const std::vector<install::PackageFile>& listed = reader.Manifest().files;
    std::vector<std::string> places;
    for (size_t i = 0; i < listed.size(); ++i)
      places.push_back("files/" + std::to_string(i));
    reader.Extract(Scratch().string(), places, &problem);
    for (size_t i = 0; i < listed.size(); ++i) {
      std::error_code error;
      uintmax_t written = fs::file_size(Scratch() / places[i], error);
      if (!error && written > listed[i].size)
        __builtin_trap();
    }
  }
  return 0;
}
