// The message list against the test gateway: each outcome of the fetch (a message, none, a
// refusal, a failed connection, the end of the session), stepping through the stored messages,
// deleting, following a link with the browser, and the screenshots.
#include <algorithm>
#include <fstream>

#include "html/html_viewer.h"
#include "layout_checks.h"
#include "message_file.h"
#include "message_store.h"
#include "msg_dlg.h"
#include "payment_screen_fixture.h"
#include "testing/screenshot.h"

using namespace paytest;
using testgateway::Reply;

namespace {

constexpr char16_t kLogonId[] = u"demo@korvex.cn";

nlohmann::ordered_json Message(int id, int count = 3)
{
  return {{"msgId", id},           {"msgLevel", "1"},      {"msgTopic", "账户通知 " + std::to_string(id)},
          {"msgContent", "您的账户已经开通。<a href=\"https://example.com/msg/9\">详情</a>"},
          {"MsgType", "1"},        {"msgDate", "2010-07-04 12:00"}, {"msgCount", count}, {"msgFrom", "Korvex"}};
}

class MsgDlgTest : public PaymentScreenTest {
 protected:
  void SetUp() override
  {
    PaymentScreenTest::SetUp();
    app.SetLogonId(kLogonId);
  }
  void DestroyScreens() override { dialog.reset(); }

  static void Store(int id)
  {
    MsgRecord message{id, u"存储的消息", u"内容", u"Korvex", u"1", u"2010-07-01 09:00"};
    ASSERT_EQ(0, SaveMessageFile(kLogonId, id, FormatMessageFile(message)));
  }
  // Opens the dialog and returns once its first fetch has come to an outcome.
  void Open()
  {
    ui.Invoke([&] { dialog = std::make_unique<CMsgDlg>(); });
    ui.Post([&] { dialog->ShowDialog(nullptr, 0, FALSE, TRUE); });
    ASSERT_TRUE(gateway.waitForRequest("viewMsgDetail"));
    ASSERT_TRUE(RunUntil([&] { return Settled(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  bool Settled() { return Called("ShowUnreadCount") || !Boxes().empty() || !dialog->IsWindow(); }
  // Sends the dialog a command on its thread and waits for what it did.
  void Command(int id)
  {
    ui.Invoke([&] { dialog->SendMessage(WM_COMMAND, id); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  int Shown() { return dialog->GetShownMessage().msgId; }

  std::unique_ptr<CMsgDlg> dialog;
};

TEST_F(MsgDlgTest, EachOutcomeOfTheFetch)
{
  struct Case {
    const char* name;
    Reply reply;
    bool storedBefore;  // messages 5 and 9 in the store
    int shown;
    std::vector<std::string> boxes;
    bool open;
    const char* calls;  // a call recorded, or "" for none expected
  };
  const Case cases[] = {
      {"a message", Reply::success(Message(12)), false, 12, {}, true, "ShowUnreadCount(3)"},
      {"none and nothing stored", Reply::success({{"msgId", 0}, {"msgCount", 0}}), false, -1,
       {"box 64 您当前暂时没有未读消息。"}, false, "ShowUnreadCount(0)"},
      {"none, the newest stored shows", Reply::success({{"msgId", 0}, {"msgCount", 0}}), true, 9,
       {"box 64 您当前暂时没有未读消息。"}, true, "ShowUnreadCount(0)"},
      {"refused", Reply::result(301, "消息服务暂停"), false, -1, {"box 16 消息服务暂停"}, true, ""},
      {"no connection", Reply::close(), false, -1, {"box 16 连接服务器出错"}, true, ""},
      {"session ended", Reply::result(200, "会话已过期"), false, -1, {"box 64 会话已过期"}, false, "ShowLoginDlg"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    gateway.script("viewMsgDetail", c.reply);
    if (!service)
      StartGateway();
    if (c.storedBefore) {
      Store(5);
      Store(9);
    }
    Open();
    EXPECT_EQ(c.shown, Shown());
    EXPECT_EQ(c.boxes, Boxes());
    EXPECT_EQ(c.open, dialog->IsWindow() == TRUE);
    if (*c.calls)
      EXPECT_TRUE(Called(c.calls));
    else
      EXPECT_FALSE(Called("ShowUnreadCount"));
    auto request = gateway.requestsOf("viewMsgDetail").back();
    EXPECT_EQ("111111111111111|333333333333333", request.field("clientID"));

    ui.Invoke([&] {
      if (dialog->IsWindow())
        dialog->CloseDialog(2, FALSE);
      dialog.reset();
    });
    for (int id : {5, 9, 12})
      DeleteMessageFile(kLogonId, id);
    app.ClearCalls();
    gateway.clearRequests();
  }
}

TEST_F(MsgDlgTest, AFetchedMessageIsStoredWithItsTexts)
{
  gateway.script("viewMsgDetail", Reply::success(Message(12)));
  StartGateway();
  Open();
  CStringW text;
  LoadPrevMessage(kLogonId, 0, text);
  MsgRecord stored;
  ASSERT_TRUE(ParseMessageFile(text, stored));
  EXPECT_EQ(12, stored.msgId);
  EXPECT_EQ(u"账户通知 12", stored.topic);
  EXPECT_EQ(u"您的账户已经开通。<a href=\"https://example.com/msg/9\">详情</a>", stored.content);
  EXPECT_EQ(u"Korvex", stored.sender);
  EXPECT_EQ(3, dialog->GetMessageCount());
}

TEST_F(MsgDlgTest, StepsThroughTheStoredMessagesAndFetchesAfterTheNewest)
{
  Store(5);
  Store(12);
  gateway.script("viewMsgDetail", Reply::success(Message(9)));
  StartGateway();
  Open();
  ASSERT_EQ(9, Shown());
  // Each message starts a page of its own in the viewer.
  HWND viewer = dialog->GetViewer();
  ui.Invoke([&] {
    log.Ignore(WM_PAINT);
    log.Ignore(WM_ERASEBKGND);
    log.Watch(viewer, "viewer");
  });
  Command(ID_MSG_PREVIOUS);
  EXPECT_EQ(5, Shown());
  EXPECT_EQ("", log.Mismatch({{"viewer", DTM_CLEAR, kvtest::sent}, {"viewer", DTM_ADDTEXTW, kvtest::sent}, {"viewer", DTM_ENDOFSOURCE, kvtest::sent}},
                             "a new page for each message"));
  Command(ID_MSG_PREVIOUS);
  EXPECT_EQ(5, Shown());
  Command(ID_MSG_NEXT);
  EXPECT_EQ(9, Shown());
  Command(ID_MSG_NEXT);
  EXPECT_EQ(12, Shown());
  EXPECT_EQ((std::vector<std::string>{"box 64 已经是最上一条消息！"}), Boxes());
  EXPECT_EQ(1u, gateway.requestsOf("viewMsgDetail").size());

  // From the newest the next one is fetched.
  gateway.script("viewMsgDetail", Reply::success(Message(15, 1)));
  Command(ID_MSG_NEXT);
  EXPECT_EQ(2u, gateway.requestsOf("viewMsgDetail").size());
  EXPECT_EQ(15, Shown());
  EXPECT_TRUE(Called("ShowUnreadCount(1)"));
}

TEST_F(MsgDlgTest, DeletingShowsTheNextStoredMessage)
{
  Store(12);
  gateway.script("viewMsgDetail", Reply::success(Message(9)));
  StartGateway();
  Open();
  ASSERT_EQ(9, Shown());
  Command(ID_MSG_DELETE);
  std::vector<int> ids;
  ListMessageIds(kLogonId, ids);
  EXPECT_EQ(std::vector<int>{12}, ids);
  EXPECT_EQ(12, Shown());
  EXPECT_EQ((std::vector<std::string>{"box 71 消息已经成功删除。"}), Boxes());
  EXPECT_EQ(1u, gateway.requestsOf("viewMsgDetail").size()) << "deleting touches only the local file";

  // A message that is no longer stored cannot be deleted twice.
  DeleteMessageFile(kLogonId, 12);
  app.ClearCalls();
  Command(ID_MSG_DELETE);
  EXPECT_EQ((std::vector<std::string>{"box 64 消息删除失败。"}), Boxes());
}

TEST_F(MsgDlgTest, ALinkOpensInTheBrowserWithItsExactAddress)
{
  gateway.script("viewMsgDetail", Reply::success(Message(9)));
  // The browser is a stand-in that records its command line.
  StartGateway(std::string("[browser]\ncommand = ") + COMMON_TEST_CHILD + "\n");
  Open();
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, u"ChildDone");
  HWND viewer = dialog->GetViewer();
  ui.Invoke([&] { SetFocus(viewer); });
  ASSERT_TRUE(kvtest::PressKey(VK_DOWN));  // the focus onto the link
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  // The clock is virtual: the child's end is polled, within the real-time bound.
  ASSERT_TRUE(RunUntil([&] { return WaitForSingleObject(done, 0) == WAIT_OBJECT_0; }));
  CloseHandle(done);
  std::ifstream file(root.path() + "/Temp/child.txt", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  EXPECT_EQ(u"https://example.com/msg/9",
            std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2));
  EXPECT_TRUE(dialog->IsWindow());
}

TEST_F(MsgDlgTest, AnUnreadCountDuringTheWaitChangesNothing)
{
  gateway.script("viewMsgDetail", Reply::stall(Reply::success(Message(12))));
  StartGateway();
  ui.Invoke([&] { dialog = std::make_unique<CMsgDlg>(); });
  ui.Post([&] { dialog->ShowDialog(nullptr, 0, FALSE, TRUE); });
  ASSERT_TRUE(gateway.waitForRequest("viewMsgDetail"));
  std::thread([&] {
    service->ListenerPart()->OnServiceNotify(32, S_OK, 7, nullptr);
    service->ListenerPart()->OnServiceNotify(33, S_OK, 0, u"失败");
  }).join();
  EXPECT_TRUE(Boxes().empty());
  EXPECT_FALSE(Called("ShowUnreadCount"));
  gateway.releaseStalled();
  ASSERT_TRUE(RunUntil([&] { return Settled(); }));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(12, Shown());
  EXPECT_TRUE(Boxes().empty());
  EXPECT_TRUE(Called("ShowUnreadCount(3)"));
}

// The message at each screen size, portrait and landscape: the layout check and screenshots for
// a reviewer.
TEST_F(MsgDlgTest, EachScreenSize)
{
  gateway.script("viewMsgDetail", Reply::success(Message(12)));
  StartGateway();
  for (auto [width, height] : kvtest::kLookSizes) {
    std::string size = kvtest::SizeName(width, height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    gateway.clearRequests();
    Open();
    ASSERT_TRUE(dialog->IsWindow());
    EXPECT_TRUE(IsWindowVisible(dialog->GetViewer()));
    // The viewer keeps clear of the title strip and the soft-key bar (26 pixels each at 240 wide).
    RECT viewer{};
    GetWindowRect(dialog->GetViewer(), &viewer);
    int bar = 26 * std::min(width, height) / 240;
    EXPECT_EQ(bar, viewer.top);
    EXPECT_EQ(height - bar, viewer.bottom);
    kvtest::ExpectSoundLayout(ui, *dialog, "messages_" + size);
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      dialog.reset();
    });
    app.ClearCalls();
  }
}

}  // namespace
