// The soft input panel on what the display shows: drawn over the screen's copy while it is up,
// absent while it is down, and never in the windows' own pixels.
#include <gtest/gtest.h>

#include "internal/display/input_panel.h"
#include "shell/sip.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "windows.h"

namespace {

constexpr uint32_t kScreenColour = 0xFF102030;

uint32_t Pixel(const gdi_screen::Image& image, int x, int y)
{
  return image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

gdi_screen::Image Plain(int width, int height)
{
  return gdi_screen::Image{width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), kScreenColour)};
}

TEST(InputPanel, DrawnInItsPlaceOnlyWhileUp)
{
  device::testing::ScopedDeviceRoot root;
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
    kvtest::SetScreenSize(width, height);
    SIPINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(SipShowIM(SIPF_OFF));
    ASSERT_TRUE(SipGetInfo(&info));
    RECT panel = info.rcSipRect;

    gdi_screen::Image down = Plain(width, height);
    display::DrawInputPanel(down);
    EXPECT_EQ(Plain(width, height).pixels, down.pixels) << "nothing drawn while the panel is down";

    ASSERT_TRUE(SipShowIM(SIPF_ON));
    gdi_screen::Image up = Plain(width, height);
    display::DrawInputPanel(up);
    EXPECT_EQ(kScreenColour, Pixel(up, width / 2, panel.top - 1)) << "above the panel";
    EXPECT_EQ(kScreenColour, Pixel(up, width / 2, panel.bottom)) << "the soft-key bar";
    int covered = 0;
    for (int y = panel.top; y < panel.bottom; ++y)
      for (int x = panel.left; x < panel.right; ++x)
        covered += Pixel(up, x, y) != kScreenColour;
    EXPECT_EQ((panel.right - panel.left) * (panel.bottom - panel.top), covered) << "the whole panel drawn";
    EXPECT_EQ(0xFFFFFFFFu, Pixel(up, panel.left + (panel.right - panel.left) / 20, panel.top + (panel.bottom - panel.top) / 8))
        << "a key";
    ASSERT_TRUE(SipShowIM(SIPF_OFF));
  }
}

}  // namespace
