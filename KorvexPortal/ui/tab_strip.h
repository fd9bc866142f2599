// The skinned tab strip that the toolkit's tab controls paint over a platform tab control: a
// grey band with a line under it, flat grey tabs, the current one built from three images, and
// the captions in the system font.
#pragma once

#include "windows.h"

// The current tab's images in the current resource library: left cap, middle and right cap.
// The object owns them.
class CSelectedTabImages {
 public:
  enum { kLeftCapId = 1028, kMiddleId = 1029, kRightCapId = 1030 };

  CSelectedTabImages();
  ~CSelectedTabImages();
  CSelectedTabImages(const CSelectedTabImages&) = delete;
  CSelectedTabImages& operator=(const CSelectedTabImages&) = delete;

  // All three images loaded.
  bool IsComplete() const { return m_hLeftCap && m_hMiddle && m_hRightCap; }

  HBITMAP m_hLeftCap = nullptr;
  HBITMAP m_hMiddle = nullptr;
  HBITMAP m_hRightCap = nullptr;
};

// How the current tab is built and where captions go.
enum class TabStripStyle {
  // The middle image stretched over the tab; each caption's rectangle moved 5 pixels right.
  kStretchedTab,
  // The middle image's first column repeated across the tab at the image's own height; each
  // caption from 5 pixels in.
  kTiledTab,
};

// Paints the whole client area of the tab control into the device context.
void PaintTabStrip(HWND tabControl, HDC dc, const CSelectedTabImages& images, TabStripStyle style);

// Paints the page under a tab control placed at the top of the area: the form colour over the
// area, and a band as high as the tabs (plus their edges and bandExtra pixels) with a rule under it.
void PaintTabPageBackground(HWND tabControl, HDC dc, const RECT& area, int bandExtra);

// Places a tab control over the area, 10 pixels (times the width scale) in from either side and
// 5 down from the top, to the bottom; the page under it is painted with a bandExtra of 5.
void PlaceTabControl(HWND tabControl, const RECT& area, int scale);
