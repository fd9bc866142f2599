// Reads a dialog template (user/dialog_template.h) into a description for the dialog manager.
#pragma once

#include <string>
#include <vector>

#include "internal/user/dialog_template_writer.h"

namespace user_dialog {

struct ParsedItem {
  DialogItemSpec spec;
  const BYTE* creationData = nullptr;  // the size WORD inside the template; null when none
};

struct ParsedDialog {
  DialogSpec spec;  // items left empty; see items
  std::vector<ParsedItem> items;
};

ParsedDialog ReadDialogTemplate(const DLGTEMPLATE* dialog);

// The window class an item's class field names: a predefined atom maps to its class name.
std::u16string ItemClassName(const TemplateName& className);

}  // namespace user_dialog
