#include "process_list.h"

#include "held_file.h"
#include "host_folder.h"
#include "kernel/device_root.h"
#include "kernel/modules.h"
#include "kernel/process.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace device {
namespace {

std::string EntryPath(DWORD id)
{
  return PrivateFolder("processes") + "/" + std::to_string(id);
}

int HoldEntry(const std::string& path, std::u16string_view devicePath, std::u16string_view commandLine)
{
  std::string content = ToHost(devicePath).value_or(std::string()) + "\n" + ToHost(commandLine).value_or(std::string());
  std::optional<kernel::HeldFile> held = kernel::HoldFile(path, [&](int fd) {
    return ftruncate(fd, 0) == 0 && write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
  });
  return held ? held->fd : -1;
}

}  // namespace

// Called by RootPath, so it builds its paths from the root given rather than asking for it.
void ListThisProcess(const std::string& root)
{
  static std::mutex mutex;
  static std::map<std::string, int>* entries = new std::map<std::string, int>;  // by root; held until exit
  std::lock_guard lock(mutex);
  if (!entries->count(root)) {
    std::string folder = root + "/" + ToHost(kPrivateFolderName).value();
    mkdir(folder.c_str(), 0700);
    folder += "/processes";
    mkdir(folder.c_str(), 0700);
    (*entries)[root] = HoldEntry(folder + "/" + std::to_string(getpid()), ProgramPath(), GetCommandLineW());
  }
}

int HoldChildEntry(DWORD id, std::u16string_view devicePath, std::u16string_view commandLine)
{
  return HoldEntry(EntryPath(id), devicePath, commandLine);
}

void ReleaseChildEntry(DWORD id, int fd)
{
  if (fd >= 0) {
    kernel::ReleaseFile(fd, EntryPath(id));
  }
}

std::vector<ListedProcess> ListProcesses()
{
  std::vector<ListedProcess> processes;
  std::string folder = PrivateFolder("processes");
  HostFolder dir = OpenHostFolder(folder);
  while (dir) {
    const dirent* entry = readdir(dir.get());
    if (!entry) {
      break;
    }
    std::string_view name(entry->d_name);
    DWORD id = 0;
    auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), id);
    if (error != std::errc() || end != name.data() + name.size() || !kernel::IsHeld(folder + "/" + entry->d_name)) {
      continue;
    }
    std::ifstream file(folder + "/" + entry->d_name, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    std::string text = content.str();
    size_t lineEnd = std::min(text.find('\n'), text.size());
    std::optional<std::u16string> devicePath = FromHost(std::string_view(text).substr(0, lineEnd));
    std::optional<std::u16string> commandLine = FromHost(std::string_view(text).substr(std::min(lineEnd + 1, text.size())));
    if (devicePath && !devicePath->empty()) {
      processes.push_back({id, *devicePath, commandLine.value_or(u"")});
    }
  }
  std::sort(processes.begin(), processes.end(), [](const auto& a, const auto& b) { return a.id < b.id; });
  return processes;
}

}  // namespace device
