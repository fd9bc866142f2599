// What the setup hooks install, find and remove: the installation folder, the client program
// and its windows, the shortcut and the gateway service.
#pragma once

#include "base/types.h"

namespace zunsetup {

// The folder the package installs into, and the one removed before installing and on removal.
constexpr WCHAR kInstallFolder[] = u"\\Program Files\\KorvexPortal";
constexpr WCHAR kProgramFile[] = u"KorvexPortal.exe";
// The Start-menu shortcut, in the Programs folder.
constexpr WCHAR kShortcutFile[] = u"Korvex.lnk";

// The client's windows: the login dialog, and the main window once a user has logged in.
constexpr WCHAR kLoginWindowClass[] = u"Dialog";
constexpr WCHAR kLoginWindowTitle[] = u"用户登录";
constexpr WCHAR kMainWindowTitle[] = u"KorvexPortal";
// The command that ends the client; with lParam -1 it ends without asking the user.
constexpr UINT kExitCommand = 0x8007;

// The gateway service: its registry key name, and its running instance.
constexpr WCHAR kServiceKey[] = u"Dovrel";
constexpr WCHAR kServiceInstance[] = u"PAY0:";

// How long a running client has to close before the user is asked to close it.
constexpr DWORD kClientCloseWaitMs = 30000;

}  // namespace zunsetup
