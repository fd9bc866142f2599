// The record the dialog base keeps of each child control it moves, pages and re-skins.
#pragma once

#include "atl/atl.h"
#include "skin_image.h"

// How a control is let go when its dialog is destroyed, and whether it takes a skin image.
enum ControlKind {
  // A skinned label: its window gets its own procedure back.
  kControlLabel = 0,
  // A skinned edit: its frame strips are destroyed and its procedure given back.
  kControlSkinEdit = 3,
  // A plain window: its handle is forgotten; it takes no skin image.
  kControlPlain = 5,
};

struct ControlLayout {
  // The field holding the control's window handle (the control object's own, or a slot).
  HWND* window = nullptr;
  // The object that subclassed the window (labels and edits); null for a plain window.
  CWindowImplBaseT<CWindow, CControlWinTraits>* subclass = nullptr;
  // The control's background, or null.
  CSkinImage* image = nullptr;
  int kind = kControlPlain;
  // Bitmaps of the resource library behind the control in portrait and in the other
  // orientations; an id that is no bitmap gives the dialog's background instead.
  int portraitBitmap = -1;
  int landscapeBitmap = -1;
  // Nonzero: the control takes its bitmap's size.
  int sizeToBitmap = 0;
  // Where the template put the control, and where it is now (client coordinates).
  RECT initial{};
  RECT current{};
};
