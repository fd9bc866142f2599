// Before installing: the agreement (accepted, declined, the shell's OK), and a running client
// asked to close (found by its login window, its main window, or as an order-pay copy by its
// process) before the old installation folder goes; a client that stays cancels the
// installation and keeps the old files.
#include <thread>

#include "testing/clock.h"
#include "testing/message_boxes.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "zunsetup_ids.h"
#include "zunsetup_test_support.h"

namespace {

using namespace zunsetup_test;

constexpr char kOldFile[] = "Program Files/KorvexPortal/old.txt";

struct AgreementAnswer {
  int button;
  bool tapTheBar = false;  // below the thumb, before answering
  RECT text, accept, decline;
  std::u16string agreement;
  bool focusOnAccept = false;
  LRESULT firstLine = -1;
  LRESULT lines = 0;
  LRESULT firstLineAfterTap = -1;
  bool seen = false;
} g_answer;

// Answers the agreement when it is the active dialog, after noting where its items lie (and
// tapping its scroll bar when the test asks).
void AnswerAgreement(HWND, UINT, UINT_PTR, DWORD)
{
  HWND dialog = GetActiveWindow();
  if (!dialog || !GetDlgItem(dialog, IDC_AGREEMENT_TEXT) || g_answer.seen)
    return;
  g_answer.seen = true;
  GetWindowRect(GetDlgItem(dialog, IDC_AGREEMENT_TEXT), &g_answer.text);
  GetWindowRect(GetDlgItem(dialog, IDC_AGREEMENT_ACCEPT), &g_answer.accept);
  GetWindowRect(GetDlgItem(dialog, IDC_AGREEMENT_DECLINE), &g_answer.decline);
  WCHAR text[64] = {};
  GetDlgItemTextW(dialog, IDC_AGREEMENT_TEXT, text, 64);
  g_answer.agreement = text;
  HWND box = GetDlgItem(dialog, IDC_AGREEMENT_TEXT);
  g_answer.firstLine = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  g_answer.lines = SendMessageW(box, EM_GETLINECOUNT, 0, 0);
  kvtest::SaveScreenshot("ZunSetup_agreement_" + std::to_string(GetSystemMetrics(SM_CXSCREEN)) + "x" +
                         std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  if (g_answer.tapTheBar && kvtest::Tap(POINT{g_answer.text.right - 3, g_answer.text.bottom - 30}))
    g_answer.firstLineAfterTap = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
  g_answer.focusOnAccept = GetFocus() == GetDlgItem(dialog, IDC_AGREEMENT_ACCEPT);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(g_answer.button, BN_CLICKED), 0);
}

class InstallInit : public SetupTest {
 protected:
  void SetUp() override
  {
    SetupTest::SetUp();
    Write(kOldFile, "old");
  }

  codeINSTALL_INIT RunWithAgreement(int button, bool tapTheBar = false)
  {
    g_answer = {};
    g_answer.button = button;
    g_answer.tapTheBar = tapTheBar;
    UINT_PTR timer = SetTimer(nullptr, 0, 20, AnswerAgreement);
    codeINSTALL_INIT result = hooks_.installInit(nullptr, TRUE, FALSE, u"\\Program Files\\KorvexPortal");
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_answer.seen);
    return result;
  }
};

TEST_F(InstallInit, OnlyAcceptingTheAgreementGoesOn)
{
  struct Case {
    int button;
    codeINSTALL_INIT result;
  } cases[] = {{IDC_AGREEMENT_DECLINE, codeINSTALL_INIT_CANCEL}, {IDOK, codeINSTALL_INIT_CANCEL},
               {IDC_AGREEMENT_ACCEPT, codeINSTALL_INIT_CONTINUE}};
  FakeClient client;
  ASSERT_TRUE(client.Start(u"login", u"obey"));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.button);
    std::map<std::string, std::string> before = DeviceState();
    EXPECT_EQ(RunWithAgreement(c.button), c.result);
    if (c.result == codeINSTALL_INIT_CANCEL) {
      EXPECT_EQ(DeviceState(), before) << "nothing is touched";
      EXPECT_FALSE(client.Ended(0)) << "the client is not asked to close";
    }
  }
  EXPECT_TRUE(client.Ended());
  EXPECT_FALSE(fs::exists(Host("Program Files/KorvexPortal")));
}

// The agreement's paragraphs wrap to the box, which a tap on its scroll bar pages through
// while the focus stays on "接受".
TEST_F(InstallInit, TheAgreementFillsTheScreenAboveItsButtons)
{
  struct Case {
    int width, height;
  };
  const Case cases[] = {{240, 320}, {480, 640}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    kvtest::SetScreenSize(c.width, c.height);
    EXPECT_EQ(RunWithAgreement(IDC_AGREEMENT_DECLINE, true), codeINSTALL_INIT_CANCEL);
    EXPECT_EQ(g_answer.agreement.substr(0, 25), u"Korvex 手机钱包\r\n用户协议（版本 2.1）");
    EXPECT_EQ(g_answer.text.right - g_answer.text.left, c.width);
    EXPECT_EQ(g_answer.text.bottom - g_answer.text.top, c.height * 3 / 4) << "three quarters of an upright screen";
    EXPECT_EQ(g_answer.accept.top, g_answer.text.bottom + 10);
    EXPECT_EQ(g_answer.decline.top, g_answer.text.bottom + 10);
    EXPECT_EQ(g_answer.accept.right, c.width / 2 - 20);
    EXPECT_EQ(g_answer.decline.left, c.width / 2 + 20);
    EXPECT_LE(g_answer.accept.bottom, c.height) << "the buttons lie on the screen";
    EXPECT_EQ(g_answer.firstLine, 0) << "the agreement shows from its first line";
    EXPECT_GT(g_answer.firstLineAfterTap, 0) << "a tap below the thumb shows the next page";
    EXPECT_TRUE(g_answer.focusOnAccept);
    EXPECT_GT(g_answer.lines, 17) << "more lines than the text breaks itself into";
  }
}

// A later call of the hook shows no agreement.
class ClosingTheClient : public InstallInit, public ::testing::WithParamInterface<const char16_t*> {};

TEST_P(ClosingTheClient, AClientThatObeysIsClosedBeforeTheOldFolderGoes)
{
  FakeClient client;
  ASSERT_TRUE(client.Start(GetParam(), u"obey"));
  EXPECT_EQ(hooks_.installInit(nullptr, FALSE, TRUE, u"\\Program Files\\KorvexPortal"), codeINSTALL_INIT_CONTINUE);
  EXPECT_TRUE(client.Ended(0)) << "the hook waits for the client to end";
  EXPECT_EQ(Read("Temp/FakeClient.log"), kvtest::Narrow(GetParam()) + " command 32775 -1\n");
  EXPECT_FALSE(fs::exists(Host("Program Files/KorvexPortal")));
}

INSTANTIATE_TEST_SUITE_P(Windows, ClosingTheClient, ::testing::Values(u"login", u"main", u"orderpay"),
                         [](const auto& info) { return kvtest::Narrow(info.param); });

TEST_F(InstallInit, WithNoClientTheOldFolderGoesAtOnce)
{
  EXPECT_EQ(hooks_.installInit(nullptr, FALSE, TRUE, u"\\Program Files\\KorvexPortal"), codeINSTALL_INIT_CONTINUE);
  EXPECT_FALSE(fs::exists(Host("Program Files/KorvexPortal")));
}

// A client that does not end within 30 seconds: the user is told, nothing is removed. The
// hooks run on a thread of their own while the test moves the virtual clock.
TEST_F(InstallInit, AClientThatStaysCancelsAndKeepsTheOldFiles)
{
  struct Case {
    const char* hook;
    const char16_t* message;
  } cases[] = {{"Install_Init", u"请手动退出正在运行的程序，然后再尝试安装。"},
               {"Uninstall_Init", u"请手动退出正在运行的程序，然后再尝试卸载。"}};
  FakeClient client;
  ASSERT_TRUE(client.Start(u"main", u"ignore"));
  kvtest::UseVirtualTime();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.hook);
    kvtest::MessageBoxAnswerer boxes;
    int result = -1;
    std::thread hook([&] {
      if (std::string(c.hook) == "Install_Init")
        result = hooks_.installInit(nullptr, FALSE, TRUE, u"\\Program Files\\KorvexPortal");
      else
        result = hooks_.uninstallInit(nullptr, u"\\Program Files\\KorvexPortal");
    });
    ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
    device::testing::AdvanceClock(29999);
    EXPECT_TRUE(boxes.Calls().empty()) << "not before 30 seconds";
    device::testing::AdvanceClock(1);
    hook.join();
    EXPECT_EQ(result, 1);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, c.message);
    EXPECT_EQ(boxes.Calls()[0].caption, u"提示");
    EXPECT_EQ(boxes.Calls()[0].owner, nullptr);
    EXPECT_EQ(Read(kOldFile), "old");
    EXPECT_FALSE(client.Ended(0));
  }
  // The client logs each posted command when it takes it, which may be after the hook returned.
  const std::string asked = "main command 32775 -1\nmain command 32775 -1\n";
  EXPECT_TRUE(kvtest::PollUntil([&] { return Read("Temp/FakeClient.log") == asked; }))
      << Read("Temp/FakeClient.log");
}

}  // namespace
