// The arithmetic of the desktop's icon grid: columns by orientation, the place of each entry,
// the height the grid needs, and the steps of its scroll bar. Pure functions, so the rules can be
// checked as tables without windows.
#pragma once

#include "windows.h"

namespace desktop_menu {

constexpr int kEntryCount = 9;
// A grid cell and an icon, in pixels of a 240-pixel-wide screen (times the width scale).
constexpr int kCellWidth = 70;
constexpr int kCellHeight = 75;
constexpr int kIconWidth = 56;
constexpr int kIconHeight = 72;
constexpr int kIconLeft = 10;
constexpr int kTopMargin = 2;
// Line and page steps of the scroll bar, in pixels.
constexpr int kLineStep = 10;
constexpr int kPageStep = 20;
// The scroll codes the key handling sends: one row up and one row down.
constexpr int kRowUp = 20;
constexpr int kRowDown = 21;
// The skinned bar's width on a 240-pixel-wide screen.
constexpr double kBarWidth = 12.0;

// 3 columns when the screen is taller than wide, else 4.
int Columns(int screenWidth, int screenHeight);
// The columns the key handling counts with: (screen width - 15) / (70 s).
int KeyColumns(int screenWidth, int scale);
// The place of entry i at scroll position 0.
POINT EntryPosition(int index, int columns, int scale);
// The height the nine entries need: their rows of 75 s and the top margin.
int ContentHeight(int columns, int scale);
// The left edge of the scroll bar in a client area of the width.
int BarLeft(int clientWidth, int screenWidth);

// The scroll bar's state as WM_VSCROLL reads it.
struct ScrollState {
  int minimum;
  int maximum;
  int page;
  int position;
};
// The new position for a scroll code (thumb is the thumb's position for SB_THUMBPOSITION and
// SB_THUMBTRACK), clamped to minimum .. maximum - page.
int NextPosition(const ScrollState& state, int code, int thumb, int scale);

// The scroll code a key-up in the grid sends (0: none) and whether the remembered selection
// moves to the new one.
struct KeyUpStep {
  int code;
  bool remember;
};
KeyUpStep KeyUpScroll(UINT key, int selected, int previous, int keyColumns);

}  // namespace desktop_menu
