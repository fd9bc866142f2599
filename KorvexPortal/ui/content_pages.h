// Cutting a dialog's content into pages that never split a control. Rectangles are client
// coordinates of the controls where the template put them; the visible band is the part of the
// dialog between the title strip and the soft-key bar (or the input panel).
//
// A page list holds page heights: its first entry is always 0, and the scroll position of page k
// is the sum of the entries 0..k.
#pragma once

#include <vector>

#include "windows.h"

// The pages of the controls for the visible band. A control taller than the band counts as
// exactly as tall as the band.
std::vector<int> BuildContentPages(const std::vector<RECT>& controls, const RECT& visible);

// The first page whose view (the band moved down by the heights of pages 1..k) holds the
// rectangle (cut to the band's height); 0 when none does.
int FindContentPage(const std::vector<int>& pages, const RECT& visible, const RECT& target);

// The scroll position of page k: the sum of the heights 0..k.
int ContentPagePosition(const std::vector<int>& pages, int page);

// The page at a scroll position: the first whose running sum of heights reaches it.
int ContentPageAt(const std::vector<int>& pages, int position);
