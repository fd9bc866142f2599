// The seam between the dialog manager and the drawing layer: the font a dialog template names
// and its metrics, from which dialog units are converted. The drawing layer's text engine
// installs its factory when it loads; until then (a process without drawing) the dialog manager
// uses the nominal metrics of the system font (no font handle).
#pragma once

#include <string>

#include "base/types.h"

namespace user_dialog {

struct DialogFont {
  HFONT font = nullptr;  // owned by the dialog; deleted through the factory's release
  int averageWidth = 0;  // pixels
  int height = 0;        // pixels
};

struct DialogFontFactory {
  // pointSize 0 and an empty face: the system font. dpi: the screen's density.
  DialogFont (*create)(WORD pointSize, const std::u16string& face, int dpi) = nullptr;
  void (*release)(HFONT font) = nullptr;
};

// Installed once by the drawing layer when it loads.
void SetDialogFontFactory(const DialogFontFactory& factory);

// The screen's density: 96 dots per inch for a 240-pixel short side, 192 for 480.
int ScreenDpi();

}  // namespace user_dialog
