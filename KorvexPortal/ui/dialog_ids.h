// The private window messages and command ids that every dialog of the client understands.
#pragma once

// Posted by the shared message box to the window it was set up for when the user cancels it
// (wParam 0, lParam 0).
#define WM_KV_WAIT_CANCELLED 0x5F4
// Ends the dialog: CloseDialog with the low word of wParam; the shared box window is closed too.
#define WM_KV_ENDDIALOG 0x601
// The reply messages given to the update check and pre-registration, passed on to the
// application object.
#define WM_KV_UPDATECHECK_REPLY 0x61F
#define WM_KV_PREREGISTER_REPLY 0x620
// Passed on to the application object, which ignores it.
#define WM_KV_IGNORED_633 0x633

// Commands of the soft-key menus that every dialog forwards.
#define ID_KV_EXIT 0x8007
#define ID_KV_ABOUT 0x800A
#define ID_KV_CHECKUPDATE 0x800C
#define ID_KV_PERSONALINFO 0x800E
#define ID_KV_REGISTER 0x801D
#define ID_KV_HELP 0x803C
#define ID_KV_APNSETTINGS 0x803D
// The class library's help command; it does what ID_KV_HELP does.
#define ID_HELP 0xE146

// The shell's menu OK and Cancel, which close a dialog.
#define IDM_SHELL_MENU_OK 0xE790
#define IDM_SHELL_MENU_CANCEL 0xE791

// The exit question's string resource (its box type: message_box_types.h).
#define IDS_KV_EXIT_QUESTION 144

// WM_SETTINGCHANGE's wParam after the screen turned: the dialog measures its content again.
#ifndef SETTINGCHANGE_RESET
#define SETTINGCHANGE_RESET 0x3002
#endif

// The soft-key menu commands the list screens share.
#define ID_KV_GODESKTOP 0x8010
#define ID_KV_FOCUSFILTER 0x8012
#define ID_KV_PREVPAGE 0x8016
#define ID_KV_NEXTPAGE 0x8017
#define ID_KV_OPENITEM 0x8019

// The desktop's entries, ID_KV_DESKTOP_ITEM0 + n for entry n (0 to 8).
#define ID_KV_DESKTOP_ITEM0 4078
#define ID_KV_DESKTOP_ITEM8 4086
