// Soft keys and their skinned popup menus: command keys and menu keys as the dialog sees them,
// the notifications around the popup, the chosen item's command, item sizes by screen width,
// item backgrounds from the resource library's bitmaps, and the key's text.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app_services.h"
#include "skin_soft_key.h"
#include "test_resource_library.h"
#include "testing/canvas.h"
#include "testing/message_log.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

using namespace kvtest;

namespace {

constexpr int kKeyId = 134;
constexpr UINT kHelpId = 0x8002;
constexpr UINT kExitId = 0x8007;
constexpr COLORREF kUpperHalf = RGB(0xE0, 0x30, 0x30);
constexpr COLORREF kLowerHalf = RGB(0x30, 0xA0, 0x30);
constexpr COLORREF kSelected = RGB(0x20, 0x60, 0xC0);
// The skins' soft-key bar is light: the keys draw their text in the DC's colour, black.
constexpr COLORREF kKeyBackground = RGB(0xE4, 0xE4, 0xE4);

// A 24-bit BMP file: the upper half in one colour, the lower half in another.
std::string TwoToneBitmap(int width, int height, COLORREF upper, COLORREF lower)
{
  int rowBytes = (width * 3 + 3) & ~3;
  int imageBytes = rowBytes * height;
  std::string out;
  auto put = [&](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  out += "BM";
  put(static_cast<uint32_t>(54 + imageBytes), 4);
  put(0, 4);
  put(54, 4);
  put(40, 4);
  put(static_cast<uint32_t>(width), 4);
  put(static_cast<uint32_t>(height), 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(static_cast<uint32_t>(imageBytes), 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  for (int row = height - 1; row >= 0; --row) {  // bottom-up
    COLORREF colour = row < height / 2 ? upper : lower;
    for (int x = 0; x < width; ++x) {
      out.push_back(static_cast<char>(GetBValue(colour)));
      out.push_back(static_cast<char>(GetGValue(colour)));
      out.push_back(static_cast<char>(GetRValue(colour)));
    }
    out.append(static_cast<size_t>(rowBytes - width * 3), '\0');
  }
  return out;
}

const char kScript[] = R"(
233 BITMAP "item.bmp"
261 BITMAP "item_selected.bmp"
204 MENU
BEGIN
    POPUP "菜单"
    BEGIN
        MENUITEM "帮助",  0x8002
        MENUITEM "退出",  0x8007
    END
    MENUITEM "返回",  0x8010
END
)";

// What the dialog saw of the key: the messages of interest, with how they came.
struct Seen {
  UINT message;
  WPARAM wParam;
  unsigned how;
  bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& seen)
{
  return out << MessageName(seen.message) << "(" << std::hex << seen.wParam << std::dec << ", "
             << (seen.how & posted ? "posted" : "sent") << ")";
}

class SoftKey : public ::testing::Test {
 protected:
  void SetUp() override
  {
    HMODULE library = MakeResourceLibrary(root, "ModelRes_240x320", kScript,
                                          {{"item.bmp", TwoToneBitmap(98, 52, kUpperHalf, kLowerHalf)},
                                           {"item_selected.bmp", TwoToneBitmap(88, 22, kSelected, kSelected)}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }
  void TearDown() override { Clean(); }
  void Clean()
  {
    ui.Invoke([&] {
      // The windows go first, as a dialog's do before its members.
      DestroyThreadWindows();
      key.reset();
      if (menu)
        DestroyMenu(menu);
      menu = nullptr;
    });
  }

  // A dialog-like parent that reflects its children's drawing and colours back to them, and a
  // key over its button.
  void MakeKey(bool takesFocus, int screenWidth = 240)
  {
    ui.Invoke([&] {
      SetScreenSize(screenWidth, screenWidth * 4 / 3);
      auto reflect = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_KV_SOFTKEY_POPUP && beforePopup)
          beforePopup();
        HWND child = nullptr;
        if (message == WM_DRAWITEM && wParam)
          child = GetDlgItem(hwnd, static_cast<int>(wParam));
        if (message == WM_CTLCOLORBTN)
          child = reinterpret_cast<HWND>(lParam);
        if (!child)
          return std::nullopt;
        return SendMessageW(child, OCM__BASE + message, wParam, lParam);
      };
      parent = CreateRecordingWindow(log, {.name = "dialog", .style = WS_POPUP | WS_VISIBLE,
                                           .rect = {0, 0, screenWidth, screenWidth * 4 / 3}, .handler = reflect});
      int keyHeight = 26 * screenWidth / 240;
      button = CreateWindowExW(0, u"BUTTON", u"返回", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON,
                               screenWidth - 80 * screenWidth / 240, screenWidth * 4 / 3 - keyHeight,
                               80 * screenWidth / 240, keyHeight, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(kKeyId)), nullptr, nullptr);
      key = std::make_unique<CSkinSoftKey>();
      key->m_background.SetSource(kKeyBackground, true);
      ASSERT_TRUE(key->Attach(button, takesFocus));
      menu = LoadMenuW(app.GetResourceLibrary(), MAKEINTRESOURCEW(204));
    });
    ASSERT_NE(nullptr, menu);
    RunUntilIdle();
    log.Clear();
  }
  void SetMenu(HMENU which, int position)
  {
    ui.Invoke([&] { key->SetMenu(which, position); });
  }
  // Taps the key; for a menu key, waits for the popup's window and returns it.
  HWND TapKeyForMenu()
  {
    ui.Post([this] { key->Click(); });
    HWND window = WaitForTopLevelWindow(u"MNU", u"");
    EXPECT_TRUE(RunUntilIdle());
    return window;
  }
  std::vector<Seen> Notifications() const
  {
    std::vector<Seen> seen;
    for (const RecordedMessage& m : log.Messages())
      if (m.window == "dialog" &&
          (m.message == WM_COMMAND || m.message == WM_KV_SOFTKEY_POPUP || m.message == WM_KV_SOFTKEY_POPUP_DONE))
        seen.push_back({m.message, m.wParam, m.how & (sent | posted)});
    return seen;
  }

  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  MessageLog log;
  UiThread ui;
  HWND parent = nullptr;
  HWND button = nullptr;
  HMENU menu = nullptr;
  std::unique_ptr<CSkinSoftKey> key;
  std::function<void()> beforePopup;
};

TEST_F(SoftKey, AttachedButtonsBecomeOwnerDrawnAndOnlyKeysThatTakeFocusActivate)
{
  MakeKey(false);
  EXPECT_EQ(static_cast<LONG>(BS_OWNERDRAW), GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK);
  EXPECT_TRUE(GetWindowLongW(button, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
  Clean();
  MakeKey(true);
  EXPECT_FALSE(GetWindowLongW(button, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
}

TEST_F(SoftKey, AKeyTakesTheSizeOfItsSourceBitmapWhereItStands)
{
  MakeKey(true);
  RECT before;
  RECT after;
  GetWindowRect(button, &before);
  ui.Invoke([&] { key->SizeToBitmap(); });
  GetWindowRect(button, &after);
  auto box = [](const RECT& r) { return std::array<LONG, 4>{r.left, r.top, r.right, r.bottom}; };
  EXPECT_EQ(box(before), box(after)) << "without a source the key keeps its size";

  ui.Invoke([&] {
    HDC screen = GetDC(nullptr);
    key->m_background.AttachBitmap(CreateCompatibleBitmap(screen, 60, 30));
    ReleaseDC(nullptr, screen);
    key->SizeToBitmap();
  });
  GetWindowRect(button, &after);
  EXPECT_EQ(box(RECT{before.left, before.top, before.left + 60, before.top + 30}), box(after));
}

TEST_F(SoftKey, CommandKeysSendTheirControlIdAndOtherKeysNothing)
{
  struct Case {
    const char* name;
    bool takesFocus;
    std::optional<int> menuPosition;  // SetMenu with the menu at this position; -2: with no menu
    bool sends;
  };
  const Case cases[] = {
      {"a key that takes focus", true, std::nullopt, true},
      {"a key that takes no focus and has no command", false, std::nullopt, false},
      {"a key given no menu", false, -2, true},
      {"a key given an item without a submenu", false, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeKey(c.takesFocus);
    if (c.menuPosition)
      SetMenu(*c.menuPosition == -2 ? nullptr : menu, *c.menuPosition);
    ASSERT_TRUE(TapWindow(button));
    std::vector<Seen> expected;
    if (c.sends)
      expected.push_back({WM_COMMAND, kKeyId, sent});
    EXPECT_EQ(expected, Notifications());
    EXPECT_EQ(nullptr, FindWindowW(u"MNU", u"")) << "no popup opens";
    Clean();
  }
}

TEST_F(SoftKey, AMenuKeyTellsTheDialogAroundItsPopupAndPassesTheChosenItem)
{
  MakeKey(true);
  SetMenu(menu, 0);
  HWND window = TapKeyForMenu();
  ASSERT_NE(nullptr, window);
  EXPECT_EQ((std::vector<Seen>{{WM_KV_SOFTKEY_POPUP, kKeyId, sent}}), Notifications()) << "before the popup opens";
  RECT keyRect;
  RECT menuRect;
  GetWindowRect(button, &keyRect);
  GetWindowRect(window, &menuRect);
  EXPECT_EQ(keyRect.top, menuRect.bottom) << "the popup stands on the key";
  EXPECT_EQ(240, menuRect.right) << "from the key's left end, kept on the screen";

  ASSERT_TRUE(PressKey(VK_UP));  // from nothing to the last item
  ASSERT_TRUE(PressKey(VK_RETURN));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(nullptr, FindWindowW(u"MNU", u""));
  EXPECT_EQ((std::vector<Seen>{{WM_KV_SOFTKEY_POPUP, kKeyId, sent},
                               {WM_KV_SOFTKEY_POPUP_DONE, kKeyId, sent},
                               {WM_COMMAND, kExitId, sent}}),
            Notifications());

  log.Clear();
  ASSERT_NE(nullptr, TapKeyForMenu());
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ((std::vector<Seen>{{WM_KV_SOFTKEY_POPUP, kKeyId, sent}, {WM_KV_SOFTKEY_POPUP_DONE, kKeyId, sent}}),
            Notifications())
      << "a dismissed popup sends no command";
}

TEST_F(SoftKey, TheWholeMenuCanBeThePopupAndTheDialogMayGreyItsItemsFirst)
{
  MakeKey(true);
  HMENU popup = nullptr;
  ui.Invoke([&] {
    popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, kHelpId, u"帮助");
    AppendMenuW(popup, MF_STRING, kExitId, u"退出");
  });
  SetMenu(popup, -1);
  // The dialog greys 退出 when it hears the popup is about to open.
  beforePopup = [popup] { EnableMenuItem(popup, kExitId, MF_BYCOMMAND | MF_GRAYED); };
  ASSERT_NE(nullptr, TapKeyForMenu());
  for (UINT k : {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE})
    ASSERT_TRUE(PressKey(k));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ((std::vector<Seen>{{WM_KV_SOFTKEY_POPUP, kKeyId, sent}, {WM_KV_SOFTKEY_POPUP_DONE, kKeyId, sent}}),
            Notifications())
      << "the item greyed before the popup opened cannot be chosen";
  ui.Invoke([&] { DestroyMenu(popup); });
}

TEST_F(SoftKey, ThePopupLeavesTheMenuItWasGivenToItsGiver)
{
  MakeKey(true);
  HMENU submenu = GetSubMenu(menu, 0);
  SetMenu(menu, 0);
  ASSERT_NE(nullptr, TapKeyForMenu());
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  SetMenu(menu, -1);  // another popup: the key's popup lets the submenu go
  EXPECT_TRUE(IsMenu(submenu)) << "a popup given up";
  ui.Invoke([&] {
    DestroyWindow(button);
    key.reset();
  });
  EXPECT_TRUE(IsMenu(menu)) << "the key gone";
  EXPECT_TRUE(IsMenu(submenu));
}

TEST_F(SoftKey, ItemsMeasureByTheScreenWidth)
{
  struct Case {
    int screenWidth;
    SIZE item;
  };
  for (const Case& c : {Case{240, {91, 26}}, Case{480, {189, 52}}}) {
    SCOPED_TRACE(c.screenWidth);
    MakeKey(true, c.screenWidth);
    SetMenu(menu, 0);
    HWND window = TapKeyForMenu();
    ASSERT_NE(nullptr, window);
    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(c.item.cx, client.right);
    EXPECT_EQ(2 * c.item.cy, client.bottom) << "two items";
    ASSERT_TRUE(PressKey(VK_ESCAPE));
    Clean();
  }
}

TEST_F(SoftKey, ItemsStandOnTheHalvesOfTheItemBitmapAndTheSelectionOnItsOwn)
{
  MakeKey(true);
  SetMenu(menu, 0);
  HWND window = TapKeyForMenu();
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(PressKey(VK_DOWN));  // selects the first item
  ASSERT_TRUE(RunUntilIdle());
  SaveScreenshot("soft_key_popup", nullptr);

  HDC dc = GetDC(window);
  auto at = [&](int x, int y) { return GetPixel(dc, x, y); };
  // Near the right end of each item, clear of its text and of the selection.
  EXPECT_EQ(kSelected, at(70, 12)) << "the selected first item shows the selected item bitmap";
  EXPECT_EQ(kUpperHalf, at(88, 3)) << "the first of two items stands on the upper half";
  EXPECT_EQ(kLowerHalf, at(88, 26 + 12)) << "the last item stands on the lower half";
  ReleaseDC(window, dc);

  HDC screen = GetDC(nullptr);
  RECT frame;
  GetWindowRect(window, &frame);
  EXPECT_EQ(RGB(0xC4, 0xC4, 0xC4), GetPixel(screen, frame.left, frame.bottom - 1)) << "the grey frame";
  ReleaseDC(nullptr, screen);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
}

TEST_F(SoftKey, WithoutItemBitmapsItemsArePlainAndTheSelectionBlue)
{
  std::string script = kScript;
  script = script.substr(script.find("204 MENU"));  // the menu without the bitmaps
  HMODULE plain = MakeResourceLibrary(root, "Plain", script);
  ASSERT_NE(nullptr, plain);
  app.SetResourceLibrary(plain);
  MakeKey(true);
  SetMenu(menu, 0);
  HWND window = TapKeyForMenu();
  ASSERT_NE(nullptr, window);
  ASSERT_TRUE(PressKey(VK_DOWN));
  HDC dc = GetDC(window);
  EXPECT_EQ(RGB(0, 0, 0xFF), GetPixel(dc, 70, 12)) << "the selected first item";
  EXPECT_EQ(RGB(0xF7, 0xF7, 0xF7), GetPixel(dc, 88, 26 + 12)) << "the second item";
  ReleaseDC(window, dc);
  ASSERT_TRUE(PressKey(VK_ESCAPE));
}

TEST_F(SoftKey, TheKeyShowsItsCaptionOrWhileEnabledItsWindowText)
{
  struct Case {
    const char* name;
    bool withCaption;
    bool enabled;
    bool text;
  };
  const Case cases[] = {
      {"window text", false, true, true},
      {"disabled without a caption", false, false, false},
      {"caption of a disabled key", true, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeKey(true);
    if (c.withCaption)
      SetMenu(menu, 0);
    RECT ink{};
    ui.Invoke([&] {
      EnableWindow(button, c.enabled);
      Canvas canvas(80, 26, kKeyBackground);
      DRAWITEMSTRUCT draw{ODT_BUTTON, kKeyId, 0, ODA_DRAWENTIRE, c.enabled ? 0u : ODS_DISABLED, button, canvas.dc,
                          RECT{0, 0, 80, 26}, 0};
      SendMessageW(parent, WM_DRAWITEM, kKeyId, reinterpret_cast<LPARAM>(&draw));
      ink = canvas.Ink(kKeyBackground);
    });
    EXPECT_EQ(c.text, ink.right > ink.left);
    Clean();
  }
  MakeKey(true);
  SetMenu(menu, 0);
  ASSERT_TRUE(RunUntilIdle());
  SaveScreenshot("soft_key", button);
  // The caption reads clearly on the bar: its ink is far darker than the bar.
  auto luma = [](COLORREF c) { return (GetRValue(c) * 299 + GetGValue(c) * 587 + GetBValue(c) * 114) / 1000; };
  int darkest = 255;
  HDC dc = GetDC(button);
  for (int y = 0; y < 26; ++y)
    for (int x = 0; x < 80; ++x)
      darkest = std::min(darkest, luma(GetPixel(dc, x, y)));
  ReleaseDC(button, dc);
  EXPECT_GE(luma(kKeyBackground) - darkest, 128);
}

}  // namespace
