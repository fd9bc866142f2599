// Drawing helpers shared by the dialogs: a stretched copy of a bitmap and the heavy system font.
#pragma once

#include "base/types.h"

// Deletes the bitmap held in target (when one is), makes a bitmap of the target size compatible
// with the device context and stretches the whole source into it. FALSE when the device
// context or the source is missing (target untouched) or the copy cannot be made (target null).
BOOL StretchCopyBitmap(HDC dc, HBITMAP source, int sourceWidth, int sourceHeight, HBITMAP& target, int targetWidth,
                       int targetHeight);

// A font with the stock system font's face and weight 900; the caller deletes it.
HFONT CreateHeavySystemFont();
