// The dialog base's life: showing modelessly and modally, the modal loop's rules, the thread's
// loops around nested modal dialogs, ending and closing, and a dialog that gives its window up
// while it initialises.
#include "base_dlg_fixture.h"
#include "gateway_address.h"

using namespace basedlgtest;
using namespace kvtest;

namespace {

TEST_F(BaseDlgTest, ASecondShowOfAnOpenDialogShowsTheSameWindowFullScreenAgain)
{
  TestDlg& dialog = NewDialog();
  HWND first = Show(dialog);
  ASSERT_NE(nullptr, first);
  ui.Invoke([&] {
    dialog.ShowWindow(SW_HIDE);
    dialog.MoveWindow(10, 10, 100, 100);
    EXPECT_EQ(-1, dialog.ShowDialog(nullptr, 0, FALSE, TRUE));
  });
  EXPECT_EQ(first, dialog.m_hWnd);
  EXPECT_EQ(1, dialog.initDialogs) << "no second window";
  EXPECT_TRUE(IsWindowVisible(first));
  RECT rect{};
  GetWindowRect(first, &rect);
  EXPECT_EQ(Edges(RECT{0, 0, 240, 320}), Edges(rect));
}

TEST_F(BaseDlgTest, NestedModalDialogsHandTheThreadsLoopBackOnEveryWayOut)
{
  CMessageLoop outer;
  ui.Invoke([&] { app.AddMessageLoop(&outer); });
  auto current = [&] {
    CMessageLoop* loop = nullptr;
    ui.Invoke([&] { loop = app.GetMessageLoop(); });
    return loop;
  };
  TestDlg missing(Look{.portrait = kMissingTemplate, .landscape = kMissingTemplate});
  ui.Invoke([&] { EXPECT_EQ(0, missing.ShowDialog(nullptr, 0, TRUE, TRUE)) << "no template"; });
  EXPECT_EQ(&outer, current()) << "after a failed creation";

  TestDlg& first = NewDialog();
  int firstResult = 0;
  ShowModal(first, firstResult);
  CMessageLoop* firstLoop = current();
  EXPECT_NE(nullptr, firstLoop);
  EXPECT_NE(&outer, firstLoop);

  TestDlg& second = NewDialog();
  int secondResult = 0;
  ShowModal(second, secondResult, first.m_hWnd);
  CMessageLoop* secondLoop = current();
  EXPECT_NE(firstLoop, secondLoop);
  ui.Invoke([&] { EXPECT_EQ(0, missing.ShowDialog(second.m_hWnd, 0, TRUE, TRUE)); });
  EXPECT_EQ(secondLoop, current()) << "a failed nested show";

  PostMessageW(second.m_hWnd, WM_KV_ENDDIALOG, 7, 0);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(7, secondResult);
  EXPECT_EQ(firstLoop, current());
  PostMessageW(first.m_hWnd, WM_KV_ENDDIALOG, static_cast<WPARAM>(-1), 0);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(-1, firstResult) << "the whole value: -1 stays -1";
  EXPECT_EQ(&outer, current());
  ui.Invoke([&] { app.RemoveMessageLoop(); });
}

TEST_F(BaseDlgTest, EndingAnOuterModalDialogUnderAnInnerOneEndsBothLoops)
{
  TestDlg& first = NewDialog();
  TestDlg& second = NewDialog();
  int firstResult = 0;
  int secondResult = 0;
  ShowModal(first, firstResult);
  ShowModal(second, secondResult, first.m_hWnd);
  // Sent: a message posted to the first dialog would go to the second, whose parent it is.
  ui.Invoke([&] { SendMessageW(first.m_hWnd, WM_KV_ENDDIALOG, 4, 0); });
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_FALSE(IsWindow(second.m_hWnd)) << "gone with its owner";
  EXPECT_EQ(0, secondResult) << "the inner loop ends when its dialog is gone";
  EXPECT_EQ(4, firstResult) << "the outer loop then ends with its value";
}

TEST_F(BaseDlgTest, TheModalLoopTakesTheParentsMessagesAndTheSoftKeyReleaseInAnEdit)
{
  HWND parent = RecordingWindow("parent");
  TestDlg& dialog = NewDialog(Look{.menu = kMenu});
  dialog.focusId = kEditAccount;
  int result = 0;
  ShowModal(dialog, result, parent);
  ui.Invoke([&] { ASSERT_EQ(GetDlgItem(dialog.m_hWnd, kEditAccount), GetFocus()); });

  log.Clear();
  PostMessageW(parent, WM_APP + 1, 0, 0);
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(PressKey(VK_F1));  // soft key 1 is the menu's command item
  ASSERT_TRUE(PressKey(VK_F3));
  EXPECT_EQ((std::vector<UINT>{WM_APP + 1, kSoftKey1}), dialog.Seen());
  for (const RecordedMessage& m : log.Messages())
    EXPECT_NE(static_cast<UINT>(WM_APP + 1), m.message) << "the parent never sees its message";
  PostMessageW(dialog.m_hWnd, WM_KV_ENDDIALOG, 0, 0);
  ASSERT_TRUE(RunUntilIdle());
}

TEST_F(BaseDlgTest, TheFilterLetsTheDialogPressItsSoftKeyAfterTheFocusedControlHadTheRelease)
{
  TestDlg& dialog = NewDialog();
  dialog.focusId = kEditAccount;
  HWND hwnd = Show(dialog);
  HWND edit = GetDlgItem(hwnd, kEditAccount);
  ui.Invoke([&] {
    log.Watch(edit, "edit");
    ASSERT_EQ(edit, GetFocus());
    MSG release{edit, WM_KEYUP, VK_F2, 0, 0, {0, 0}};
    EXPECT_FALSE(dialog.PreTranslateMessage(&release)) << "left to the loop";
    EXPECT_EQ(hwnd, release.hwnd) << "for the dialog";
    MSG other{edit, WM_SETTEXT, 0, 0, 0, {0, 0}};
    EXPECT_FALSE(dialog.PreTranslateMessage(&other)) << "neither key nor pointer";
  });
  bool editHadIt = false;
  for (const RecordedMessage& m : log.Messages())
    editHadIt |= m.window == "edit" && m.message == WM_KEYUP && m.wParam == VK_F2;
  EXPECT_TRUE(editHadIt);
}

TEST_F(BaseDlgTest, ADialogThatGivesItsWindowUpWhileItInitialisesIsNotMadeAgain)
{
  CMessageLoop outer;
  ui.Invoke([&] { app.AddMessageLoop(&outer); });
  for (DestroyIn where : {DestroyIn::kInitDialog, DestroyIn::kBindControls, DestroyIn::kInitFocus}) {
    for (BOOL modal : {FALSE, TRUE}) {
      SCOPED_TRACE(std::to_string(static_cast<int>(where)) + (modal ? " modal" : " modeless"));
      TestDlg& dialog = NewDialog();
      dialog.destroyIn = where;
      ui.Invoke([&] { EXPECT_EQ(0, dialog.ShowDialog(nullptr, 0, modal, TRUE)); });
      EXPECT_EQ(1, dialog.initDialogs);
      EXPECT_EQ(nullptr, dialog.m_hWnd);
      ui.Invoke([&] {
        EXPECT_EQ(&outer, app.GetMessageLoop());
        EXPECT_EQ(-1, outer.m_aMsgFilter.Find(&dialog)) << "no filter left behind";
      });
    }
  }
  ui.Invoke([&] { app.RemoveMessageLoop(); });
}

TEST_F(BaseDlgTest, ExitAsksFirstUnlessTheInstallerAsks)
{
  struct Case {
    const char* name;
    LPARAM lParam;
    int answer;
    std::vector<std::string> calls;
  };
  const std::string question = "ShowMessageBox(确定要退出吗？,,65,0,5)";
  const Case cases[] = {
      {"the installer's -1", -1, 1001, {"PostToActiveDialog(-1)"}},
      {"the installer's -1 from a 32-bit sender", 0xFFFFFFFF, 1001, {"PostToActiveDialog(-1)"}},
      {"the user says OK", 0, 1001, {question, "PostToActiveDialog(0)"}},
      {"the user cancels", 0, 1002, {question}},
  };
  HWND box = RecordingWindow("box");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDlg& dialog = NewDialog();
    HWND hwnd = Show(dialog);
    app.boxAnswer = c.answer;
    app.boxWindow = box;
    app.ClearCalls();
    ui.Invoke([&] {
      ShowWindow(box, SW_SHOW);
      dialog.MoveWindow(0, 26, 240, 294);  // out of full screen meanwhile
      SendMessageW(hwnd, WM_COMMAND, ID_KV_EXIT, c.lParam);
    });
    EXPECT_EQ(c.calls, app.Calls());
    if (c.answer != 1001) {
      EXPECT_FALSE(IsWindowVisible(box)) << "the box is hidden";
      RECT rect{};
      GetWindowRect(hwnd, &rect);
      EXPECT_EQ(Edges(RECT{0, 0, 240, 320}), Edges(rect)) << "full screen again";
    }
    ui.Invoke([&] { dialog.CloseDialog(0, FALSE); });
  }
}

TEST_F(BaseDlgTest, EndingTheTopDialogEndsItsModalLoopWithTheWholeValueAndClosesTheBox)
{
  HWND parent = RecordingWindow("parent");
  HWND other = RecordingWindow("other");
  HWND box = RecordingWindow("box", WS_POPUP);
  app.boxWindow = box;
  TestDlg& dialog = NewDialog();
  app.SetMainDialog(&dialog);
  int result = 0;
  ShowModal(dialog, result, parent);
  ASSERT_TRUE(IsWindow(dialog.m_hWnd));
  log.Clear();
  ui.Invoke([&] { SendMessageW(dialog.m_hWnd, WM_COMMAND, ID_KV_EXIT, -1); });
  ASSERT_TRUE(RunUntilIdle());
  app.SetMainDialog(nullptr);
  EXPECT_EQ(-1, result) << "the loop ends (the order-pay run would never end otherwise)";
  EXPECT_EQ(nullptr, dialog.m_hWnd);
  bool boxClosed = false;
  for (const RecordedMessage& m : log.Messages())
    boxClosed |= m.window == "box" && m.message == WM_CLOSE;
  EXPECT_TRUE(boxClosed);
  bool parentAboveOther = false;
  for (HWND w = parent; w; w = GetWindow(w, GW_HWNDNEXT))
    parentAboveOther |= w == other;
  EXPECT_TRUE(parentAboveOther) << "the parent is raised";
}

TEST_F(BaseDlgTest, SharedCommandsAndRepliesGoToTheApplicationObject)
{
  TestDlg& dialog = NewDialog();
  HWND hwnd = Show(dialog);
  const std::string url = Narrow(GetGatewayUrl(kGatewayRequestPath).GetString());
  struct Case {
    UINT message;
    WPARAM wParam;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {WM_COMMAND, ID_KV_ABOUT, {"ShowAboutDlg"}},
      {WM_COMMAND, ID_KV_CHECKUPDATE, {"CheckUpdate(1567," + url + ")"}},
      {WM_COMMAND, ID_KV_PERSONALINFO, {"ShowPersonalInfoDlg(1,5)"}},
      {WM_COMMAND, ID_KV_REGISTER, {"PreRegister(1568," + url + ")"}},
      {WM_COMMAND, ID_KV_HELP, {"ShowHelpDlg"}},
      {WM_COMMAND, ID_HELP, {"ShowHelpDlg"}},
      {WM_COMMAND, ID_KV_APNSETTINGS, {"ShowApnSettingsDlg(0)"}},
      {WM_COMMAND, IDOK, {}},
      {WM_COMMAND, IDCANCEL, {}},
      {WM_KV_UPDATECHECK_REPLY, 202, {"OnUpdateCheckResult(202)"}},
      {WM_KV_PREREGISTER_REPLY, 3, {"OnPreRegisterResult(3)"}},
      {WM_KV_IGNORED_633, 9, {"OnReply1587(9)"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(MessageName(c.message) + " " + std::to_string(c.wParam));
    app.ClearCalls();
    ui.Invoke([&] { SendMessageW(hwnd, c.message, c.wParam, 0); });
    EXPECT_EQ(c.calls, app.Calls());
  }
  EXPECT_TRUE(IsWindow(hwnd)) << "IDOK and IDCANCEL leave the dialog alone";
}

TEST_F(BaseDlgTest, TheShellsStandardDialogClosesOnItsMenuKeysAndClearsItsTransparentStatic)
{
  for (UINT command : {0xE790u, 0xE791u}) {
    TestDlg& dialog = NewDialog();
    HWND hwnd = Show(dialog);
    ui.Invoke([&] { SendMessageW(hwnd, WM_COMMAND, command, 0); });
    EXPECT_FALSE(IsWindow(hwnd)) << std::hex << command;
  }
  TestDlg& dialog = NewDialog();
  HWND hwnd = Show(dialog);
  ui.Invoke([&] {
    HWND clear = CreateWindowExW(0, WC_STATICW, u"", WS_CHILD, 0, 0, 10, 10, hwnd,
                                 reinterpret_cast<HMENU>(static_cast<intptr_t>(0xFFFE)), nullptr, nullptr);
    Canvas canvas(10, 10);
    LRESULT brush = SendMessageW(hwnd, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(canvas.dc),
                                 reinterpret_cast<LPARAM>(clear));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.dc));
  });
}

TEST_F(BaseDlgTest, ATitleGivenBeforeTheShowStaysAndOtherwiseTheLayoutStringOrTheCaptionGivesIt)
{
  struct Case {
    const char* name;
    int layout;
    const char16_t* given;
    const char16_t* title;
  };
  const Case cases[] = {
      {"the layout string's", kLayoutString, nullptr, u"测试标题"},
      {"the template's caption without a layout string", 0, nullptr, u"模板标题"},
      {"the opener's", kLayoutString, u"确认收货", u"确认收货"},
  };
  for (const Case& c : cases) {
    TestDlg& dialog = NewDialog(Look{.layout = c.layout});
    if (c.given)
      dialog.SetTitle(c.given, FALSE);
    Show(dialog);
    EXPECT_EQ(CStringW(c.title), dialog.GetTitle()) << c.name;
    ui.Invoke([&] { dialog.CloseDialog(0, FALSE); });
  }
}

}  // namespace
