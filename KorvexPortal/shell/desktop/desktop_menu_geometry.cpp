#include "desktop_menu_geometry.h"

#include <algorithm>

namespace desktop_menu {

int Columns(int screenWidth, int screenHeight)
{
  return screenHeight > screenWidth ? 3 : 4;
}

int KeyColumns(int screenWidth, int scale)
{
  return std::max(1, (screenWidth - 15) / (kCellWidth * scale));
}

POINT EntryPosition(int index, int columns, int scale)
{
  return POINT{kCellWidth * scale * (index % columns), scale * (kCellHeight * (index / columns) + kTopMargin)};
}

int ContentHeight(int columns, int scale)
{
  int rows = (kEntryCount + columns - 1) / columns;
  return scale * (kCellHeight * rows + kTopMargin);
}

int BarLeft(int clientWidth, int screenWidth)
{
  return clientWidth - static_cast<int>(kBarWidth * (static_cast<double>(screenWidth) / 240.0));
}

int NextPosition(const ScrollState& state, int code, int thumb, int scale)
{
  int row = kCellHeight * scale;
  int position = state.position;
  bool roomBelow = state.position + state.page < state.maximum;
  switch (code) {
    case SB_LINEUP:
      if (position > state.minimum)
        position -= kLineStep;
      break;
    case SB_PAGEUP:
      if (position > state.minimum)
        position -= kPageStep;
      break;
    case SB_LINEDOWN:
      if (roomBelow)
        position += kLineStep;
      break;
    case SB_PAGEDOWN:
      if (roomBelow)
        position += kPageStep;
      break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
      position = std::clamp(thumb, state.minimum, state.maximum);
      break;
    case kRowUp:
      position = position - row < state.minimum ? state.minimum : position - row;
      break;
    case kRowDown:
      if (roomBelow && state.position - state.minimum <= row)
        position += std::min(row, state.maximum - state.position - state.page);
      break;
    default:
      break;
  }
  int last = std::max(state.minimum, state.maximum - state.page);
  return std::clamp(position, state.minimum, last);
}

KeyUpStep KeyUpScroll(UINT key, int selected, int previous, int keyColumns)
{
  KeyUpStep step{0, true};
  if (key == VK_UP) {
    step.code = kRowUp;
    if (previous < 4)
      step.remember = false;
  } else if (key == VK_DOWN) {
    if (selected >= keyColumns && previous < selected)
      step.code = kRowDown;
    else if (previous > selected)
      step.code = kRowUp;
    int lastRowStart = (kEntryCount - 1) / keyColumns * keyColumns;
    bool lastRowIncomplete = kEntryCount % keyColumns != 0;
    if (lastRowIncomplete && previous >= lastRowStart)
      step.remember = false;
  }
  return step;
}

}  // namespace desktop_menu
