// The account screens' tests: the payment screens' device, gateway and recording application,
// with a dialog of the test's kind opened over a recording opener and the helpers to type into
// its fields and read what the gateway received.
#pragma once

#include <memory>
#include <mutex>
#include <string>

#include "base_dlg.h"
#include "payment_screen_fixture.h"
#include "shell/sip.h"

namespace accounttest {

using kvtest::RunUntil;
using paytest::Wide;

// Moves the virtual clock on at the pace of real time while something waits on it. A request makes
// its connection in real time under time-outs on the virtual clock; while the wait box animates
// there is always a wait on the clock, and a clock moved on at every chance would end those
// time-outs before a connection on a busy machine is made.
class RealPaceClockDriver {
 public:
  RealPaceClockDriver()
  {
    thread_ = std::thread([this] {
      while (!stop_) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
        if (device::testing::ClockWaiters() > 0)
          device::testing::AdvanceClock(kStepMs);
      }
    });
  }
  ~RealPaceClockDriver()
  {
    stop_ = true;
    thread_.join();
  }
  RealPaceClockDriver(const RealPaceClockDriver&) = delete;
  RealPaceClockDriver& operator=(const RealPaceClockDriver&) = delete;

 private:
  static constexpr int kStepMs = 10;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

// A top window that is never shown, standing behind the dialogs as in the running program.
class TopWindow : public CBaseDlg {
 public:
  int GetTemplateId(int) override { return 0; }
};

template <class Dialog>
class AccountScreenTest : public paytest::PaymentScreenTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }
  void TearDown() override
  {
    app.SetMainDialog(nullptr);
    paytest::PaymentScreenTest::TearDown();
    realPaceClock.reset();
  }
  // The gateway, with the clock at the pace of real time, for a screen whose request goes
  // through the HTTP client's queue.
  void StartGateway()
  {
    paytest::PaymentScreenTest::StartGateway();
    clock.reset();
    realPaceClock = std::make_unique<RealPaceClockDriver>();
  }
  // Gives the application its top window. Made after the gateway started: a dialog object reads
  // the device's settings, which are then kept for the test.
  void UseTopWindow()
  {
    topWindow = std::make_unique<TopWindow>();
    app.SetMainDialog(topWindow.get());
  }

  // The dialog made by prepare (may be null) and shown over a recording opener.
  HWND Open(const std::function<void(Dialog&)>& prepare = nullptr)
  {
    if (!opener)
      opener = Opener();
    ui.Invoke([&] {
      dialog = std::make_unique<Dialog>();
      if (prepare)
        prepare(*dialog);
      dialog->ShowDialog(opener, 0, FALSE, TRUE);
      SipShowIM(SIPF_OFF);
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return dialog->m_hWnd;
  }
  void Close()
  {
    if (dialog && IsWindow(dialog->m_hWnd))
      ui.Invoke([&] { dialog->CloseDialog(2, FALSE); });
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }
  HWND Item(int id) { return GetDlgItem(dialog->m_hWnd, id); }
  // Focuses the field and types the text into it.
  void Type(HWND field, const std::u16string& text)
  {
    ui.Invoke([&] { SetFocus(field); });
    ASSERT_TRUE(kvtest::TypeText(text));
  }
  // Sends the command and returns once a box other than the wait showed or the dialog went.
  void Command(int id)
  {
    HWND window = dialog->m_hWnd;
    ui.Invoke([&] { PostMessageW(window, WM_COMMAND, id, 0); });
    ASSERT_TRUE(RunUntil([&] { return !Boxes().empty() || !IsWindow(window); })) << Recorded();
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // What the application and the gateway recorded, for a failure's message.
  std::string Recorded()
  {
    std::string text = "calls:";
    for (const std::string& call : app.Calls())
      text += " [" + call + "]";
    text += " requests:";
    for (const testgateway::RecordedRequest& request : gateway.requests())
      text += " " + request.operation;
    return text;
  }
  // The password the request carried, decrypted with the gateway's key.
  std::string SentPassword(const testgateway::RecordedRequest& request)
  {
    auto plain = gateway.key().decryptPassword(request.field("payPassword"));
    return plain ? plain->password : "<not decryptable>";
  }
  // Scripts every request of the operation to answer with the current reply.
  void AnswerWithCurrent(const std::string& operation)
  {
    gateway.scriptHandler(operation, [&](const testgateway::RecordedRequest&) {
      std::lock_guard<std::mutex> guard(currentLock);
      return current;
    });
  }
  void SetCurrent(const testgateway::Reply& reply)
  {
    std::lock_guard<std::mutex> guard(currentLock);
    current = reply;
  }
  // Another operation's notification (the unread count, code 32, with a memo of its own), from
  // the network worker's side; returns once every listener has been told.
  void NotifyUnreadCount()
  {
    std::thread([&] { service->ListenerPart()->OnServiceNotify(32, S_OK, 3, u"3条新消息"); }).join();
  }

  HWND opener = nullptr;
  std::unique_ptr<TopWindow> topWindow;
  std::unique_ptr<RealPaceClockDriver> realPaceClock;
  std::unique_ptr<Dialog> dialog;
  std::mutex currentLock;
  testgateway::Reply current = testgateway::Reply::success();
};

}  // namespace accounttest
