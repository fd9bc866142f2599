// A package's setup library (install/setup.h), loaded for one installation or removal. Without
// a library every hook goes on: Init continues and Exit is done.
#pragma once

#include <string>

#include "base/types.h"
#include "install/setup.h"

namespace install {

class SetupHooks {
 public:
  SetupHooks() = default;
  ~SetupHooks();
  SetupHooks(const SetupHooks&) = delete;
  SetupHooks& operator=(const SetupHooks&) = delete;

  // Loads the library at that device path; false, with the reason in *problem, when it cannot
  // be loaded or lacks one of the four hooks.
  bool Load(const std::u16string& path, std::string* problem);
  bool Loaded() const { return library_ != nullptr; }

  codeINSTALL_INIT InstallInit(HWND window, bool previouslyInstalled, const std::u16string& folder) const;
  codeINSTALL_EXIT InstallExit(HWND window, const std::u16string& folder) const;
  codeUNINSTALL_INIT UninstallInit(HWND window, const std::u16string& folder) const;
  void UninstallExit(HWND window) const;

 private:
  HMODULE library_ = nullptr;
  pfnINSTALL_INIT installInit_ = nullptr;
  pfnINSTALL_EXIT installExit_ = nullptr;
  pfnUNINSTALL_INIT uninstallInit_ = nullptr;
  pfnUNINSTALL_EXIT uninstallExit_ = nullptr;
};

}  // namespace install
