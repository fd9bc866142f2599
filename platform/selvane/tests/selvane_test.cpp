// The secure-input library: a guarded edit keeps the typed text out of its window text, hands it
// back only through GetInputForMe, and wipes it on clear, free, empty text and destruction.
#include <gtest/gtest.h>

#include <array>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "guard_memory.h"
#include "selvane/selvane.h"
#include "testing/device_root.h"
#include "testing/ui_harness.h"
#include "windows.h"

namespace {

using namespace kvtest;

class SecureInput : public ::testing::Test {
 protected:
  void SetUp() override
  {
    ASSERT_TRUE(SelvaneInitialize(0));
    dialog = CreateWindowExW(0, WC_STATICW, u"dialog", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 0, 0, 240, 320, nullptr,
                             nullptr, nullptr, nullptr);
    edit = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | ES_PASSWORD, 10, 10, 200, 24, dialog,
                           reinterpret_cast<HMENU>(1011), nullptr, nullptr);
  }
  void TearDown() override
  {
    DestroyThreadWindows();
    SelvaneUninitialize();
    if (commands)
      FreeWindowProc(commands);
  }

  // Hands the code of every WM_COMMAND the dialog gets (the edit's notifications) to `heard`.
  void OnCommand(std::function<void(WORD code)> heard)
  {
    auto below = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(dialog, GWLP_WNDPROC));
    commands = MakeWindowProc([below, heard](HWND h, UINT m, WPARAM w, LPARAM l) {
      if (m == WM_COMMAND)
        heard(HIWORD(w));
      return CallWindowProcW(below, h, m, w, l);
    });
    SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(commands));
  }

  // What GetInputForMe gives into a zeroed buffer of 260 characters.
  std::u16string Input()
  {
    WCHAR buffer[260] = {};
    GetInputForMe(edit, buffer, sizeof buffer);
    return buffer;
  }
  std::u16string WindowText()
  {
    WCHAR buffer[512] = {};
    SendMessageW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buffer));
    return buffer;
  }
  void Guard()
  {
    ASSERT_TRUE(HelpMe(edit));
    SetFocus(edit);
  }

  device::testing::ScopedDeviceRoot root;
  HWND dialog = nullptr;
  HWND edit = nullptr;
  WNDPROC commands = nullptr;
};

TEST_F(SecureInput, TypedTextIsHeldApartFromTheWindowText)
{
  Guard();
  ASSERT_TRUE(TypeText(u"Pay$123"));
  EXPECT_EQ(u"Pay$123", Input());
  EXPECT_EQ(u"*******", WindowText());
  WCHAR text[64] = {};
  GetWindowTextW(edit, text, 64);
  EXPECT_EQ(u"*******", std::u16string(text));
  EXPECT_EQ(7, GetWindowTextLengthW(edit));
  EXPECT_EQ(std::string::npos, DumpWindowTree().find("Pay$123"));
}

TEST_F(SecureInput, EditingKeysAndPostedCharactersReachTheGuardedText)
{
  Guard();
  struct Step {
    std::function<void()> act;
    std::u16string input;
  };
  const Step steps[] = {
      {[] { TypeText(u"abcd"); }, u"abcd"},
      {[] { PressKey(VK_BACK); }, u"abc"},
      {[] { PressKey(VK_LEFT); PressKey(VK_BACK); }, u"ac"},
      {[] { PressKey(VK_HOME); PressKey(VK_DELETE); }, u"c"},
      {[this] { PostMessageW(edit, WM_CHAR, u'9', 1); RunUntilIdle(); }, u"9c"},
      {[this] { SendMessageW(edit, EM_SETSEL, 0, -1); TypeText(u"x"); }, u"x"},
      {[this] { SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"yz")); }, u"xyz"},
      {[] { TypeImeText(u"密码"); }, u"xyz密码"},
  };
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(Narrow(step.input), Narrow(Input()));
    EXPECT_EQ(std::u16string(step.input.size(), u'*'), WindowText());
  }
}

TEST_F(SecureInput, TheEditsOwnRulesStillApply)
{
  SendMessageW(edit, EM_LIMITTEXT, 6, 0);
  Guard();
  ASSERT_TRUE(TypeText(u"12345678"));
  EXPECT_EQ(u"123456", Input());
  SendMessageW(edit, EM_SETREADONLY, TRUE, 0);
  ASSERT_TRUE(PressKey(VK_BACK));
  EXPECT_EQ(u"123456", Input());
}

TEST_F(SecureInput, HandsOutAtMost259CharactersAlwaysTerminated)
{
  Guard();
  ASSERT_TRUE(TypeText(std::u16string(300, u'k')));
  EXPECT_EQ(std::u16string(259, u'k'), Input());
  EXPECT_EQ(259, GetWindowTextLengthW(edit));  // the edit takes no more than can be read back
  WCHAR small[4];
  std::fill(std::begin(small), std::end(small), u'#');
  EXPECT_TRUE(GetInputForMe(edit, small, sizeof small));
  EXPECT_EQ(u"kkk", std::u16string(small));
  WCHAR odd[3] = {u'#', u'#', u'#'};
  EXPECT_TRUE(GetInputForMe(edit, odd, 5));  // two whole characters fit
  EXPECT_EQ(u"k", std::u16string(odd));
}

TEST_F(SecureInput, ClearFreeEmptyTextAndDestructionWipeTheText)
{
  struct Case {
    const char* how;
    std::function<void(HWND)> wipe;
  };
  const Case cases[] = {
      {"ClearInputForMe", [](HWND e) { EXPECT_TRUE(ClearInputForMe(e)); }},
      {"WM_SETTEXT(\"\")", [](HWND e) { SetWindowTextW(e, u""); }},
      {"FreeMe", [](HWND e) { EXPECT_TRUE(FreeMe(e)); }},
  };
  for (const Case& c : cases) {
    Guard();
    ASSERT_TRUE(TypeText(u"secret"));
    c.wipe(edit);
    EXPECT_EQ(u"", Input()) << c.how;
    EXPECT_EQ(u"", WindowText()) << c.how;
    FreeMe(edit);
  }
  // A freed edit is an ordinary edit again.
  ASSERT_TRUE(TypeText(u"plain"));
  EXPECT_EQ(u"plain", WindowText());
  WCHAR buffer[8] = {u'#'};
  EXPECT_FALSE(GetInputForMe(edit, buffer, sizeof buffer));
  EXPECT_EQ(u"", std::u16string(buffer));
  // An edit destroyed under guard takes its guard with it.
  Guard();
  ASSERT_TRUE(TypeText(u"gone"));
  DestroyWindow(edit);
  EXPECT_FALSE(GetInputForMe(edit, buffer, sizeof buffer));
  EXPECT_FALSE(FreeMe(edit));
}

// Not only the text handed out: the guard's memory itself holds nothing but zeros once wiped,
// and when it is freed.
TEST_F(SecureInput, TheGuardedMemoryIsZeroOnceWiped)
{
  auto zeros = [](const std::u16string& memory) {
    return !memory.empty() && memory.find_first_not_of(u'\0') == std::u16string::npos;
  };
  struct Case {
    const char* how;
    std::function<void(HWND)> wipe;
  };
  const Case whileGuarded[] = {
      {"ClearInputForMe", [](HWND e) { EXPECT_TRUE(ClearInputForMe(e)); }},
      {"WM_SETTEXT(\"\")", [](HWND e) { SetWindowTextW(e, u""); }},
  };
  for (const Case& c : whileGuarded) {
    Guard();
    ASSERT_TRUE(TypeText(u"secret"));
    ASSERT_NE(std::u16string::npos, selvane_detail::GuardedMemoryOf(edit).find(u"secret")) << "the view sees it";
    c.wipe(edit);
    EXPECT_TRUE(zeros(selvane_detail::GuardedMemoryOf(edit))) << c.how;
    FreeMe(edit);
  }

  std::vector<std::u16string> freed;
  selvane_detail::WatchFreedGuardMemory([&](const std::u16string& memory) { freed.push_back(memory); });
  const Case ending[] = {
      {"FreeMe", [](HWND e) { EXPECT_TRUE(FreeMe(e)); }},
      {"destruction", [](HWND e) { DestroyWindow(e); }},
  };
  for (const Case& c : ending) {
    Guard();
    ASSERT_TRUE(TypeText(u"secret"));
    c.wipe(edit);
    ASSERT_EQ(1u, freed.size()) << c.how;
    EXPECT_TRUE(zeros(freed[0])) << c.how;
    freed.clear();
  }
  selvane_detail::WatchFreedGuardMemory(nullptr);
}

TEST_F(SecureInput, TextSetByTheProgramIsGuardedToo)
{
  SetWindowTextW(edit, u"before");
  Guard();
  EXPECT_EQ(u"before", Input());
  EXPECT_EQ(u"******", WindowText());
  SetWindowTextW(edit, u"remembered");
  EXPECT_EQ(u"remembered", Input());
  EXPECT_EQ(u"**********", WindowText());
}

TEST_F(SecureInput, GuardsOnlyEditsAndOnlyWhenInitialised)
{
  EXPECT_FALSE(HelpMe(dialog));
  EXPECT_FALSE(HelpMe(nullptr));
  EXPECT_TRUE(HelpMe(edit));
  EXPECT_TRUE(HelpMe(edit));  // once is enough
  SelvaneUninitialize();
  EXPECT_FALSE(GetInputForMe(edit, nullptr, 0));
  WCHAR buffer[4] = {};
  EXPECT_FALSE(GetInputForMe(edit, buffer, sizeof buffer));
  EXPECT_FALSE(HelpMe(edit));
  ASSERT_TRUE(SelvaneInitialize(0));
}

TEST_F(SecureInput, FreeingUnderALaterSubclassLeavesAWorkingEdit)
{
  Guard();
  WNDPROC below = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
  WNDPROC later = MakeWindowProc([below](HWND h, UINT m, WPARAM w, LPARAM l) { return CallWindowProcW(below, h, m, w, l); });
  SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(later));
  ASSERT_TRUE(TypeText(u"ab"));
  EXPECT_TRUE(FreeMe(edit));
  EXPECT_EQ(u"", Input());
  ASSERT_TRUE(TypeText(u"cd"));
  EXPECT_EQ(u"cd", WindowText());
  DestroyWindow(edit);
  FreeWindowProc(later);
}

// The library's lock is never held while the edit answers: here FreeMe runs on another thread,
// and the edit's parent, on this thread, asks the library for the text when the edit empties.
TEST_F(SecureInput, FreeingFromAnotherThreadLetsTheEditsParentCallTheLibrary)
{
  Guard();
  ASSERT_TRUE(TypeText(u"1234"));
  std::u16string heard = u"(nothing)";
  OnCommand([&](WORD code) {
    if (code == EN_CHANGE)
      heard = Input();
  });
  std::atomic<bool> freed{false};
  DWORD self = GetCurrentThreadId();
  std::thread other([&] {
    freed = FreeMe(edit) != FALSE;
    PostThreadMessageW(self, WM_APP, 0, 0);
  });
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0 && msg.message != WM_APP)
    DispatchMessageW(&msg);
  other.join();
  EXPECT_TRUE(freed);
  EXPECT_EQ(u"", heard);
  EXPECT_EQ(u"", WindowText());
  ASSERT_TRUE(TypeText(u"56"));  // the guard, left in the chain, passes everything on
  EXPECT_EQ(u"56", WindowText());
}

TEST_F(SecureInput, TheEditMayBeDestroyedByItsOwnNotification)
{
  Guard();
  OnCommand([this](WORD code) {
    if (code == EN_CHANGE)
      DestroyWindow(edit);
  });
  ASSERT_TRUE(TypeText(u"7"));
  EXPECT_FALSE(IsWindow(edit));
  EXPECT_FALSE(GetInputForMe(edit, std::array<WCHAR, 8>{}.data(), 16));
}

}  // namespace
