// The package's setup hooks, which the device's package installer calls around installing and
// removing the client: the user agreement and closing a running client before installing, the
// Start-menu shortcut and the gateway service after; closing the client and stopping the
// service before removal, the shortcuts and the client's folders after.
#include "agreement_dlg.h"
#include "folder_tree.h"
#include "install/setup.h"
#include "running_client.h"
#include "services/services.h"
#include "setup_paths.h"
#include "text/cstring.h"
#include "user_folder.h"
#include "windows.h"
#include "zunsetup_ids.h"

#define SETUP_EXPORT extern "C" __attribute__((visibility("default")))

using namespace zunsetup;

namespace {

constexpr WCHAR kNoticeCaption[] = u"提示";
constexpr WCHAR kCloseToInstall[] = u"请手动退出正在运行的程序，然后再尝试安装。";
constexpr WCHAR kCloseToRemove[] = u"请手动退出正在运行的程序，然后再尝试卸载。";

// The shortcut's path in a special folder; empty when the folder is not there.
CStringW ShortcutPath(int specialFolder, BOOL create)
{
  WCHAR folder[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPath(nullptr, folder, specialFolder, create)) {
    return CStringW();
  }
  CStringW path = folder;
  if (path.IsEmpty() || path[path.GetLength() - 1] != u'\\') {
    path += u'\\';
  }
  return path + kShortcutFile;
}

}  // namespace

SETUP_EXPORT codeINSTALL_INIT Install_Init(HWND, BOOL fFirstCall, BOOL, LPCWSTR)
{
  if (fFirstCall && ShowAgreement(GetActiveWindow()) != IDC_AGREEMENT_ACCEPT) {
    return codeINSTALL_INIT_CANCEL;
  }
  // The old files go only once no client runs from them: a client that stays keeps its files,
  // and the installation is cancelled.
  if (!CloseRunningClient(kClientCloseWaitMs)) {
    MessageBoxW(nullptr, kCloseToInstall, kNoticeCaption, MB_OK | MB_ICONINFORMATION);
    return codeINSTALL_INIT_CANCEL;
  }
  DeleteFolderTree(kInstallFolder);
  return codeINSTALL_INIT_CONTINUE;
}

SETUP_EXPORT codeINSTALL_EXIT Install_Exit(HWND, LPCWSTR pszInstallDir, WORD, WORD, WORD, WORD, WORD)
{
  CStringW folder = pszInstallDir != nullptr && *pszInstallDir != u'\0' ? pszInstallDir : kInstallFolder;
  folder.TrimRight(u'\\');
  CStringW target = CStringW(u"\"") + folder + u"\\" + kProgramFile + u"\"";
  CStringW shortcut = ShortcutPath(CSIDL_PROGRAMS, TRUE);
  if (!shortcut.IsEmpty()) {
    SHCreateShortcut(shortcut.GetBuffer(), target.GetBuffer());
  }
  ActivateService(kServiceKey, 0);
  return codeINSTALL_EXIT_DONE;
}

SETUP_EXPORT codeUNINSTALL_INIT Uninstall_Init(HWND, LPCWSTR)
{
  // The install folder goes after removal: no client may still run from it.
  if (!CloseRunningClient(kClientCloseWaitMs)) {
    MessageBoxW(nullptr, kCloseToRemove, kNoticeCaption, MB_OK | MB_ICONINFORMATION);
    return codeUNINSTALL_INIT_CANCEL;
  }
  WCHAR instance[sizeof kServiceInstance / sizeof(WCHAR)] = {};
  wcscpy(instance, kServiceInstance);
  HANDLE service = GetServiceHandle(instance, nullptr, nullptr);
  if (service != INVALID_HANDLE_VALUE && service != nullptr) {
    DeregisterService(service);
  }
  return codeUNINSTALL_INIT_CONTINUE;
}

SETUP_EXPORT codeUNINSTALL_EXIT Uninstall_Exit(HWND)
{
  for (int specialFolder : {CSIDL_STARTMENU, CSIDL_PROGRAMS}) {
    CStringW shortcut = ShortcutPath(specialFolder, FALSE);
    if (!shortcut.IsEmpty()) {
      DeleteFileW(shortcut);
    }
  }
  CStringW usersFolder;
  if (GetUsersFolder(usersFolder)) {
    usersFolder.TrimRight(u'\\');
    DeleteFolderTree(usersFolder);
  }
  DeleteFolderTree(kInstallFolder);
  return codeUNINSTALL_EXIT_DONE;
}
