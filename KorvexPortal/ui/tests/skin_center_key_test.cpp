// The centre key: the clock while the input panel is hidden, and while it is shown a menu of the
// device's input methods that switches the method or closes the panel through the dialog.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "skin_center_key.h"
#include "testing/canvas.h"
#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

using namespace kvtest;

namespace {

constexpr int kKeyId = 1060;
// The skins' soft-key bar is light: the keys draw their text in the DC's colour, black.
constexpr COLORREF kKeyBackground = RGB(0xE4, 0xE4, 0xE4);

// The menu as the dialog saw it open: each input method's item checked or not, and whether
// "关闭" can be chosen.
struct MenuState {
  std::vector<bool> checked;
  bool closeEnabled = false;
  bool operator==(const MenuState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const MenuState& state)
{
  out << "{";
  for (bool c : state.checked)
    out << (c ? "x" : "-");
  return out << (state.closeEnabled ? " 关闭}" : " (关闭)}");
}

struct InputMethod {
  std::u16string name;
  CLSID clsid;
};

std::vector<InputMethod>* g_methods = nullptr;
int NoteMethod(IMENUMINFO* info)
{
  g_methods->push_back({info->szName, info->clsid});
  return 1;
}

std::vector<InputMethod> DeviceInputMethods()
{
  std::vector<InputMethod> methods;
  g_methods = &methods;
  SipEnumIM(NoteMethod);
  g_methods = nullptr;
  return methods;
}

class CenterKey : public ::testing::Test {
 protected:
  void SetUp() override
  {
    methods = DeviceInputMethods();
    ASSERT_GE(methods.size(), 2u) << "the device has input methods to switch between";
  }
  void TearDown() override
  {
    ui.Invoke([&] {
      DestroyThreadWindows();
      key.reset();
    });
  }

  void MakeKey()
  {
    ui.Invoke([&] {
      auto handle = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
        if (message == WM_INITMENUPOPUP) {
          opened.push_back(StateOf(reinterpret_cast<HMENU>(wParam)));
          return 0;
        }
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
                                           .rect = {0, 0, 240, 320}, .handler = handle});
      button = CreateWindowExW(0, u"BUTTON", u"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 80, 294, 80, 26, parent,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(kKeyId)), nullptr, nullptr);
      key = std::make_unique<CSkinCenterKey>();
      key->m_background.SetSource(kKeyBackground, true);
      ASSERT_TRUE(key->SubclassWindow(button));
    });
    ASSERT_TRUE(RunUntilIdle());
  }
  static UINT ItemState(HMENU menu, UINT id)
  {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_STATE;
    EXPECT_TRUE(GetMenuItemInfoW(menu, id, FALSE, &info)) << id;
    return info.fState;
  }
  MenuState StateOf(HMENU menu) const
  {
    MenuState state;
    for (size_t i = 0; i < methods.size(); ++i)
      state.checked.push_back((ItemState(menu, static_cast<UINT>(i + 1)) & MF_CHECKED) != 0);
    state.closeEnabled = !(ItemState(menu, static_cast<UINT>(methods.size() + 1)) & (MF_GRAYED | MF_DISABLED));
    return state;
  }
  void Update(bool show, bool rebuild)
  {
    ui.Invoke([&] { key->UpdateInputMethodMenu(show, rebuild); });
    ASSERT_TRUE(RunUntilIdle());
  }
  // Taps the key; true when its menu opened.
  bool TapForMenu()
  {
    size_t before = opened.size();
    // Taps alternate between the key's ends, so two in a row never make a double tap.
    EXPECT_TRUE(TapWindow(button, POINT{(taps++ % 2) ? 70 : 10, 13}));
    return opened.size() > before && FindWindowW(u"MNU", u"") != nullptr;
  }
  // Chooses by keys: down `downs` times from nothing, then Enter.
  void Choose(int downs)
  {
    for (int i = 0; i < downs; ++i)
      ASSERT_TRUE(PressKey(VK_DOWN));
    ASSERT_TRUE(PressKey(VK_RETURN));
    ASSERT_TRUE(RunUntilIdle());
  }
  // The WM_KV_SETSIP values the dialog received, in order.
  std::vector<WPARAM> SipRequests() const
  {
    std::vector<WPARAM> values;
    for (const RecordedMessage& m : log.Messages())
      if (m.window == "dialog" && m.message == WM_KV_SETSIP) {
        EXPECT_TRUE(m.how & posted);
        values.push_back(m.wParam);
      }
    return values;
  }
  CLSID CurrentInputMethod() const
  {
    CLSID current{};
    SipGetCurrentIM(&current);
    return current;
  }
  std::u16string WindowText() const
  {
    WCHAR text[32] = {};
    GetWindowTextW(button, text, 32);
    return text;
  }
  // The width of what the key draws over its background.
  int InkWidth()
  {
    int width = 0;
    ui.Invoke([&] {
      Canvas canvas(80, 26, kKeyBackground);
      DRAWITEMSTRUCT draw{ODT_BUTTON, kKeyId, 0, ODA_DRAWENTIRE, 0, button, canvas.dc, RECT{0, 0, 80, 26}, 0};
      SendMessageW(parent, WM_DRAWITEM, kKeyId, reinterpret_cast<LPARAM>(&draw));
      RECT ink = canvas.Ink(kKeyBackground);
      width = std::max<int>(0, ink.right - ink.left);
    });
    return width;
  }
  int TextWidth(const std::u16string& text)
  {
    Canvas canvas(80, 26, kKeyBackground);
    SIZE size{};
    GetTextExtentPoint32W(canvas.dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
  }

  device::testing::ScopedDeviceRoot root;
  MessageLog log;
  UiThread ui;
  HWND parent = nullptr;
  HWND button = nullptr;
  std::unique_ptr<CSkinCenterKey> key;
  std::vector<InputMethod> methods;
  std::vector<MenuState> opened;
  int taps = 0;
};

TEST_F(CenterKey, TheClockShowsHoursWithoutAndMinutesWithALeadingZero)
{
  struct Case {
    WORD hour, minute;
    const char16_t* text;
  };
  for (const Case& c : {Case{9, 5, u"9:05"}, Case{13, 0, u"13:00"}, Case{0, 59, u"0:59"}}) {
    UseVirtualTime(SYSTEMTIME{2026, 1, 1, 5, c.hour, c.minute, 0, 0});
    EXPECT_EQ(std::u16string(c.text), std::u16string(CSkinCenterKey::ClockText().GetString()));
  }
}

TEST_F(CenterKey, TheClockRunsEveryThirtySecondsUntilTheInputPanelIsShown)
{
  UseVirtualTime(SYSTEMTIME{2026, 1, 1, 5, 9, 5, 0, 0});
  MakeKey();
  Update(false, false);
  EXPECT_EQ(u"9:05", WindowText());
  ASSERT_TRUE(AdvanceTime(60000));
  EXPECT_EQ(u"9:06", WindowText());
  EXPECT_FALSE(TapForMenu()) << "a tap in clock mode opens nothing";

  ASSERT_TRUE(SipShowIM(SIPF_ON));
  Update(true, true);
  ASSERT_TRUE(AdvanceTime(60000));
  EXPECT_EQ(u"9:06", WindowText()) << "the clock stopped";
  Update(false, true);
  EXPECT_EQ(u"9:07", WindowText()) << "back in clock mode the time is set at once";
  ASSERT_TRUE(AdvanceTime(60000));
  EXPECT_EQ(u"9:08", WindowText());
}

TEST_F(CenterKey, ATitleTakesTheClocksPlaceAndTheInputMethodsWhileThePanelIsUp)
{
  UseVirtualTime(SYSTEMTIME{2026, 1, 1, 5, 9, 5, 0, 0});
  MakeKey();
  ui.Invoke([&] { key->SetTitle(u"2/5"); });
  EXPECT_EQ(u"2/5", WindowText());
  ASSERT_TRUE(AdvanceTime(60000));
  EXPECT_EQ(u"2/5", WindowText()) << "the clock does not come back by itself";

  ASSERT_TRUE(SipShowIM(SIPF_ON));
  Update(true, true);
  EXPECT_GT(InkWidth(), TextWidth(methods[0].name.substr(1))) << "the input method's name while the panel is up";
  Update(false, true);
  EXPECT_EQ(u"2/5", WindowText()) << "and the title after";
  EXPECT_LE(InkWidth(), TextWidth(u"2/5"));

  ui.Invoke([&] { key->SetTitle(u""); });
  EXPECT_EQ(u"9:06", WindowText()) << "an empty title brings the clock back at once";
  ASSERT_TRUE(AdvanceTime(60000));
  EXPECT_EQ(u"9:07", WindowText());
}

TEST_F(CenterKey, ChoosingAnInputMethodSwitchesItAndAsksForThePanel)
{
  MakeKey();
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(IsEqualGUID(methods[0].clsid, CurrentInputMethod()));
  Update(true, true);
  SaveScreenshot("center_key_input_method", button);
  EXPECT_GT(InkWidth(), TextWidth(methods[0].name.substr(1))) << "the whole name of the input method is shown";

  ASSERT_TRUE(TapForMenu());
  Choose(2);  // the second input method
  EXPECT_TRUE(IsEqualGUID(methods[1].clsid, CurrentInputMethod()));

  ASSERT_TRUE(TapForMenu());
  SaveScreenshot("center_key_menu");
  Choose(2);  // the same one again
  EXPECT_TRUE(IsEqualGUID(methods[1].clsid, CurrentInputMethod()));

  ASSERT_TRUE(TapForMenu());
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(RunUntilIdle());

  MenuState first{std::vector<bool>(methods.size(), false), true};
  first.checked[0] = true;
  MenuState second{std::vector<bool>(methods.size(), false), true};
  second.checked[1] = true;
  EXPECT_EQ((std::vector<MenuState>{first, second, second}), opened);
  EXPECT_EQ((std::vector<WPARAM>{1, 1}), SipRequests()) << "choosing the current method still asks for the panel";
}

TEST_F(CenterKey, CloseHidesThePanelAndAPanelThatIsOffChecksNothing)
{
  MakeKey();
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  Update(true, true);
  ASSERT_TRUE(TapForMenu());
  Choose(static_cast<int>(methods.size()) + 1);  // past the separator to "关闭"
  EXPECT_EQ((std::vector<WPARAM>{0}), SipRequests());

  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  Update(true, false);  // re-checked without a rebuild: nothing is current
  ASSERT_TRUE(SipShowIM(SIPF_ON));
  ASSERT_TRUE(TapForMenu());
  ASSERT_TRUE(PressKey(VK_ESCAPE));
  ASSERT_TRUE(SipShowIM(SIPF_OFF));
  ASSERT_TRUE(TapForMenu());
  Choose(1);  // the first method can still be chosen
  EXPECT_TRUE(IsEqualGUID(methods[0].clsid, CurrentInputMethod()));

  MenuState none{std::vector<bool>(methods.size(), false), false};
  MenuState noneOpen{std::vector<bool>(methods.size(), false), true};
  ASSERT_EQ(3u, opened.size());
  EXPECT_EQ(noneOpen, opened[1]) << "re-checked: nothing current, 关闭 enabled";
  EXPECT_EQ(none, opened[2]) << "with the panel off nothing is checked and 关闭 is grey";
  EXPECT_EQ((std::vector<WPARAM>{0, 1}), SipRequests());
}

}  // namespace
