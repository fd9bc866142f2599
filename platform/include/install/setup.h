// Setup libraries: the hooks a package's setup library exports (with C names) for the device's
// package installer "\Windows\wceload.exe", which calls them on its user-interface thread:
//
//   installing: Install_Init, then the package's files and registry entries are put in place,
//               then Install_Exit;
//   removing:   Uninstall_Init, then the package's files and registry entries are removed,
//               then Uninstall_Exit.
//
// hwndParent is the installer's window, or null when it shows none. A hook may show dialogs
// and message boxes; in an unattended run the installer answers them (message boxes as the
// device's unattended setting says, yes when it says nothing; dialogs with their default
// button, or Cancel when that setting says no).
#pragma once

#include "base/types.h"

enum codeINSTALL_INIT : int {
  codeINSTALL_INIT_CONTINUE = 0,  // install the package
  codeINSTALL_INIT_CANCEL = 1,    // install nothing
};

enum codeINSTALL_EXIT : int {
  codeINSTALL_EXIT_DONE = 0,       // keep what was installed
  codeINSTALL_EXIT_UNINSTALL = 1,  // undo the installation: the device is left as it was
};

enum codeUNINSTALL_INIT : int {
  codeUNINSTALL_INIT_CONTINUE = 0,  // remove the package
  codeUNINSTALL_INIT_CANCEL = 1,    // remove nothing
};

enum codeUNINSTALL_EXIT : int {
  codeUNINSTALL_EXIT_DONE = 0,
};

// Before any file is installed. fFirstCall: the first call of this installation (the installer
// calls it once); fPreviouslyInstalled: a package of this name is installed now and is being
// replaced; pszInstallDir: the package's installation folder.
typedef codeINSTALL_INIT (*pfnINSTALL_INIT)(HWND hwndParent, BOOL fFirstCall, BOOL fPreviouslyInstalled,
                                            LPCWSTR pszInstallDir);
// After every file and registry entry is in place. The counts of what failed are always 0: an
// installation that fails part way is undone and never reaches this hook.
typedef codeINSTALL_EXIT (*pfnINSTALL_EXIT)(HWND hwndParent, LPCWSTR pszInstallDir, WORD cFailedDirs,
                                            WORD cFailedFiles, WORD cFailedRegKeys, WORD cFailedRegVals,
                                            WORD cFailedShortcuts);
// Before anything is removed.
typedef codeUNINSTALL_INIT (*pfnUNINSTALL_INIT)(HWND hwndParent, LPCWSTR pszInstallDir);
// After the package's files and registry entries are removed.
typedef codeUNINSTALL_EXIT (*pfnUNINSTALL_EXIT)(HWND hwndParent);
