// Resource libraries: every "*.rc" script in the library's folder, in name order, compiled once
// per process. Problems in the scripts are reported on standard error with their lines; the
// rest of the library is used.
#include "resource_library.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <set>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/module.h"
#include "kernel/modules.h"

namespace resources {
namespace {

constexpr std::uintmax_t kMaxFileBytes = 32u << 20;

struct Libraries {
  std::mutex lock;
  std::map<std::string, std::unique_ptr<ResourceSet>> byHostPath;
  std::set<const Resource*> known;
};

Libraries& Loaded()
{
  static Libraries* libraries = new Libraries;
  return *libraries;
}

bool EndsWithRc(const std::string& name)
{
  if (name.size() < 4)
    return false;
  std::string tail = name.substr(name.size() - 3);
  std::transform(tail.begin(), tail.end(), tail.begin(), [](unsigned char c) { return std::tolower(c); });
  return tail == ".rc";
}

std::optional<std::string> ReadHostFile(const std::string& path)
{
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error) || std::filesystem::file_size(path, error) > kMaxFileBytes)
    return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::unique_ptr<ResourceSet> Compile(const std::u16string& devicePath, const std::string& hostPath)
{
  std::vector<std::string> scripts;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(hostPath, error))
    if (entry.is_regular_file(error) && EndsWithRc(entry.path().filename().string()))
      scripts.push_back(entry.path().filename().string());
  std::sort(scripts.begin(), scripts.end());
  // Files are found through the device's paths: names without case, nothing outside the root.
  FileReader read = [&](const std::string& name) -> std::optional<std::string> {
    std::optional<std::u16string> wide = device::FromHost(name);
    if (!wide)
      return std::nullopt;
    std::replace(wide->begin(), wide->end(), u'/', u'\\');
    std::optional<device::MappedPath> path = device::MapPath(devicePath + u"\\" + *wide);
    if (!path || !path->exists)
      return std::nullopt;
    return ReadHostFile(path->host);
  };
  auto set = std::make_unique<ResourceSet>(CompileResourceScripts(scripts, read));
  std::string library = device::ToHost(devicePath).value_or(hostPath);
  for (const Diagnostic& problem : set->diagnostics)
    std::cerr << library << "\\" << problem.file << "(" << problem.line << "): " << problem.message << "\n";
  return set;
}

}  // namespace

const ResourceSet* LibraryResources(HMODULE module)
{
  std::optional<std::string> hostPath = device::ModuleHostPath(module);
  if (!hostPath || !device::IsResourceFolder(module)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  Libraries& libraries = Loaded();
  std::lock_guard lock(libraries.lock);
  auto& set = libraries.byHostPath[*hostPath];
  if (!set) {
    WCHAR devicePath[MAX_PATH];
    if (!GetModuleFileNameW(module, devicePath, MAX_PATH))
      return nullptr;
    set = Compile(devicePath, *hostPath);
    for (const Resource& resource : set->resources)
      libraries.known.insert(&resource);
  }
  return set.get();
}

bool IsKnownResource(const Resource* resource)
{
  Libraries& libraries = Loaded();
  std::lock_guard lock(libraries.lock);
  return libraries.known.count(resource) > 0;
}

}  // namespace resources
