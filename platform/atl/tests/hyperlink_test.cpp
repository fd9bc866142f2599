// The hyperlink over a static: in command-button mode a tap on it or the return key sends its
// parent the command with its id; otherwise, and for every other key, it is the static it
// covers. Its text is drawn in the link colour and underlined.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "atl/atl.h"
#include "atl/hyperlink.h"
#include "controls/button.h"
#include "internal/user/dialog_template_writer.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"

namespace {

constexpr int kLinkId = 1153;

// A dialog that records the commands it receives.
class RecordingDlg : public CDialogImpl<RecordingDlg> {
 public:
  enum { IDD = 100 };
  BEGIN_MSG_MAP(RecordingDlg)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
  END_MSG_MAP()

  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
  {
    commands.push_back({LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam)});
    return 0;
  }

  struct Command {
    int id;
    int code;
    HWND from;
    bool operator==(const Command&) const = default;
  };
  std::vector<Command> commands;
};

class HyperLinkTest : public ::testing::Test {
 protected:
  void SetUp() override
  {
    user_dialog::DialogSpec spec;
    spec.style = WS_POPUP | WS_VISIBLE | DS_SETFONT;
    spec.cx = 120;
    spec.cy = 100;
    spec.pointSize = 9;
    spec.faceName = u"System";
    bytes = user_dialog::BuildDialogTemplate(spec);
    ASSERT_TRUE(dialog.CreateIndirect(reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), nullptr));
    staticWindow = CreateWindowExW(0, u"STATIC", u"从服务器更新", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 150, 24,
                                   dialog, reinterpret_cast<HMENU>(static_cast<intptr_t>(kLinkId)), nullptr, nullptr);
    ASSERT_TRUE(staticWindow);
    button = CreateWindowExW(0, u"BUTTON", u"OK", WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 10, 50, 60, 24,
                             dialog, reinterpret_cast<HMENU>(static_cast<intptr_t>(IDOK)), nullptr, nullptr);
    ASSERT_TRUE(button);
    ASSERT_TRUE(link.SubclassWindow(staticWindow));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  void TearDown() override { kvtest::DestroyThreadWindows(); }

  // The return key as the dialog's navigation takes it while the link has the focus.
  void PressReturnOnLink()
  {
    SetFocus(staticWindow);
    MSG msg{staticWindow, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_TRUE(IsDialogMessageW(dialog, &msg));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }

  device::testing::ScopedDeviceRoot root;
  std::vector<BYTE> bytes;
  RecordingDlg dialog;
  CHyperLink link;
  HWND staticWindow = nullptr;
  HWND button = nullptr;
};

TEST_F(HyperLinkTest, ATapOrTheReturnKeySendsTheCommandOnlyInCommandButtonMode)
{
  using Command = RecordingDlg::Command;
  enum class Input { kTap, kReturn, kPenLiftedOutside };
  struct Case {
    const char* name;
    DWORD mode;
    Input input;
    std::vector<Command> expected;
  };
  const Case cases[] = {
      {"tap", HLINK_COMMANDBUTTON, Input::kTap, {{kLinkId, 0, nullptr}}},
      {"return key", HLINK_COMMANDBUTTON, Input::kReturn, {{kLinkId, 0, nullptr}}},
      {"pen lifted off the link", HLINK_COMMANDBUTTON, Input::kPenLiftedOutside, {}},
      // Without the mode it is the static: taps go through, return is the dialog's default.
      {"tap, plain", 0, Input::kTap, {}},
      {"return key, plain", 0, Input::kReturn, {{IDOK, 0, nullptr}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link.SetHyperLinkExtendedStyle(c.mode);
    dialog.commands.clear();
    RECT rect{};
    GetWindowRect(staticWindow, &rect);
    switch (c.input) {
    case Input::kTap:
      ASSERT_TRUE(kvtest::TapWindow(staticWindow));
      break;
    case Input::kReturn:
      PressReturnOnLink();
      break;
    case Input::kPenLiftedOutside:
      ASSERT_TRUE(kvtest::Drag(POINT{rect.left + 5, rect.top + 5}, POINT{rect.left + 5, rect.bottom + 30}));
      break;
    }
    std::vector<Command> expected = c.expected;
    for (Command& command : expected)
      command.from = command.id == kLinkId ? staticWindow : button;
    EXPECT_EQ(expected, dialog.commands);
  }
}

TEST_F(HyperLinkTest, OtherKeysAndTheTextAreTheStatics)
{
  link.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
  SetFocus(staticWindow);
  // The arrow keys move on as from a static.
  MSG down{staticWindow, WM_KEYDOWN, VK_DOWN, 0, 0, {0, 0}};
  EXPECT_EQ(DLGC_STATIC, SendMessageW(staticWindow, WM_GETDLGCODE, VK_DOWN, reinterpret_cast<LPARAM>(&down)));
  MSG tab{staticWindow, WM_KEYDOWN, VK_TAB, 0, 0, {0, 0}};
  EXPECT_TRUE(IsDialogMessageW(dialog, &tab));
  EXPECT_EQ(button, GetFocus());
  EXPECT_TRUE(dialog.commands.empty());

  EXPECT_TRUE(SetWindowTextW(staticWindow, u"刷新"));
  WCHAR text[16] = {};
  GetWindowTextW(staticWindow, text, 16);
  EXPECT_EQ(std::u16string(u"刷新"), text);
}

TEST_F(HyperLinkTest, TheTextIsDrawnInTheLinkColourAndUnderlined)
{
  ASSERT_TRUE(kvtest::RunUntilIdle());
  RECT client{};
  GetClientRect(staticWindow, &client);
  HDC dc = GetDC(staticWindow);
  // Per row, how many pixels are blue; the underline is a row of blue as wide as the text.
  std::vector<int> blue(client.bottom, 0);
  int left = client.right, right = -1;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (GetPixel(dc, x, y) == CHyperLink::kLinkColour) {
        ++blue[y];
        left = std::min(left, x);
        right = std::max(right, x);
      }
  ReleaseDC(staticWindow, dc);
  ASSERT_GT(right, left) << "the text is drawn in the link colour";
  int widest = *std::max_element(blue.begin(), blue.end());
  EXPECT_EQ(right - left + 1, widest) << "one row runs under the whole text";
}

}  // namespace
