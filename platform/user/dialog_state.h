// What the dialog manager keeps per dialog beyond the window's extra bytes.
#pragma once

#include <optional>
#include <vector>

#include "internal/user/dialog_font.h"
#include "window_internal.h"

namespace user_dialog {

struct DialogRecord {
  DialogFont font;
  bool hasFont = false;
  WORD defaultId = 0;  // 0: none given yet (DM_GETDEFID then looks for a BS_DEFPUSHBUTTON child)
  HWND savedFocus = nullptr;
  bool ended = false;
  INT_PTR result = 0;
  WORD templateId = 0;  // the resource id of its template; 0: given directly or by a string name
  // The windows made for the template's items, in template order (a relayout pairs items by it,
  // whatever the z-order has become since).
  std::vector<HWND> items;
};

// The dialog's record, made by the dialog manager at creation; null for a window that is not
// a dialog. Records are dropped at WM_NCDESTROY.
std::shared_ptr<DialogRecord> FindDialog(HWND dialog);
std::shared_ptr<DialogRecord> AddDialog(HWND dialog);
void RemoveDialog(HWND dialog);

// The dialog's font metrics (or the system font's for a window that is not a dialog).
DialogFont FontOf(HWND dialog);
DialogFont CreateDialogFont(WORD pointSize, const std::u16string& face);
void ReleaseDialogFont(const DialogFont& font);
RECT DialogUnitsToPixels(const DialogFont& font, short x, short y, short cx, short cy);

// DM_GETDEFID's answer: MAKELRESULT(id, DC_HASDEFID), or 0 without a default button.
LRESULT DefaultId(HWND dialog);
// DM_SETDEFID: the new default button takes the default look unless a push button has the focus.
void SetDefaultId(HWND dialog, WORD id);
// The focus moved to `focus` (null: outside the dialog): a focused push button looks like the
// default button, else the dialog's default button does (BM_SETSTYLE).
void ShowDefaultButton(HWND dialog, HWND focus);

// CreateDialogIndirectParamW and DialogBoxIndirectParamW for a template that the module's
// resources hold under that id (0: a template given directly or named by a string).
HWND CreateDialogOfTemplate(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND parent, DLGPROC dialogProc,
                            LPARAM initParam, WORD templateId);
INT_PTR RunDialogOfTemplate(HINSTANCE instance, LPCDLGTEMPLATE dialogTemplate, HWND owner, DLGPROC dialogProc,
                            LPARAM initParam, WORD templateId);

// The window class of dialogs (WC_DIALOG), registered on first use.
bool EnsureDialogClass();

}  // namespace user_dialog
