// Keyboard navigation in a modal dialog, as a table of keys with the focus and the commands
// that each key leaves.
#include <atomic>

#include "dialog_test_support.h"
#include "testing/ui_thread.h"
#include "user_test_fixture.h"

using namespace dialog_test;

namespace {

constexpr DWORD kRadioStyle = 9;

struct Step {
  UINT key;
  bool shift;
  int focus;    // control id of the focus afterwards
  int command;  // the WM_COMMAND id the dialog got, 0 for none
  int look = 0;       // the one push button styled as the default afterwards (0: not checked)
  int defaultId = 0;  // DM_GETDEFID's id afterwards (0: not checked)
};

// The ids of the push buttons that carry the default style.
std::vector<int> DefaultStyled(HWND dialog)
{
  std::vector<int> ids;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (SendMessageW(child, WM_GETDLGCODE, 0, 0) & DLGC_DEFPUSHBUTTON)
      ids.push_back(GetDlgCtrlID(child));
  return ids;
}

class DialogNavigationTest : public UserTest {
 protected:
  void SetUp() override
  {
    kvtest::SetScreenSize(240, 320);
    RegisterControlClasses();
  }

  // Runs the steps against a modal dialog of the template on a user-interface thread.
  void Run(const std::vector<BYTE>& bytes, const std::vector<Step>& steps,
           const std::function<void(HWND)>& prepare = nullptr)
  {
    std::atomic<HWND> dialogWindow{nullptr};
    Log commands;
    DialogProc proc([&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
      if (message == WM_INITDIALOG) {
        dialogWindow = dialog;
        return TRUE;
      }
      if (message == WM_COMMAND) {
        commands.Add(std::to_string(static_cast<short>(LOWORD(wParam))));
        return TRUE;
      }
      return FALSE;
    });
    kvtest::UiThread ui;
    ui.Post([&] { DialogBoxIndirectParamW(nullptr, reinterpret_cast<LPCDLGTEMPLATE>(bytes.data()), nullptr,
                                          proc.get(), 0); });
    ASSERT_TRUE(WaitFor([&] { return dialogWindow.load() != nullptr; }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    HWND dialog = dialogWindow.load();
    if (prepare)
      ui.Invoke([&] { prepare(dialog); });
    for (size_t i = 0; i < steps.size(); ++i) {
      const Step& step = steps[i];
      SCOPED_TRACE("step " + std::to_string(i + 1));
      if (step.shift)
        kvtest::KeyDown(VK_SHIFT);
      kvtest::PressKey(step.key);
      if (step.shift)
        kvtest::KeyUp(VK_SHIFT);
      int focus = 0;
      ui.Invoke([&] { focus = GetDlgCtrlID(GetFocus()); });
      EXPECT_EQ(focus, step.focus);
      if (step.look) {
        std::vector<int> styled;
        ui.Invoke([&] { styled = DefaultStyled(dialog); });
        EXPECT_EQ(styled, std::vector<int>{step.look}) << "the default look";
      }
      if (step.defaultId) {
        LRESULT answer = 0;
        ui.Invoke([&] { answer = SendMessageW(dialog, DM_GETDEFID, 0, 0); });
        EXPECT_EQ(answer, MAKELRESULT(step.defaultId, DC_HASDEFID));
      }
      std::vector<std::string> expected;
      if (step.command)
        expected.push_back(std::to_string(step.command));
      EXPECT_EQ(commands.Take(), expected);
    }
    ui.Invoke([&] { EndDialog(dialog, 0); });
  }
};

}  // namespace

TEST_F(DialogNavigationTest, TabArrowsEnterAndEscape)
{
  auto bytes = Template({
      Item(kEdit, 10, WS_VISIBLE | WS_TABSTOP | WS_GROUP),
      Item(kEdit, 11, WS_VISIBLE | WS_TABSTOP),
      Item(kRadio, 20, WS_VISIBLE | WS_TABSTOP | WS_GROUP | kRadioStyle),
      Item(kRadio, 21, WS_VISIBLE | kRadioStyle),
      Item(kRadio, 22, WS_VISIBLE | WS_DISABLED | kRadioStyle),
      Item(kRadio, 23, WS_VISIBLE | kRadioStyle),
      Item(kButton, 30, WS_VISIBLE | WS_TABSTOP | WS_GROUP | WS_DISABLED),
      Item(kButton, 31, WS_TABSTOP),  // hidden
      Item(kButton, IDOK, WS_VISIBLE | WS_TABSTOP | WS_GROUP),
      Item(kButton, IDCANCEL, WS_VISIBLE | WS_TABSTOP),
  });
  Run(bytes, {
                 {VK_TAB, false, 11, 0},
                 {VK_TAB, false, 20, 0},
                 {VK_DOWN, false, 21, 0},
                 {VK_DOWN, false, 23, 0},  // over the disabled radio button
                 {VK_DOWN, false, 20, 0},  // round within the group
                 {VK_UP, false, 23, 0},
                 {VK_TAB, false, IDOK, 0},  // past the disabled and the hidden button
                 {VK_TAB, false, IDCANCEL, 0},
                 {VK_TAB, false, 10, 0},    // round to the first tab stop
                 {VK_DOWN, false, 10, 0},   // the edit keeps its arrows
                 {VK_RETURN, false, 10, IDOK},
                 {VK_TAB, true, IDCANCEL, 0},
                 {VK_RETURN, false, IDCANCEL, IDCANCEL},  // a focused push button is pressed
                 {VK_TAB, true, IDOK, 0},
                 {VK_ESCAPE, false, IDOK, IDCANCEL},
             });
}

TEST_F(DialogNavigationTest, EnterGoesToTheDefaultButton)
{
  constexpr DWORD kDefaultButton = 1;
  auto withDefault = Template({Item(kEdit, 10, WS_VISIBLE | WS_TABSTOP), Item(kButton, 40, WS_VISIBLE | kDefaultButton),
                               Item(kButton, IDOK, WS_VISIBLE)});
  Run(withDefault, {{VK_RETURN, false, 10, 40}});
  auto setDefault = Template({Item(kEdit, 10, WS_VISIBLE | WS_TABSTOP), Item(kButton, 50, WS_VISIBLE),
                              Item(kButton, IDOK, WS_VISIBLE)});
  Run(setDefault, {{VK_RETURN, false, 10, 50}}, [](HWND dialog) { SendMessageW(dialog, DM_SETDEFID, 50, 0); });
  auto disabledOk = Template({Item(kEdit, 10, WS_VISIBLE | WS_TABSTOP), Item(kButton, IDOK, WS_VISIBLE | WS_DISABLED)});
  Run(disabledOk, {{VK_RETURN, false, 10, 0}});
}

TEST_F(DialogNavigationTest, DefaultLookFollowsTheFocusBetweenPushButtons)
{
  constexpr DWORD kDefaultButton = 1;
  auto bytes = Template({Item(kEdit, 10, WS_VISIBLE | WS_TABSTOP),
                         Item(kButton, IDOK, WS_VISIBLE | WS_TABSTOP | kDefaultButton),
                         Item(kButton, IDCANCEL, WS_VISIBLE | WS_TABSTOP), Item(kButton, 40, WS_VISIBLE | WS_TABSTOP)});
  Run(bytes, {
                 {VK_TAB, false, IDOK, 0, IDOK, IDOK},
                 {VK_TAB, false, IDCANCEL, 0, IDCANCEL, IDOK},  // the focused button looks the default
                 {VK_TAB, false, 40, 0, 40, IDOK},
                 {VK_TAB, false, 10, 0, IDOK, IDOK},  // away from the buttons: back to the default
                 {VK_TAB, true, 40, 0, 40, IDOK},
                 {VK_RETURN, false, 40, 40, 40, IDOK},
             });
  // DM_SETDEFID moves the default while an edit has the focus; the look returns to it.
  Run(bytes,
      {
          {VK_TAB, false, IDOK, 0, IDOK, IDCANCEL},
          {VK_TAB, false, IDCANCEL, 0, IDCANCEL, IDCANCEL},
          {VK_TAB, false, 40, 0, 40, IDCANCEL},
          {VK_TAB, false, 10, 0, IDCANCEL, IDCANCEL},
          {VK_RETURN, false, 10, IDCANCEL, IDCANCEL, IDCANCEL},
      },
      [](HWND dialog) {
        SendMessageW(dialog, DM_SETDEFID, IDCANCEL, 0);
        EXPECT_EQ(DefaultStyled(dialog), std::vector<int>{IDCANCEL});
      });
}
