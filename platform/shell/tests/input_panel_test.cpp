// The soft input panel's keyboard: its own window on a thread of its own, painted with captions
// in the panel's place while the panel is up, typing what is tapped into the focused control.
#include <gtest/gtest.h>

#include <string>

#include "input_panel.h"
#include "input_panel_keys.h"
#include "internal/gdi/screen.h"
#include "shell/sip.h"
#include "testing/device_root.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "windows.h"

namespace {

constexpr COLORREF kBeneath = RGB(0x10, 0x20, 0x30);
constexpr uint32_t kBeneathPixel = 0x102030;
constexpr uint32_t kKeyFacePixel = 0xFFFFFF;

uint32_t Pixel(const gdi_screen::Image& image, int x, int y)
{
  return image.pixels[static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x)];
}

RECT PanelRect()
{
  SIPINFO info{};
  info.cbSize = sizeof info;
  EXPECT_TRUE(SipGetInfo(&info));
  return info.rcSipRect;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_ERASEBKGND) {
    RECT client;
    GetClientRect(hwnd, &client);
    HBRUSH brush = CreateSolidBrush(kBeneath);
    FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
    DeleteObject(brush);
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class InputPanel : public ::testing::Test {
 protected:
  void SetUp() override
  {
    WNDCLASSW wc{};
    wc.lpfnWndProc = PlainProc;
    wc.lpszClassName = u"PanelBeneath";
    RegisterClassW(&wc);
  }
  void TearDown() override
  {
    SipShowIM(SIPF_OFF);
    kvtest::DestroyThreadWindows();
  }

  // A plain window over the whole screen, the way a full-screen dialog lies beneath the panel.
  HWND Beneath()
  {
    return CreateWindowExW(0, u"PanelBeneath", u"", WS_POPUP | WS_VISIBLE, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                           GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, nullptr, nullptr);
  }

  device::testing::ScopedDeviceRoot root_;
};

// The centre of the first key of a kind (and character) on the screen.
POINT KeyCentre(shell::PanelKeyKind kind, char16_t character = 0)
{
  for (const shell::PanelKey& key : shell::LayOutPanelKeys(PanelRect()))
    if (key.kind == kind && (character == 0 || key.character == character))
      return POINT{(key.rect.left + key.rect.right) / 2, (key.rect.top + key.rect.bottom) / 2};
  ADD_FAILURE() << "no such key";
  return POINT{0, 0};
}

TEST_F(InputPanel, KeysWithCaptionsShownInThePanelsPlaceOnlyWhileUp)
{
  for (auto [width, height] : {std::pair{240, 320}, std::pair{480, 640}}) {
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    SCOPED_TRACE(size);
    kvtest::SetScreenSize(width, height);
    HWND beneath = Beneath();
    ASSERT_TRUE(kvtest::RunUntilIdle());
    RECT panel = PanelRect();
    gdi_screen::Image down = gdi_screen::CaptureScreen();
    EXPECT_EQ(kBeneathPixel, Pixel(down, width / 2, (panel.top + panel.bottom) / 2)) << "nothing while down";

    ASSERT_TRUE(SipShowIM(SIPF_ON));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    gdi_screen::Image up = gdi_screen::CaptureScreen();
    EXPECT_EQ(kBeneathPixel, Pixel(up, width / 2, panel.top - 1)) << "above the panel";
    EXPECT_EQ(kBeneathPixel, Pixel(up, width / 2, panel.bottom)) << "the soft-key bar";
    for (const shell::PanelKey& key : shell::LayOutPanelKeys(panel)) {
      std::u16string caption = shell::PanelKeyCaption(key, false);
      SCOPED_TRACE(kvtest::Narrow(caption));
      int face = 0;
      int ink = 0;
      for (int y = key.rect.top + 1; y < key.rect.bottom - 1; ++y)
        for (int x = key.rect.left + 1; x < key.rect.right - 1; ++x) {
          uint32_t p = Pixel(up, x, y);
          // Inside its edge a cap is white but for its caption's ink.
          face += p == kKeyFacePixel;
          ink += p != kKeyFacePixel;
        }
      EXPECT_GT(face, ink) << "a white key cap";
      EXPECT_GT(ink, 0) << "a caption on the cap";
    }
    EXPECT_FALSE(kvtest::SaveScreenshot("input_panel_" + size).empty());

    ASSERT_TRUE(SipShowIM(SIPF_OFF));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    gdi_screen::Image again = gdi_screen::CaptureScreen();
    EXPECT_EQ(kBeneathPixel, Pixel(again, width / 2, (panel.top + panel.bottom) / 2)) << "the window beneath shows again";
    DestroyWindow(beneath);
  }
}

TEST_F(InputPanel, TappedKeysTypeIntoTheFocusedEditWithoutTakingTheFocus)
{
  using shell::PanelKeyKind;
  HWND beneath = Beneath();
  HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_WANTRETURN, 10, 10, 200, 80,
                              beneath, nullptr, nullptr, nullptr);
  SetFocus(edit);
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  struct Tap {
    PanelKeyKind kind;
    char16_t character;
  };
  const Tap taps[] = {
      {PanelKeyKind::character, u'h'}, {PanelKeyKind::character, u'i'}, {PanelKeyKind::shift, 0},
      {PanelKeyKind::character, u'k'}, {PanelKeyKind::character, u'1'}, {PanelKeyKind::shift, 0},
      {PanelKeyKind::character, u'm'}, {PanelKeyKind::space, 0},        {PanelKeyKind::character, u'x'},
      {PanelKeyKind::backspace, 0},    {PanelKeyKind::enter, 0},        {PanelKeyKind::character, u'@'},
  };
  for (const Tap& tap : taps)
    ASSERT_TRUE(kvtest::Tap(KeyCentre(tap.kind, tap.character)));
  // Between two keys nothing is typed.
  RECT panel = PanelRect();
  ASSERT_TRUE(kvtest::Tap(POINT{panel.left, panel.top}));
  WCHAR text[64]{};
  GetWindowTextW(edit, text, 64);
  EXPECT_EQ(std::u16string(u"hiK1m \r\n@"), std::u16string(text));
  EXPECT_EQ(edit, GetFocus());
  EXPECT_EQ(beneath, GetActiveWindow());
}

TEST_F(InputPanel, StartsPaintedAndStopsWithinItsBound)
{
  // A stopped panel starts again with the next show, and is on screen when the show returns.
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    SipShowIM(SIPF_OFF);
    shell::StopInputPanelWindow();
    EXPECT_EQ(nullptr, FindWindowW(u"SipWndClass", nullptr)) << "the window ends with its thread";
    ASSERT_TRUE(SipShowIM(SIPF_ON));
    HWND panelWindow = FindWindowW(u"SipWndClass", nullptr);
    ASSERT_NE(nullptr, panelWindow);
    EXPECT_TRUE(IsWindowVisible(panelWindow));
    RECT panel = PanelRect();
    POINT caps = KeyCentre(shell::PanelKeyKind::space);
    gdi_screen::Image shown = gdi_screen::CaptureScreen();
    EXPECT_EQ(kKeyFacePixel, Pixel(shown, caps.x - (caps.x - panel.left) / 2, caps.y)) << "painted before the show returned";
  }
}

}  // namespace
