// The dialog manager: creation from templates, dialog units, the procedure's return rules,
// focus on activation, relayout from another template, modal loops.
#include <atomic>

#include "dialog_test_support.h"
#include "testing/ui_thread.h"
#include "user_test_fixture.h"

using namespace dialog_test;

namespace {

LPCDLGTEMPLATE AsTemplate(const std::vector<BYTE>& bytes)
{
  return reinterpret_cast<LPCDLGTEMPLATE>(bytes.data());
}

RECT ChildRect(HWND child)
{
  RECT rect;
  GetWindowRect(child, &rect);
  POINT corner{rect.left, rect.top};
  ScreenToClient(GetParent(child), &corner);
  return RECT{corner.x, corner.y, corner.x + rect.right - rect.left, corner.y + rect.bottom - rect.top};
}

class DialogTest : public UserTest {
 protected:
  void SetUp() override
  {
    kvtest::SetScreenSize(240, 320);
    RegisterControlClasses();
  }
};

LRESULT CALLBACK RecordingControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
Log* g_log = nullptr;

LRESULT CALLBACK RecordingControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == WM_CREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTW*>(lParam);
    std::string entry = "create " + std::to_string(reinterpret_cast<ULONG_PTR>(cs->hMenu));
    if (IS_INTRESOURCE(cs->lpszName))
      entry += " title#" + std::to_string(reinterpret_cast<ULONG_PTR>(cs->lpszName));
    if (auto* data = static_cast<const BYTE*>(cs->lpCreateParams))
      entry += " data " + std::to_string(data[0] | data[1] << 8) + ":" + std::to_string(data[2]);
    g_log->Add(entry);
  }
  if (message == WM_SETFONT)
    g_log->Add("setfont " + std::to_string(GetDlgCtrlID(hwnd)));
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace

TEST_F(DialogTest, ItemsAreCreatedInTemplateOrderWithTheFontBeforeInitDialog)
{
  Log log;
  g_log = &log;
  WNDCLASSW wc{};
  wc.lpfnWndProc = RecordingControlProc;
  wc.lpszClassName = u"Recorder";
  RegisterClassW(&wc);
  DialogItemSpec first = Item(u"Recorder", 1, WS_VISIBLE);
  DialogItemSpec second = Item(u"Recorder", 2, WS_VISIBLE | WS_TABSTOP);
  second.title = TemplateName::Ordinal(300);
  second.creationData = {7};
  auto bytes = Template({first, second});
  DialogProc proc([&](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> INT_PTR {
    if (message == WM_SETFONT)
      log.Add("dialog setfont");
    if (message == WM_INITDIALOG) {
      log.Add("initdialog focus " + std::to_string(GetDlgCtrlID(reinterpret_cast<HWND>(wParam))) + " param " +
              std::to_string(lParam));
      return TRUE;
    }
    return FALSE;
  });
  HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(bytes), nullptr, proc.get(), 42);
  ASSERT_TRUE(dialog);
  EXPECT_EQ(log.Take(), (std::vector<std::string>{"dialog setfont", "create 1", "setfont 1",
                                                  "create 2 title#300 data 1:7", "setfont 2",
                                                  "initdialog focus 2 param 42"}));
  EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 2));
  EXPECT_FALSE(IsWindowVisible(dialog));  // the template has no WS_VISIBLE
  DestroyWindow(dialog);
  g_log = nullptr;
}

TEST_F(DialogTest, MissingItemClassFailsUnlessNoFailCreate)
{
  auto strict = Template({Item(kPlain, 1, 0), Item(u"NoSuchClass", 2, 0)});
  EXPECT_EQ(CreateDialogIndirectParamW(nullptr, AsTemplate(strict), nullptr, nullptr, 0), nullptr);
  auto lenient = Template({Item(kPlain, 1, 0), Item(u"NoSuchClass", 2, 0)}, WS_POPUP | DS_SETFONT | DS_NOFAILCREATE);
  HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(lenient), nullptr, nullptr, 0);
  ASSERT_TRUE(dialog);
  EXPECT_TRUE(GetDlgItem(dialog, 1));
  EXPECT_FALSE(GetDlgItem(dialog, 2));
}

TEST_F(DialogTest, DialogUnitsFollowTheScreenDensity)
{
  struct Case {
    int width, height;
    RECT item;       // the item (10, 20, 40, 12) in pixels
    SIZE client;     // the dialog's 160 x 100 units
  } cases[] = {
      {240, 320, {15, 30, 75, 48}, {240, 150}},
      {320, 240, {15, 30, 75, 48}, {240, 150}},
      {480, 640, {30, 60, 150, 96}, {480, 300}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    kvtest::SetScreenSize(c.width, c.height);
    auto bytes = Template({Item(kPlain, 5, 0, 10, 20, 40, 12)}, WS_POPUP | DS_SETFONT, 160, 100);
    HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(bytes), nullptr, nullptr, 0);
    ASSERT_TRUE(dialog);
    RECT item = ChildRect(GetDlgItem(dialog, 5));
    EXPECT_EQ(item.left, c.item.left);
    EXPECT_EQ(item.top, c.item.top);
    EXPECT_EQ(item.right, c.item.right);
    EXPECT_EQ(item.bottom, c.item.bottom);
    RECT client;
    GetClientRect(dialog, &client);
    EXPECT_EQ(client.right, c.client.cx);
    EXPECT_EQ(client.bottom, c.client.cy);
    RECT units{10, 20, 50, 32};
    MapDialogRect(dialog, &units);
    EXPECT_EQ(units.right, c.item.right);
    DestroyWindow(dialog);
  }
}

TEST_F(DialogTest, ProcedureResultsFollowTheReturnRules)
{
  // What the procedure returns and puts in DWL_MSGRESULT, and what the sender gets.
  struct Case {
    const char* name;
    UINT message;
    INT_PTR returned;
    LONG_PTR msgResult;
    LRESULT expected;
  } cases[] = {
      {"handled command takes DWL_MSGRESULT", WM_COMMAND, TRUE, 5, 5},
      {"handled notify takes DWL_MSGRESULT", WM_NOTIFY, TRUE, -3, -3},
      {"colour brush returned directly", WM_CTLCOLORSTATIC, 0x1234, 99, 0x1234},
      {"edit colour returned directly", WM_CTLCOLOREDIT, 0x4321, 99, 0x4321},
      {"compare returned directly", WM_COMPAREITEM, -1, 99, -1},
      {"not handled goes to the default", DM_GETDEFID, FALSE, 99, 0},
  };
  const Case* current = nullptr;
  DialogProc proc([&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (!current || message != current->message)
      return FALSE;
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, current->msgResult);
    return current->returned;
  });
  auto bytes = Template({Item(kPlain, 1, 0)});
  HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(bytes), nullptr, proc.get(), 0);
  ASSERT_TRUE(dialog);
  for (const Case& c : cases) {
    current = &c;
    EXPECT_EQ(SendMessageW(dialog, c.message, 0, 0), c.expected) << c.name;
  }
  current = nullptr;
  SendMessageW(dialog, DM_SETDEFID, 7, 0);
  EXPECT_EQ(SendMessageW(dialog, DM_GETDEFID, 0, 0), MAKELRESULT(7, DC_HASDEFID));
}

TEST_F(DialogTest, FocusReturnsToTheLastControlWhenReactivated)
{
  auto bytes = Template({Item(kEdit, 1, WS_VISIBLE | WS_TABSTOP), Item(kEdit, 2, WS_VISIBLE | WS_TABSTOP)},
                        WS_POPUP | WS_VISIBLE | DS_SETFONT);
  HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(bytes), nullptr, nullptr, 0);
  ASSERT_TRUE(dialog);
  HWND second = GetDlgItem(dialog, 2);
  SetFocus(second);
  HWND other = CreateWindowExW(0, kPlain, u"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                               nullptr);
  SetActiveWindow(other);
  EXPECT_EQ(GetFocus(), other);
  SetActiveWindow(dialog);
  EXPECT_EQ(GetFocus(), second);
  DestroyWindow(other);
}

TEST_F(DialogTest, RelayoutMovesChildrenToTheOtherTemplatesPlaces)
{
  auto portrait = Template({Item(kPlain, 1, WS_VISIBLE, 0, 0, 20, 8), Item(kPlain, 0xFFFF, WS_VISIBLE, 0, 10, 20, 8),
                            Item(kPlain, 0xFFFF, WS_VISIBLE, 0, 20, 20, 8)});
  auto landscape = Template({Item(kPlain, 0xFFFF, 0, 40, 0, 20, 8), Item(kPlain, 0xFFFF, 0, 40, 8, 20, 8),
                             Item(kPlain, 1, 0, 80, 0, 40, 16)});
  HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(portrait), nullptr, nullptr, 0);
  ASSERT_TRUE(dialog);
  HWND one = GetDlgItem(dialog, 1);
  HWND firstStatic = GetWindow(one, GW_HWNDNEXT);
  HWND secondStatic = GetWindow(firstStatic, GW_HWNDNEXT);
  // A z-order changed since creation leaves the pairing by creation order.
  SetWindowPos(secondStatic, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ASSERT_TRUE(RelayoutDialogIndirect(dialog, AsTemplate(landscape)));
  EXPECT_EQ(ChildRect(one).left, 120);
  EXPECT_EQ(ChildRect(one).bottom, 24);
  EXPECT_EQ(ChildRect(firstStatic).left, 60);
  EXPECT_EQ(ChildRect(firstStatic).top, 0);
  EXPECT_EQ(ChildRect(secondStatic).top, 12);
  EXPECT_TRUE(GetWindowLongW(one, GWL_STYLE) & WS_VISIBLE);  // visibility stays the dialog's
  EXPECT_FALSE(RelayoutDialogIndirect(one, AsTemplate(landscape)));
}

TEST_F(DialogTest, ChildPagesJoinTheTabOrder)
{
  auto bytes = Template({Item(kEdit, 1, WS_VISIBLE | WS_TABSTOP), Item(kPlain, 2, WS_VISIBLE)},
                        WS_POPUP | WS_VISIBLE | DS_SETFONT);
  HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(bytes), nullptr, nullptr, 0);
  auto pageBytes = Template({Item(kEdit, 11, WS_VISIBLE | WS_TABSTOP), Item(kEdit, 12, WS_VISIBLE | WS_TABSTOP)},
                            WS_CHILD | WS_VISIBLE | DS_CONTROL | DS_SETFONT);
  HWND page = CreateDialogIndirectParamW(nullptr, AsTemplate(pageBytes), dialog, nullptr, 0);
  ASSERT_TRUE(page);
  HWND one = GetDlgItem(dialog, 1);
  HWND eleven = GetDlgItem(page, 11);
  HWND twelve = GetDlgItem(page, 12);
  EXPECT_EQ(GetNextDlgTabItem(dialog, one, FALSE), eleven);
  EXPECT_EQ(GetNextDlgTabItem(dialog, eleven, FALSE), twelve);
  EXPECT_EQ(GetNextDlgTabItem(dialog, twelve, FALSE), one);
  EXPECT_EQ(GetNextDlgTabItem(dialog, one, TRUE), twelve);
  ShowWindow(page, SW_HIDE);
  EXPECT_EQ(GetNextDlgTabItem(dialog, one, FALSE), one);
}

TEST_F(DialogTest, ItemTextsAndNumbers)
{
  auto bytes = Template({Item(kPlain, 1, 0)});
  HWND dialog = CreateDialogIndirectParamW(nullptr, AsTemplate(bytes), nullptr, nullptr, 0);
  struct Case {
    const char16_t* text;
    BOOL isSigned;
    UINT value;
    BOOL translated;
  } cases[] = {
      {u"42", FALSE, 42, TRUE},       {u" -17 ", TRUE, static_cast<UINT>(-17), TRUE},
      {u"-17", FALSE, 0, FALSE},      {u"4294967295", FALSE, 4294967295u, TRUE},
      {u"4294967296", FALSE, 0, FALSE}, {u"2147483648", TRUE, 0, FALSE},
      {u"12a", FALSE, 0, FALSE},      {u"", FALSE, 0, FALSE},
  };
  for (const Case& c : cases) {
    SetDlgItemTextW(dialog, 1, c.text);
    BOOL translated = 2;
    EXPECT_EQ(GetDlgItemInt(dialog, 1, &translated, c.isSigned), c.value) << kvtest::Narrow(c.text);
    EXPECT_EQ(translated, c.translated) << kvtest::Narrow(c.text);
  }
  SetDlgItemInt(dialog, 1, static_cast<UINT>(-5), TRUE);
  WCHAR text[16];
  GetDlgItemTextW(dialog, 1, text, 16);
  EXPECT_EQ(std::u16string(text), u"-5");
}

// Modal dialogs on a user-interface thread: one opens another from a timer; each ends from a
// timer of its own; the owner is disabled while its modal dialog runs.
TEST_F(DialogTest, NestedModalDialogsEndFromTimers)
{
  kvtest::UseVirtualTime();
  std::atomic<INT_PTR> outerResult{-2}, innerResult{-2};
  std::atomic<bool> ownerDisabledInside{false};
  auto bytes = Template({Item(kButton, IDOK, WS_VISIBLE | WS_TABSTOP)});
  HWND owner = nullptr;
  DialogProc inner([&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG)
      SetTimer(dialog, 2, 100, nullptr);
    if (message == WM_TIMER) {
      KillTimer(dialog, 2);
      EndDialog(dialog, 7);
    }
    return message == WM_INITDIALOG;
  });
  DialogProc outer([&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
    if (message == WM_INITDIALOG)
      SetTimer(dialog, 1, 100, nullptr);
    if (message == WM_TIMER) {
      KillTimer(dialog, 1);
      ownerDisabledInside = !IsWindowEnabled(owner);
      innerResult = DialogBoxIndirectParamW(nullptr, AsTemplate(bytes), dialog, inner.get(), 0);
      EndDialog(dialog, 9);
    }
    return message == WM_INITDIALOG;
  });
  {
    kvtest::UiThread ui;
    ui.Invoke([&] {
      owner = CreateWindowExW(0, kPlain, u"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr, nullptr,
                              nullptr);
    });
    ui.Post([&] { outerResult = DialogBoxIndirectParamW(nullptr, AsTemplate(bytes), owner, outer.get(), 0); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    ASSERT_TRUE(kvtest::AdvanceTime(100));  // the outer dialog opens the inner one
    EXPECT_EQ(innerResult.load(), -2);
    ASSERT_TRUE(kvtest::AdvanceTime(100));  // the inner one ends, then the outer one
    ASSERT_TRUE(WaitFor([&] { return outerResult.load() != -2; }));
    EXPECT_EQ(innerResult.load(), 7);
    EXPECT_EQ(outerResult.load(), 9);
    EXPECT_TRUE(ownerDisabledInside.load());
    BOOL enabled = FALSE;
    ui.Invoke([&] { enabled = IsWindowEnabled(owner); });
    EXPECT_TRUE(enabled);
  }
}

TEST_F(DialogTest, ModalDialogWithoutTemplateFails)
{
  EXPECT_EQ(DialogBoxIndirectParamW(nullptr, nullptr, nullptr, nullptr, 0), -1);
}
