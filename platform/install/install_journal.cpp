#include "install_journal.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "kernel/device_root.h"

namespace install {
namespace {

constexpr const char* kSteps[] = {"init", "place", "exit", "remove", "finish", "undo"};

std::string Folder()
{
  return device::PrivateFolder("install");
}

std::string Path()
{
  return Folder() + "/journal";
}

std::optional<std::string> Narrow(std::u16string_view text)
{
  return device::ToHost(text);
}

bool Sync(const std::string& path, int flags)
{
  int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  bool synced = fd >= 0 && ::fsync(fd) == 0;
  if (fd >= 0)
    ::close(fd);
  return synced;
}

}  // namespace

std::optional<InstallJournal> ReadJournal(std::string* problem)
{
  std::ifstream in(Path(), std::ios::binary);
  if (!in)
    return std::nullopt;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  InstallJournal journal;
  auto fail = [&](const std::string& what) -> std::optional<InstallJournal> {
    *problem = "the journal of the work in progress " + what;
    return std::nullopt;
  };
  if (lines.size() < 4 || (lines[0] != "install" && lines[0] != "uninstall"))
    return fail("is not one");
  journal.uninstall = lines[0] == "uninstall";
  auto step = std::find(std::begin(kSteps), std::end(kSteps), lines[1]);
  if (step == std::end(kSteps))
    return fail("names no step");
  journal.step = static_cast<JournalStep>(step - std::begin(kSteps));
  std::optional<std::u16string> staging = device::FromHost(lines[2]), name = device::FromHost(lines[3]);
  if (!staging || !name)
    return fail("is not UTF-8");
  journal.staging = *staging;
  journal.name = *name;
  for (size_t i = 4; i < lines.size(); ++i) {
    std::optional<std::u16string> folder = device::FromHost(lines[i]);
    if (!folder)
      return fail("is not UTF-8");
    journal.folders.push_back(*folder);
  }
  return journal;
}

bool WriteJournal(const InstallJournal& journal)
{
  std::string text = std::string(journal.uninstall ? "uninstall" : "install") + "\n" +
                     kSteps[static_cast<size_t>(journal.step)] + "\n";
  std::vector<std::u16string_view> lines{journal.staging, journal.name};
  lines.insert(lines.end(), journal.folders.begin(), journal.folders.end());
  for (std::u16string_view line : lines) {
    std::optional<std::string> narrow = Narrow(line);
    if (!narrow)
      return false;
    text += *narrow + "\n";
  }
  // Written beside it and renamed over it, so a journal is always whole.
  std::string temporary = Path() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!(out << text).flush())
      return false;
  }
  return Sync(temporary, O_RDONLY) && std::rename(temporary.c_str(), Path().c_str()) == 0 &&
         Sync(Folder(), O_RDONLY | O_DIRECTORY);
}

void EndJournal()
{
  std::remove(Path().c_str());
  Sync(Folder(), O_RDONLY | O_DIRECTORY);
}

}  // namespace install
