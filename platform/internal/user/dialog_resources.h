// The seam between the dialog manager and the resource loader: finds a dialog template in a
// module's resources for CreateDialogParam and DialogBoxParam. The loader installs its finder
// once it loads; until then templates by name are not found.
#pragma once

#include "user/dialog_template.h"

namespace user_dialog {

// The template named by a string or MAKEINTRESOURCE id in the module; null when it has none.
// The template must stay valid while the module is loaded.
using DialogTemplateFinder = LPCDLGTEMPLATE (*)(HINSTANCE module, LPCWSTR name);
void SetDialogTemplateFinder(DialogTemplateFinder finder);

// The resource id of the template the dialog was made from by CreateDialogParamW or
// DialogBoxParamW; 0 for a template named by a string or given directly, or a window that is
// not a dialog.
WORD DialogTemplateId(HWND dialog);

}  // namespace user_dialog
