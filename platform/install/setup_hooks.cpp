#include "setup_hooks.h"

#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/module.h"

namespace install {

SetupHooks::~SetupHooks()
{
  if (library_)
    FreeLibrary(library_);
}

bool SetupHooks::Load(const std::u16string& path, std::string* problem)
{
  std::string name = device::ToHost(path).value_or("?");
  library_ = LoadLibraryW(path.c_str());
  if (!library_) {
    *problem = "the setup library " + name + " cannot be loaded (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  installInit_ = reinterpret_cast<pfnINSTALL_INIT>(GetProcAddress(library_, "Install_Init"));
  installExit_ = reinterpret_cast<pfnINSTALL_EXIT>(GetProcAddress(library_, "Install_Exit"));
  uninstallInit_ = reinterpret_cast<pfnUNINSTALL_INIT>(GetProcAddress(library_, "Uninstall_Init"));
  uninstallExit_ = reinterpret_cast<pfnUNINSTALL_EXIT>(GetProcAddress(library_, "Uninstall_Exit"));
  if (!installInit_ || !installExit_ || !uninstallInit_ || !uninstallExit_) {
    *problem = "the setup library " + name + " lacks one of Install_Init, Install_Exit, Uninstall_Init, Uninstall_Exit";
    return false;
  }
  return true;
}

codeINSTALL_INIT SetupHooks::InstallInit(HWND window, bool previouslyInstalled, const std::u16string& folder) const
{
  // The installer installs into the package's own folder at once, so this is the first and only call.
  return installInit_ ? installInit_(window, TRUE, previouslyInstalled, folder.c_str()) : codeINSTALL_INIT_CONTINUE;
}

codeINSTALL_EXIT SetupHooks::InstallExit(HWND window, const std::u16string& folder) const
{
  return installExit_ ? installExit_(window, folder.c_str(), 0, 0, 0, 0, 0) : codeINSTALL_EXIT_DONE;
}

codeUNINSTALL_INIT SetupHooks::UninstallInit(HWND window, const std::u16string& folder) const
{
  return uninstallInit_ ? uninstallInit_(window, folder.c_str()) : codeUNINSTALL_INIT_CONTINUE;
}

void SetupHooks::UninstallExit(HWND window) const
{
  if (uninstallExit_)
    uninstallExit_(window);
}

}  // namespace install
