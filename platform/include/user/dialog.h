// Dialogs: windows made from templates (user/dialog_template.h), their procedures, the default
// dialog procedure, keyboard navigation between their controls, modal dialogs.
#pragma once

#include "base/types.h"
#include "user/dialog_codes.h"
#include "user/dialog_template.h"
#include "user/messages.h"

// Dialog procedures answer TRUE for a message they handled (the result then comes from the
// DWL_MSGRESULT slot, except for the messages that return it directly: WM_CTLCOLOR*,
// WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM, WM_INITDIALOG), FALSE to leave it to the
// default dialog procedure. Like window procedures they may be closures (MakeWindowProc, with
// the value cast to DLGPROC).
typedef INT_PTR (*DLGPROC)(HWND, UINT, WPARAM, LPARAM);

// Standard command ids of dialogs.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7
#define IDC_STATIC (-1)

// Dialog messages.
#define DM_GETDEFID (WM_USER + 0)
#define DM_SETDEFID (WM_USER + 1)
// DM_GETDEFID answers MAKELONG(id, DC_HASDEFID), or 0 when the dialog has no default button.
#define DC_HASDEFID 0x534B

#define WM_NEXTDLGCTL 0x0028

// The class of dialogs whose template names no class of its own. A template may name a class
// registered with DefDlgProc as its procedure and DLGWINDOWEXTRA extra bytes.
#define WC_DIALOG u"Dialog"

// Creates a dialog from a template: the dialog (hidden), WM_SETFONT to it when the template
// has DS_SETFONT, then each item in template order followed by WM_SETFONT, then WM_INITDIALOG
// (lParam: initParam); when that answers TRUE the first tab stop gets the focus. A WS_VISIBLE
// dialog is then shown. Coordinates are dialog units of the template's font at the screen's
// density. An item's title given as an ordinal reaches its window as MAKEINTRESOURCE(ordinal);
// its creation data reaches WM_CREATE as lpCreateParams (pointing at the data's size WORD).
// Null when the dialog or an item (without DS_NOFAILCREATE) cannot be created.
HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC dialogProc,
                                LPARAM initParam);
// Creates the dialog and runs a modal loop (the owner disabled meanwhile) until EndDialog;
// returns EndDialog's result, or -1 when the dialog could not be created. A WM_QUIT that reaches
// the loop ends the dialog with 0 and is posted again for the loop outside.
INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND owner, DLGPROC dialogProc,
                                LPARAM initParam);
// The same with a template found by name (a string or a MAKEINTRESOURCE id) in the module's
// resources; fail with ERROR_RESOURCE_NAME_NOT_FOUND when it has none.
HWND CreateDialogParamW(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam);
INT_PTR DialogBoxParamW(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC dialogProc, LPARAM initParam);
// Ends a modal dialog with the result once its procedure returns; hides a modeless one.
BOOL EndDialog(HWND dialog, INT_PTR result);

// The dialog window's procedure: calls the dialog procedure and applies its return rules; for
// what it leaves: WM_ERASEBKGND fills the client area with the brush the dialog answers to
// WM_CTLCOLORDLG; WM_CTLCOLOR* get a system colour as the DC's background colour and its brush
// (COLOR_STATIC behind the dialog, its statics and buttons; COLOR_WINDOW behind edits and lists;
// COLOR_SCROLLBAR behind scroll bars), the DC's text colour left as the control set it; the
// focus moved by WM_NEXTDLGCTL or restored on activation gives a focused push button the default
// look (BM_SETSTYLE BS_DEFPUSHBUTTON) and gives it back to the default button (DM_GETDEFID:
// DM_SETDEFID's id, else the template's BS_DEFPUSHBUTTON) when the focus is elsewhere.
LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// Handles a message meant for the dialog or one of its controls: keyboard navigation (Tab,
// Shift+Tab and arrows between WS_TABSTOP and WS_GROUP controls, Enter to the default button
// or IDOK, Esc to IDCANCEL) as the focus control's WM_GETDLGCODE allows, anything else
// translated and dispatched. FALSE for a message that is not the dialog's.
BOOL IsDialogMessageW(HWND dialog, LPMSG msg);
// The next (or previous) visible, enabled WS_TABSTOP control after `control`, wrapping round;
// the children of WS_EX_CONTROLPARENT children (child dialogs) count as the dialog's own.
HWND GetNextDlgTabItem(HWND dialog, HWND control, BOOL previous);
// The next (or previous) visible, enabled control of `control`'s group (from a WS_GROUP control
// to the next one), wrapping round within the group.
HWND GetNextDlgGroupItem(HWND dialog, HWND control, BOOL previous);

// Dialog units of the dialog's font into pixels.
BOOL MapDialogRect(HWND dialog, LPRECT rect);
// The system font's base units: average character width (low word) and height (high word).
LONG GetDialogBaseUnits();

// Moves the dialog's children to the places another template gives them (the same dialog in
// another screen orientation): each item of the template moves and sizes the child with its id
// (IDC_STATIC items pair with the IDC_STATIC children in creation order). Visibility, z-order
// and the children that the template does not name are left as they are.
BOOL RelayoutDialogIndirect(HWND dialog, LPCDLGTEMPLATE dialogTemplate);
BOOL RelayoutDialog(HINSTANCE instance, HWND dialog, LPCWSTR templateName);

// Items by id.
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int bufferChars);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The item's text as a decimal number; *translated tells whether it was one.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);

inline HWND CreateDialogIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent,
                                      DLGPROC dialogProc, LPARAM initParam)
{
  return CreateDialogIndirectParamW(instance, dialogTemplate, parent, dialogProc, initParam);
}
inline HWND CreateDialogIndirect(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC dialogProc)
{
  return CreateDialogIndirectParamW(instance, dialogTemplate, parent, dialogProc, 0);
}
inline HWND CreateDialogParam(HINSTANCE instance, LPCWSTR templateName, HWND parent, DLGPROC dialogProc,
                              LPARAM initParam)
{
  return CreateDialogParamW(instance, templateName, parent, dialogProc, initParam);
}
inline INT_PTR DialogBoxParam(HINSTANCE instance, LPCWSTR templateName, HWND owner, DLGPROC dialogProc,
                              LPARAM initParam)
{
  return DialogBoxParamW(instance, templateName, owner, dialogProc, initParam);
}
inline INT_PTR DialogBoxIndirectParam(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND owner,
                                      DLGPROC dialogProc, LPARAM initParam)
{
  return DialogBoxIndirectParamW(instance, dialogTemplate, owner, dialogProc, initParam);
}
inline INT_PTR DialogBoxIndirect(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND owner, DLGPROC dialogProc)
{
  return DialogBoxIndirectParamW(instance, dialogTemplate, owner, dialogProc, 0);
}
inline LRESULT DefDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
  return DefDlgProcW(dialog, message, wParam, lParam);
}
inline BOOL IsDialogMessage(HWND dialog, LPMSG msg) { return IsDialogMessageW(dialog, msg); }
inline LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam)
{
  return SendDlgItemMessageW(dialog, id, message, wParam, lParam);
}
inline BOOL SetDlgItemText(HWND dialog, int id, LPCWSTR text) { return SetDlgItemTextW(dialog, id, text); }
inline UINT GetDlgItemText(HWND dialog, int id, LPWSTR buffer, int bufferChars)
{
  return GetDlgItemTextW(dialog, id, buffer, bufferChars);
}
