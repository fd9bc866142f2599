// The shared box as a question and notice box: the keys of each type and the answers they give,
// its own two-second close, an answer that comes before the box shows, a box right after a
// finished wait, and a box whose window is gone.
#include "message_box_fixture.h"
#include "test_resource_library.h"

using namespace boxtest;
using namespace kvtest;

namespace {

TEST_F(MessageBoxTest, EachTypeShowsItsKeysAndAnswersWithTheKeyTapped)
{
  struct Case {
    UINT type;
    const char16_t* left;  // soft key 1, empty when hidden
    const char16_t* right;
    int tapped;  // the answer of the key tapped
  };
  const Case cases[] = {
      {KV_BOX_OK | KV_BOX_INFO, u"", u"确定", KV_BOX_ANSWER_OK},
      {KV_BOX_OKCANCEL | KV_BOX_INFO, u"取消", u"确定", KV_BOX_ANSWER_OK},
      {KV_BOX_OKCANCEL, u"取消", u"确定", KV_BOX_ANSWER_CANCEL},
      {KV_BOX_YESNO, u"否", u"是", KV_BOX_ANSWER_YES},
      {KV_BOX_YESNO | KV_BOX_ERROR, u"否", u"是", KV_BOX_ANSWER_NO},
      {KV_BOX_RETRYCANCEL, u"取消", u"重试", KV_BOX_ANSWER_RETRY},
      {KV_BOX_RETRYCANCEL, u"取消", u"重试", KV_BOX_ANSWER_CANCEL},
      {KV_BOX_WAIT, u"取消", u"", KV_BOX_ANSWER_CANCEL},
      {KV_BOX_OK | KV_BOX_SUCCESS, u"", u"确定", KV_BOX_ANSWER_OK},
  };
  ShowScreen();
  for (const Case& c : cases) {
    SCOPED_TRACE("type " + std::to_string(c.type) + " tapping " + std::to_string(c.tapped));
    Ask(u"确定要继续吗？", c.type);
    ASSERT_TRUE(Waiting());
    ASSERT_TRUE(Visible(Box()));
    HWND keys[2] = {GetDlgItem(Box(), 133), GetDlgItem(Box(), 134)};
    int shown = 0;
    for (int answer : {KV_BOX_ANSWER_OK, KV_BOX_ANSWER_CANCEL, KV_BOX_ANSWER_RETRY, KV_BOX_ANSWER_YES, KV_BOX_ANSWER_NO})
      if (Visible(Key(answer))) {
        ++shown;
        std::u16string text = Text(Key(answer));
        EXPECT_TRUE(text == c.left || text == c.right) << Narrow(text);
      }
    EXPECT_EQ(shown, (*c.left ? 1 : 0) + (*c.right ? 1 : 0));
    for (HWND resting : keys)
      EXPECT_FALSE(Visible(resting)) << "a key without an answer is hidden";

    ASSERT_TRUE(TapWindow(Key(c.tapped)));
    EXPECT_EQ(c.tapped, result);
    EXPECT_FALSE(Visible(Box())) << "an answer hides the box";
  }
}

TEST_F(MessageBoxTest, TheHardwareKeyOfAHiddenSoftKeyGivesNoAnswer)
{
  ShowScreen();
  Ask(u"要继续吗？", KV_BOX_OKCANCEL);
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  ASSERT_EQ(KV_BOX_ANSWER_CANCEL, result);

  // The left key was "取消" and is hidden now.
  Ask(u"已保存。", KV_BOX_OK);
  ASSERT_TRUE(PressKey(VK_F1));
  EXPECT_TRUE(Waiting()) << "the hidden left key still answered 1002";
  ASSERT_TRUE(PressKey(VK_F2));
  EXPECT_EQ(KV_BOX_ANSWER_OK, result);
}

TEST_F(MessageBoxTest, ASelfClosingBoxEndsAfterTwoSecondsUnlessItShowsProgress)
{
  UseVirtualTime();
  ShowScreen();
  // A wait box first: its progress strip stays (hidden) in the box afterwards.
  Ask(u"正在提交数据，请稍候……", KV_BOX_WAIT, TRUE);
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  ASSERT_EQ(KV_BOX_ANSWER_CANCEL, result);

  Ask(u"请升级到新版本。", KV_BOX_SELF_CLOSING | KV_BOX_INFO);
  ASSERT_TRUE(AdvanceTime(1900));
  EXPECT_TRUE(Waiting());
  EXPECT_FALSE(Visible(Key(KV_BOX_ANSWER_OK))) << "no key";
  ASSERT_TRUE(AdvanceTime(100));
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);

  // With progress it waits for something else; its timer of the box before does not end it.
  Ask(u"请升级到新版本。", KV_BOX_SELF_CLOSING, TRUE);
  ASSERT_TRUE(AdvanceTime(5000));
  EXPECT_TRUE(Waiting());
  SharedBox().EndWait();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(0, result) << "a listener leaves the result as armed";
}

TEST_F(MessageBoxTest, ASelfCloseDueFromAnEarlierBoxDoesNotEndTheNextOne)
{
  UseVirtualTime();
  ShowScreen();
  // Shown without a wait, as a screen shows the box and goes on.
  ui.Invoke([] { CThreadMessageBox::Instance().Setup(u"请稍候", u"", KV_BOX_SELF_CLOSING, FALSE); });
  ASSERT_TRUE(AdvanceTime(1500));
  Ask(u"确定要退出吗？", KV_BOX_QUESTION);
  ASSERT_TRUE(AdvanceTime(3000));
  EXPECT_TRUE(Waiting()) << "the question ended without an answer";
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_OK)));
  EXPECT_EQ(KV_BOX_ANSWER_OK, result);
}

TEST_F(MessageBoxTest, AnEndThatComesBeforeTheBoxShowsIsKept)
{
  ShowScreen();
  CThreadMessageBox& box = SharedBox();
  box.ArmWait();
  // The listener of a service command runs on a worker thread and finishes first.
  HANDLE worker = CreateThread(
      nullptr, 0, [](LPVOID shared) -> DWORD { return static_cast<CThreadMessageBox*>(shared)->EndWait(), 0; }, &box,
      0, nullptr);
  ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(worker, 30000));
  CloseHandle(worker);
  Ask(u"正在获取数据...", KV_BOX_WAIT, TRUE);
  EXPECT_EQ(0, result) << "the wait ended with the listener's end";
}

TEST_F(MessageBoxTest, APlainBoxRightAfterAFinishedWaitWaitsForItsAnswer)
{
  ShowScreen();
  CThreadMessageBox& box = SharedBox();
  box.ArmWait();
  box.EndWait();
  Ask(u"正在获取数据...", KV_BOX_WAIT, TRUE);
  ASSERT_EQ(0, result);

  // The event is still set from that wait.
  Ask(u"充值成功！", KV_BOX_SUCCESS);
  EXPECT_TRUE(Waiting()) << "the box ended at once";
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_OK)));
  EXPECT_EQ(KV_BOX_ANSWER_OK, result);
}

TEST_F(MessageBoxTest, TheExitQuestionGoesThroughTheBoxAndEndingTheDialogClosesIt)
{
  HWND screenWindow = ShowScreen();
  app.SetMainDialog(screen.get());
  SharedBox();
  PostMessageW(screenWindow, WM_COMMAND, ID_KV_EXIT, 0);
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(Visible(Box()));
  EXPECT_EQ(u"取消", Text(Key(KV_BOX_ANSWER_CANCEL)));

  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_CANCEL)));
  EXPECT_FALSE(Visible(Box()));
  EXPECT_TRUE(IsWindowVisible(screenWindow)) << "cancel keeps the dialog";

  PostMessageW(screenWindow, WM_COMMAND, ID_KV_EXIT, 0);
  ASSERT_TRUE(RunUntilIdle());
  ASSERT_TRUE(TapWindow(Key(KV_BOX_ANSWER_OK)));
  EXPECT_FALSE(IsWindow(screenWindow)) << "OK ends the dialog";
  EXPECT_EQ(nullptr, Box()) << "and closes the box's window";

  // The box's thread has ended: a box asked for now answers at once.
  Ask(u"还在吗？", KV_BOX_OK);
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
}

TEST_F(MessageBoxTest, AWaitEndsWhenTheBoxWindowCloses)
{
  Ask(u"请稍候", KV_BOX_WAIT, TRUE);
  ASSERT_TRUE(Waiting());
  SendMessageW(Box(), WM_CLOSE, 0, 0);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
}

// The shared box destroyed under a caller's wait: the caller goes on with no answer, and what
// it still does with the box afterwards finds a box without a window, not a freed one.
TEST_F(MessageBoxTest, AWaitGoesOnWhenTheSharedBoxIsDestroyedUnderIt)
{
  for (int round = 0; round < 10; ++round) {
    Ask(u"请稍候", KV_BOX_WAIT, TRUE);
    ASSERT_TRUE(Waiting());
    CThreadMessageBox::DestroyInstance();
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(KV_BOX_NO_ANSWER, result) << "round " << round;
  }
}

TEST_F(MessageBoxTest, ALibraryWithoutTheBoxTemplateGivesABoxThatAnswersAtOnce)
{
  app.SetResourceLibrary(MakeResourceLibrary(root, "NoBoxRes", "STRINGTABLE\nBEGIN\n    134 \"26\"\nEND\n"));
  Ask(u"确定吗？", KV_BOX_OKCANCEL);
  EXPECT_EQ(KV_BOX_NO_ANSWER, result);
  EXPECT_EQ(nullptr, Box());
  EXPECT_FALSE(SharedBox().HasWindow());
}

// A box of its own, shown modally as the update download shows its "正在下载……": its loop ends
// with the answer, with -1 when closed, and with 1002 when the download thread cancels it.
TEST_F(MessageBoxTest, ABoxShownByItselfEndsItsLoopWithTheAnswerOrMinusOneWhenClosed)
{
  UseVirtualTime();
  enum class End { kTapCancel, kClose, kSentCancel, kSelfClose };
  struct Case {
    UINT type;
    End end;
    int expected;
  };
  const Case cases[] = {
      {KV_BOX_WAIT, End::kTapCancel, KV_BOX_ANSWER_CANCEL},
      {KV_BOX_WAIT, End::kClose, KV_BOX_NO_ANSWER},
      {KV_BOX_WAIT, End::kSentCancel, KV_BOX_ANSWER_CANCEL},
      {KV_BOX_SELF_CLOSING, End::kSelfClose, KV_BOX_NO_ANSWER},
  };
  ShowScreen();
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.end));
    CSkinMessageBox box(u"正在下载……", u"", c.type, c.type == KV_BOX_WAIT);
    Run([&box] { return box.ShowDialog(nullptr, 0, TRUE, TRUE); });
    ASSERT_TRUE(Waiting());
    ASSERT_TRUE(box.IsWindow());
    switch (c.end) {
    case End::kTapCancel:
      ASSERT_TRUE(TapWindow(box.GetDlgItem(KV_BOX_ANSWER_CANCEL)));
      break;
    case End::kClose:
      box.SendMessage(WM_CLOSE);
      break;
    case End::kSentCancel:
      box.SendMessage(WM_COMMAND, KV_BOX_ANSWER_CANCEL);
      break;
    case End::kSelfClose:
      ASSERT_TRUE(AdvanceTime(1900));
      EXPECT_TRUE(Waiting());
      ASSERT_TRUE(AdvanceTime(100));
      break;
    }
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(c.expected, result);
    EXPECT_FALSE(box.IsWindow());
  }
}

}  // namespace
