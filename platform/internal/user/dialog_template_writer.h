// Builds a dialog template (user/dialog_template.h) from a description: for the resource
// loader, which compiles DIALOG statements, and for tests that make dialogs in code.
#pragma once

#include <string>
#include <vector>

#include "user/dialog_template.h"

namespace user_dialog {

// A template field that is either absent, an ordinal (0xFFFF and a WORD) or a UTF-16 text.
struct TemplateName {
  static TemplateName None() { return {}; }
  static TemplateName Ordinal(WORD value) { return {true, value, {}}; }
  static TemplateName Text(std::u16string value) { return {false, 0, std::move(value)}; }

  bool isOrdinal = false;
  WORD ordinal = 0;
  std::u16string text;  // empty and not an ordinal: absent (a single 0 WORD)
};

struct DialogItemSpec {
  TemplateName className;  // Ordinal(DLG_CLASS_BUTTON) ... or Text(u"SomeClass")
  TemplateName title;      // usually Text; Ordinal for a resource id (an image's)
  WORD id = 0;
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  std::vector<BYTE> creationData;      // at most 0xFFFF bytes
};

struct DialogSpec {
  DWORD style = 0;  // DS_SETFONT is added when faceName is not empty
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;  // dialog units
  TemplateName menu;
  TemplateName className;
  std::u16string title;
  WORD pointSize = 0;
  std::u16string faceName;
  std::vector<DialogItemSpec> items;  // at most 0xFFFF
};

// The template's bytes (a vector's storage is aligned for DWORDs). Empty when a count or
// size does not fit its WORD.
std::vector<BYTE> BuildDialogTemplate(const DialogSpec& spec);

}  // namespace user_dialog
