// Where a dialog draws its title, from a layout string of the resource library: four integers
// and the title, separated by commas ("120,4,160,4,Korvex 钱包"): the title's centre x and top
// in portrait, then in the other orientations (landscape and square).
#pragma once

#include "text/cstring.h"

struct TitleLayout {
  int portraitCenterX = 0;
  int portraitTop = 0;
  int landscapeCenterX = 0;
  int landscapeTop = 0;
  // Empty when the string holds no title.
  CStringW title;

  // The title's centre x and top for an orientation (1 portrait, -1 landscape, 0 square).
  int CenterX(int orientation) const { return orientation == 1 ? portraitCenterX : landscapeCenterX; }
  int Top(int orientation) const { return orientation == 1 ? portraitTop : landscapeTop; }
};

// Runs of commas count as one; fields that are missing leave their values 0 and the title empty.
TitleLayout ParseTitleLayout(const CStringW& text);
