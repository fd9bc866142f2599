#include "internal/display/input_panel.h"

#include <algorithm>

#include "shell/sip.h"

namespace {

constexpr uint32_t kPanelColour = 0xFFC9CED6;
constexpr uint32_t kKeyColour = 0xFFFFFFFF;
constexpr uint32_t kKeyEdgeColour = 0xFF8A94A3;
// Three rows of ten keys, then a row with the space bar between two pairs of keys.
constexpr int kRows = 4;
constexpr int kKeysPerRow = 10;

void Fill(gdi_screen::Image& image, RECT rect, uint32_t colour)
{
  rect.left = std::max<LONG>(rect.left, 0);
  rect.top = std::max<LONG>(rect.top, 0);
  rect.right = std::min<LONG>(rect.right, image.width);
  rect.bottom = std::min<LONG>(rect.bottom, image.height);
  for (LONG y = rect.top; y < rect.bottom; ++y)
    std::fill_n(&image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(rect.left)],
                std::max<LONG>(0, rect.right - rect.left), colour);
}

void Key(gdi_screen::Image& image, RECT rect)
{
  Fill(image, rect, kKeyEdgeColour);
  Fill(image, RECT{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1}, kKeyColour);
}

}  // namespace

void display::DrawInputPanel(gdi_screen::Image& screen)
{
  SIPINFO info{};
  info.cbSize = sizeof info;
  if (!SipGetInfo(&info) || !(info.fdwFlags & SIPF_ON))
    return;
  RECT panel = info.rcSipRect;
  int width = panel.right - panel.left;
  int height = panel.bottom - panel.top;
  if (width <= 0 || height <= 0 || screen.pixels.empty())
    return;
  Fill(screen, panel, kPanelColour);
  int gap = std::max(1, width / 120);
  int keyWidth = (width - gap) / kKeysPerRow;
  int keyHeight = (height - gap) / kRows;
  int left = panel.left + (width - keyWidth * kKeysPerRow) / 2;
  for (int row = 0; row < kRows; ++row) {
    int top = panel.top + gap + row * keyHeight;
    for (int column = 0; column < kKeysPerRow; ++column) {
      bool lastRow = row == kRows - 1;
      // The space bar spans the six middle keys of the last row.
      if (lastRow && column > 2 && column < 8)
        continue;
      int x = left + column * keyWidth;
      int right = x + keyWidth - gap;
      if (lastRow && column == 2)
        right = left + 8 * keyWidth - gap;
      Key(screen, RECT{x + gap, top, right, top + keyHeight - gap});
    }
  }
}
