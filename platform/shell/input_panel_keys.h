// The keys of the soft input panel's keyboard: where each lies in the panel and what it types.
#pragma once

#include <string>
#include <vector>

#include "base/types.h"

namespace shell {

enum class PanelKeyKind { character, shift, backspace, enter, space };

struct PanelKey {
  RECT rect;            // screen coordinates, inside the panel
  PanelKeyKind kind;
  char16_t character;   // what a character key types without shift (lower case)
};

// The keyboard laid out over the panel's rectangle: five rows of ten key widths (digits, three
// rows of letters with backspace, shift and enter, then the space bar between punctuation).
std::vector<PanelKey> LayOutPanelKeys(const RECT& panel);

// The key under a screen point; null between keys and outside the panel.
const PanelKey* PanelKeyAt(const std::vector<PanelKey>& keys, POINT screen);

// The character a key types: letters in upper case while shift is on; 0 for the other keys.
char16_t TypedCharacter(const PanelKey& key, bool shifted);

// The caption shown on a key cap.
std::u16string PanelKeyCaption(const PanelKey& key, bool shifted);

}  // namespace shell
