// The network transport against the test gateway: order and thread of the sink calls,
// failures, empty replies and cancellation; and commands that finish or fail to start.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "base/lasterror.h"
#include "command_registry.h"
#include "gateway_address.h"
#include "http_result.h"
#include "net_transport.h"
#include "payment_service.h"
#include "service_errors.h"
#include "service_test_support.h"
#include "net/connmgr.h"
#include "testing/connections.h"
#include "user/message_queue.h"
#include "user/messages.h"

namespace {

using svcb_test::ClockDriver;
using svcb_test::GatewayDevice;
using svcb_test::RecordingListener;
using svcb_test::Utf8;
using testgateway::RecordedRequest;
using testgateway::Reply;

struct SinkCall {
  std::string what;  // "response", "error" or "done"
  std::u16string text;
  HRESULT hr = 0;
  DWORD thread = 0;
};

class RecordingSink : public IReplySink {
 public:
  void OnResponse(const WCHAR* reply) override { Add({"response", reply, 0, GetCurrentThreadId()}); }
  void OnError(HRESULT hr, const WCHAR* text) override { Add({"error", text, hr, GetCurrentThreadId()}); }
  void OnRequestDone(CNetRequest*) override { Add({"done", u"", 0, GetCurrentThreadId()}); }

  bool WaitFor(size_t count)
  {
    std::unique_lock<std::mutex> guard(m_lock);
    return m_changed.wait_for(guard, std::chrono::seconds(30), [&] { return m_calls.size() >= count; });
  }
  std::vector<SinkCall> Calls()
  {
    std::lock_guard<std::mutex> guard(m_lock);
    return m_calls;
  }

 private:
  void Add(SinkCall call)
  {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_calls.push_back(std::move(call));
    }
    m_changed.notify_all();
  }
  std::mutex m_lock;
  std::condition_variable m_changed;
  std::vector<SinkCall> m_calls;
};

CNetRequest* SendBody(const char16_t* body, IReplySink& sink)
{
  auto pair = std::make_unique<UrlAndBody>();
  pair->url = GetGatewayUrl(kGatewayRequestPath);
  pair->body = body;
  return GetTransport()->Send(std::move(pair), &sink);
}

class Transport : public ::testing::Test {
 protected:
  GatewayDevice m_device;
  ClockDriver m_clock;
};

TEST_F(Transport, RequestsArePostedAsFormDataAndAnsweredInOrderOnTheWorker)
{
  m_device.Gateway().scriptHandler("echo", [](const RecordedRequest& r) {
    return Reply::success({{"seq", (*r.json)["seq"]}});
  });
  m_device.Start();
  RecordingSink sinks[3];
  const char16_t* bodies[] = {u"{\"operationType\":\"echo\",\"seq\":1}\n", u"{\"operationType\":\"echo\",\"seq\":2}\n",
                              u"{\"operationType\":\"echo\",\"seq\":3}\n"};
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(SendBody(bodies[i], sinks[i]), nullptr);
  }
  DWORD worker = 0;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(sinks[i].WaitFor(2));
    std::vector<SinkCall> calls = sinks[i].Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].what, "response");
    EXPECT_EQ(Utf8(calls[0].text), "{\"resultStatus\":100,\"seq\":" + std::to_string(i + 1) + "}");
    EXPECT_EQ(calls[1].what, "done");
    EXPECT_NE(calls[0].thread, GetCurrentThreadId());
    if (worker == 0) {
      worker = calls[0].thread;
    }
    EXPECT_EQ(calls[0].thread, worker);
  }
  std::vector<RecordedRequest> sent = m_device.Gateway().requestsOf("echo");
  ASSERT_EQ(sent.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(sent[i].method, "POST");
    EXPECT_EQ(sent[i].path, "/home/mobile.htm");
    EXPECT_TRUE(sent[i].tls);
    EXPECT_EQ((*sent[i].json)["seq"], i + 1);
    // The writer's line feed travels escaped at the end of the form field.
    EXPECT_TRUE(sent[i].body.ends_with("%0a") || sent[i].body.ends_with("%0A")) << sent[i].body;
  }
}

TEST_F(Transport, FailuresReachOnErrorOnceAndAnEmptyReplyOnlyAsANetworkFailure)
{
  m_device.Gateway().script("empty", Reply::http(200, "", "application/json;charset=UTF-8"));
  m_device.Gateway().script("broken", Reply::http(500, "oops"));
  m_device.Start();
  CStringW statusText;
  GetNetErrorText(kHttpConnectFailed, statusText);
  const struct {
    const char16_t* body;
    std::u16string text;
  } cases[] = {
      {u"{\"operationType\":\"empty\"}\n", u"连接服务器出错"},
      {u"{\"operationType\":\"broken\"}\n", statusText.GetString()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Utf8(c.body));
    RecordingSink sink;
    ASSERT_NE(SendBody(c.body, sink), nullptr);
    ASSERT_TRUE(sink.WaitFor(2));
    std::vector<SinkCall> calls = sink.Calls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].what, "error");
    EXPECT_EQ(calls[0].hr, E_SERVICE_NETWORK);
    EXPECT_EQ(calls[0].text, c.text);
    EXPECT_EQ(calls[1].what, "done");
  }
}

TEST_F(Transport, ACancelledRequestIsDroppedWithoutAWord)
{
  m_device.Gateway().script("held", Reply::stall());
  m_device.Start();
  RecordingSink sink;
  CNetRequest* request = SendBody(u"{\"operationType\":\"held\"}\n", sink);
  ASSERT_NE(request, nullptr);
  ASSERT_TRUE(m_device.Gateway().waitForRequest("held").has_value());
  GetTransport()->Release(request);
  ASSERT_TRUE(sink.WaitFor(1));
  m_device.Gateway().releaseStalled();
  // The next request is carried normally, so the first has been fully handled by then.
  RecordingSink next;
  ASSERT_NE(SendBody(u"{\"operationType\":\"getRSAPKey\"}\n", next), nullptr);
  ASSERT_TRUE(next.WaitFor(2));
  std::vector<SinkCall> calls = sink.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].what, "done");
}

TEST_F(Transport, ACancelWhileWaitingForTheConnectionIsSilentToo)
{
  m_device.Start();
  // The data connection never comes up: only the cancel ends the worker's wait.
  device::testing::ScriptConnectionStatuses(IID_DestNetInternet, {CONNMGR_STATUS_WAITINGCONNECTION});
  RecordingSink sink;
  CNetRequest* request = SendBody(u"{\"operationType\":\"queryBalance\"}\n", sink);
  ASSERT_NE(request, nullptr);
  GetTransport()->Release(request);
  ASSERT_TRUE(sink.WaitFor(1));
  std::vector<SinkCall> calls = sink.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].what, "done");
  EXPECT_TRUE(m_device.Gateway().requests().empty());
}

TEST_F(Transport, ARequestTheWorkerCannotTakeIsFreedAndNoneIsReturned)
{
  m_device.Start();
  RecordingSink first;
  ASSERT_NE(SendBody(u"{\"operationType\":\"getRSAPKey\"}\n", first), nullptr);
  ASSERT_TRUE(first.WaitFor(2));
  // The worker ends; its queue goes with it, and a request can no longer be posted to it.
  DWORD worker = first.Calls()[0].thread;
  ASSERT_TRUE(PostThreadMessageW(worker, WM_QUIT, 0, 0));
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (PostThreadMessageW(worker, WM_NULL, 0, 0) && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(1));

  RecordingSink refused;
  SetLastError(0);
  EXPECT_EQ(SendBody(u"{\"operationType\":\"getRSAPKey\"}\n", refused), nullptr)
      << "a request that was not queued is not handed out (and the leak checker sees it freed)";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_THREAD_ID));
  EXPECT_TRUE(refused.Calls().empty());
}

// A command that tells when it is destroyed, and may refuse to start.
class TracedCommand : public CServiceCommand {
 public:
  TracedCommand(const Json::Value& params, IServiceListener* listener) : CServiceCommand(params, listener) {}
  ~TracedCommand() override { s_destroyed->Raise(); }
  BOOL Execute() override
  {
    if (s_refuse) {
      SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));
      return FALSE;
    }
    return CServiceCommand::Execute();
  }
  void OnResponse(const WCHAR* reply) override { Notify(77, S_OK, 0, reply); }

  static inline svcb_test::Flag* s_destroyed = nullptr;
  static inline bool s_refuse = false;
};

TEST_F(Transport, ACommandIsFreedWhenDoneAndALateCancelDoesNothing)
{
  m_device.Start();
  svcb_test::Flag destroyed;
  TracedCommand::s_destroyed = &destroyed;
  std::unique_ptr<CPaymentService> service(RegisterServiceCommands(u"KorvexPortal", u"client-1"));
  RegisterCommandFactory(GetCommandFactoryMap(), "queryBalance") = MakeServiceCommand<TracedCommand>;
  RecordingListener listener;
  service->AddListener(&listener);

  CServiceCommand* command = service->QueryBalance();
  ASSERT_NE(command, nullptr);
  ASSERT_TRUE(listener.WaitFor(1));
  EXPECT_EQ(listener.Notifications()[0].code, 77);
  ASSERT_TRUE(destroyed.Wait());
  service->Cancel(command);  // the command is gone: nothing happens
  service->Cancel(nullptr);

  service->RemoveListener(&listener);
}

TEST_F(Transport, AnOperationWhoseCommandCannotStartReturnsNoCommand)
{
  m_device.Start();
  svcb_test::Flag destroyed;
  TracedCommand::s_destroyed = &destroyed;
  TracedCommand::s_refuse = true;
  std::unique_ptr<CPaymentService> service(RegisterServiceCommands(u"KorvexPortal", u"client-1"));
  RegisterCommandFactory(GetCommandFactoryMap(), "queryBalance") = MakeServiceCommand<TracedCommand>;

  SetLastError(0);
  EXPECT_EQ(service->QueryBalance(), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_OUTOFMEMORY));
  EXPECT_TRUE(destroyed.IsRaised());  // freed at once
  EXPECT_TRUE(m_device.Gateway().requests().empty());

  TracedCommand::s_refuse = false;
}

TEST_F(Transport, CancellingAPendingFacadeCallSilencesIt)
{
  m_device.Gateway().script("queryBalance", Reply::stall());
  m_device.Start();
  svcb_test::Flag destroyed;
  TracedCommand::s_destroyed = &destroyed;
  std::unique_ptr<CPaymentService> service(RegisterServiceCommands(u"KorvexPortal", u"client-1"));
  RegisterCommandFactory(GetCommandFactoryMap(), "queryBalance") = MakeServiceCommand<TracedCommand>;
  RecordingListener listener;
  service->AddListener(&listener);

  CServiceCommand* command = service->QueryBalance();
  ASSERT_NE(command, nullptr);
  ASSERT_TRUE(m_device.Gateway().waitForRequest("queryBalance").has_value());
  service->Cancel(command);
  ASSERT_TRUE(destroyed.Wait());
  m_device.Gateway().releaseStalled();
  EXPECT_TRUE(listener.Notifications().empty());

  service->RemoveListener(&listener);
}

TEST_F(Transport, AFacadeDestroyedWhileACallIsPendingIsNeverCalledBack)
{
  // As at program exit: the facade goes while the worker still carries its request.
  m_device.Gateway().script("queryBalance", Reply::stall());
  m_device.Start();
  std::unique_ptr<CPaymentService> service(RegisterServiceCommands(u"KorvexPortal", u"client-1"));
  RecordingListener listener;
  service->AddListener(&listener);

  ASSERT_NE(service->QueryBalance(), nullptr);
  ASSERT_TRUE(m_device.Gateway().waitForRequest("queryBalance").has_value());
  service->RemoveListener(&listener);
  service.reset();
  m_device.Gateway().releaseStalled();
  ASSERT_TRUE(svcb_test::DrainNetWorker());
  EXPECT_TRUE(listener.Notifications().empty());
}

}  // namespace
