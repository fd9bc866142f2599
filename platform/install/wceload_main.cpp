// The device's package installer program, "\Windows\wceload.exe" (command_line.h tells its
// command line). Its exit code is the outcome (installer.h): 0 done, 1 cancelled by a setup
// hook, 2 refused (also for a command line it does not understand), 3 failed and undone. What
// went wrong is shown in a message box and written in detail to standard error.
#include <cstdio>
#include <optional>

#include "command_line.h"
#include "installer.h"
#include "kernel/device_root.h"
#include "kernel/entry.h"
#include "unattended.h"
#include "windows.h"

namespace {

constexpr char16_t kCaption[] = u"安装程序";

void Tell(const install::Result& result)
{
  if (!result.detail.empty()) {
    std::fprintf(stderr, "wceload: %s\n", result.detail.c_str());
    std::fflush(stderr);
  }
  if (!result.message.empty())
    MessageBoxW(nullptr, result.message.c_str(), kCaption, MB_OK | MB_ICONERROR);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int)
{
  std::optional<install::InstallerCommand> command = install::ParseCommandLine(commandLine);
  if (!command) {
    install::Result usage{install::Outcome::refused,
                          u"用法：wceload \"<安装包>\" [/delete 0|1] [/silent]\n或：wceload /uninstall \"<名称>\" [/silent]",
                          "cannot follow the command line: " + device::ToHost(commandLine).value_or("?")};
    Tell({install::Outcome::done, u"", install::FinishInterruptedWork(nullptr).detail});
    Tell(usage);
    return static_cast<int>(usage.outcome);
  }
  std::optional<install::UnattendedRun> unattended;
  if (command->silent || install::DeviceIsUnattended())
    unattended.emplace();
  install::Result result = command->uninstall ? install::UninstallPackage(command->target, nullptr)
                                              : install::InstallPackage(command->target, nullptr);
  // A package that is gone already (the setup hooks may remove the folder it lay in) is no matter.
  if (result.outcome == install::Outcome::done && command->deletePackage && !DeleteFileW(command->target.c_str()) &&
      GetLastError() != ERROR_FILE_NOT_FOUND && GetLastError() != ERROR_PATH_NOT_FOUND)
    result.detail = "cannot delete the package (error " + std::to_string(GetLastError()) + ")";
  Tell(result);
  return static_cast<int>(result.outcome);
}
