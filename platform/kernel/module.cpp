#include "kernel/module.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/handle_table.h"
#include "kernel/modules.h"

#include <climits>
#include <cstdlib>
#include <dlfcn.h>
#include <map>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace device {
namespace {

class Module : public kernel::Object {
 public:
  Module(std::u16string devicePath, std::string hostPath, void* library, bool resourceFolder)
      : devicePath(std::move(devicePath)), hostPath(std::move(hostPath)), library(library), resourceFolder(resourceFolder)
  {
  }
  ~Module() override
  {
    if (library) {
      dlclose(library);
    }
  }
  bool ClosedByCloseHandle() const override { return false; }

  const std::u16string devicePath;
  const std::string hostPath;
  void* const library;  // null for the program and resource folders
  const bool resourceFolder;
  int loads = 1;
};

struct Modules {
  std::mutex mutex;
  std::map<std::string, HMODULE> byHostPath;  // loaded libraries
  HMODULE program = nullptr;
};

Modules& Loaded()
{
  static Modules* modules = new Modules;
  return *modules;
}

bool EndsWithExe(std::u16string_view name)
{
  return name.size() >= 4 && SameName(name.substr(name.size() - 4), u".exe");
}

std::u16string FolderOf(std::u16string_view devicePath)
{
  return std::u16string(devicePath.substr(0, devicePath.rfind(u'\\') + 1));
}

// "X" becomes "X.dll"; a name with an extension stays.
std::u16string WithExtension(std::u16string_view name, std::u16string_view extension)
{
  size_t slash = name.rfind(u'\\');
  size_t dot = name.rfind(u'.');
  std::u16string full(name);
  if (dot == std::u16string_view::npos || (slash != std::u16string_view::npos && dot < slash)) {
    full += extension;
  }
  return full;
}

std::u16string FileNameOf(std::u16string_view path)
{
  return std::u16string(path.substr(path.rfind(u'\\') + 1));
}

std::shared_ptr<Module> LookupModule(HMODULE module)
{
  return kernel::LookupHandleAs<Module>(reinterpret_cast<HANDLE>(module));
}

}  // namespace

const std::string& ProgramHostPath()
{
  // Never destroyed, like the other per-process paths: threads may still ask for it at exit.
  static const std::string& path = *new std::string([] {
    char buffer[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return std::string(buffer, length > 0 ? static_cast<size_t>(length) : 0);
  }());
  return path;
}

const std::u16string& ProgramPath()
{
  static const std::u16string& path = *new std::u16string([] {
    const std::string& host = ProgramHostPath();
    if (std::optional<std::u16string> inRoot = DevicePathOf(host)) {
      return *inRoot;
    }
    std::u16string name = FromHost(host.substr(host.rfind('/') + 1)).value_or(u"program");
    return u"\\Program Files\\Tests\\" + name + (EndsWithExe(name) ? u"" : u".exe");
  }());
  return path;
}

std::vector<std::u16string> SearchPaths(std::u16string_view name, std::u16string_view extension)
{
  std::u16string full = WithExtension(name, extension);
  if (full.find(u'\\') != std::u16string::npos) {
    return {full};
  }
  return {FolderOf(ProgramPath()) + full, u"\\Windows\\" + full};
}

std::optional<std::string> ModuleHostPath(HMODULE module)
{
  if (auto loaded = LookupModule(module)) {
    return loaded->hostPath;
  }
  return std::nullopt;
}

bool IsResourceFolder(HMODULE module)
{
  auto loaded = LookupModule(module);
  return loaded && loaded->resourceFolder;
}

}  // namespace device

using namespace device;

HMODULE LoadLibraryW(LPCWSTR lpLibFileName)
{
  if (!lpLibFileName || !*lpLibFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  for (const std::u16string& candidate : SearchPaths(lpLibFileName, u".dll")) {
    std::optional<MappedPath> path = MapPath(candidate);
    if (!path) {
      return nullptr;
    }
    if (!path->exists) {
      continue;
    }
    std::u16string devicePath = DevicePathOf(path->host).value_or(candidate);
    Modules& modules = Loaded();
    std::lock_guard lock(modules.mutex);
    if (auto found = modules.byHostPath.find(path->host); found != modules.byHostPath.end()) {
      ++LookupModule(found->second)->loads;
      return found->second;
    }
    struct stat info {};
    bool folder = stat(path->host.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
    void* library = folder ? nullptr : dlopen(path->host.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!folder && !library) {
      SetLastError(ERROR_BAD_EXE_FORMAT);
      return nullptr;
    }
    HANDLE handle = kernel::InsertHandle(std::make_shared<Module>(devicePath, path->host, library, folder));
    if (!handle) {
      return nullptr;
    }
    modules.byHostPath[path->host] = static_cast<HMODULE>(handle);
    return static_cast<HMODULE>(handle);
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

BOOL FreeLibrary(HMODULE hLibModule)
{
  Modules& modules = Loaded();
  std::lock_guard lock(modules.mutex);
  auto module = LookupModule(hLibModule);
  if (!module) {
    return FALSE;
  }
  if (hLibModule != modules.program && --module->loads == 0) {
    modules.byHostPath.erase(module->hostPath);
    kernel::RemoveHandle(hLibModule);
  }
  return TRUE;
}

FARPROC GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
  auto module = LookupModule(hModule);
  if (!module) {
    return nullptr;
  }
  // Names only: a value below 0x10000 would be an ordinal, which our libraries do not export.
  void* symbol = module->library && reinterpret_cast<uintptr_t>(lpProcName) >= 0x10000 ? dlsym(module->library, lpProcName) : nullptr;
  if (!symbol) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<FARPROC>(symbol);
}

FARPROC GetProcAddressW(HMODULE hModule, LPCWSTR lpProcName)
{
  std::optional<std::string> name = reinterpret_cast<uintptr_t>(lpProcName) >= 0x10000 ? ToHost(lpProcName) : std::nullopt;
  if (!name) {
    SetLastError(LookupModule(hModule) ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return GetProcAddress(hModule, name->c_str());
}

HMODULE GetModuleHandleW(LPCWSTR lpModuleName)
{
  Modules& modules = Loaded();
  std::lock_guard lock(modules.mutex);
  if (!lpModuleName) {
    if (!modules.program) {
      modules.program = static_cast<HMODULE>(kernel::InsertHandle(std::make_shared<Module>(ProgramPath(), ProgramHostPath(), nullptr, false)));
    }
    return modules.program;
  }
  std::u16string wanted = FileNameOf(WithExtension(lpModuleName, u".dll"));
  for (const auto& [hostPath, handle] : modules.byHostPath) {
    if (SameName(FileNameOf(LookupModule(handle)->devicePath), wanted)) {
      return handle;
    }
  }
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize)
{
  std::u16string path;
  if (!hModule || hModule == GetModuleHandleW(nullptr)) {
    path = ProgramPath();
  } else if (auto module = LookupModule(hModule)) {
    path = module->devicePath;
  } else {
    return 0;
  }
  if (!lpFilename || nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() >= nSize) {
    std::char_traits<char16_t>::copy(lpFilename, path.data(), nSize - 1);
    lpFilename[nSize - 1] = u'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  std::char_traits<char16_t>::copy(lpFilename, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}
