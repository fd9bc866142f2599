// The command layer without a network: the registry, the reply check, the error texts, the
// session records and the facade's listener fan-out.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/lasterror.h"
#include "command_registry.h"
#include "inet/cookie.h"
#include "payment_service.h"
#include "service_command.h"
#include "service_errors.h"
#include "service_response.h"
#include "service_test_support.h"
#include "session_records.h"
#include "testgateway/gateway_key.h"

namespace {

using svcb_test::Notification;
using svcb_test::RecordingListener;
using svcb_test::Utf16;
using svcb_test::Utf8;

CServiceCommand* MakeFirst(const Json::Value& params, IServiceListener* listener)
{
  Json::Value tagged = params;
  tagged[u"made"] = u"first";
  return new CServiceCommand(tagged, listener);
}

CServiceCommand* MakeNothing(const Json::Value&, IServiceListener*)
{
  return nullptr;
}

TEST(CommandRegistry, UnknownNamesFailAndALaterRegistrationReplacesAnEarlierOne)
{
  CommandFactoryMap map;
  RecordingListener listener;
  Json::Value params(Json::objectValue);

  SetLastError(0);
  EXPECT_EQ(CreateServiceCommand(map, "queryBalance", params, &listener), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_NOTIMPL));

  RegisterCommandFactory(map, "queryBalance") = MakeFirst;
  RegisterCommandFactory(map, "queryBalance") = MakeServiceCommand<CServiceCommand>;
  CServiceCommand* command = CreateServiceCommand(map, "queryBalance", params, &listener);
  ASSERT_NE(command, nullptr);
  delete command;
  // Names compare bytewise.
  EXPECT_EQ(CreateServiceCommand(map, "QueryBalance", params, &listener), nullptr);

  RegisterCommandFactory(map, "full") = MakeNothing;
  EXPECT_EQ(CreateServiceCommand(map, "full", params, &listener), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_OUTOFMEMORY));
}

TEST(CommandRegistry, ExecuteRefusesMissingParametersOrListener)
{
  RecordingListener listener;
  CServiceCommand noParams(Json::Value(), &listener);
  SetLastError(0);
  EXPECT_FALSE(noParams.Execute());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_INVALIDARG));

  CServiceCommand noListener(Json::Value(Json::objectValue), nullptr);
  EXPECT_FALSE(noListener.Execute());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(E_INVALIDARG));
  EXPECT_TRUE(listener.Notifications().empty());
}

struct CheckCase {
  const char16_t* reply;  // null: no reply at all
  BOOL passes;
  HRESULT error;          // the last error when it does not pass
};

TEST(CheckServiceResponse, TellsSuccessRefusalEmptyAndUnparsableReplies)
{
  const CheckCase cases[] = {
      {u"{\"resultStatus\":100}", TRUE, 0},
      {u"{\"resultStatus\":100.0,\"memo\":\"ok\"}", TRUE, 0},
      {u"{\"resultStatus\":200,\"memo\":\"会话结束\"}", FALSE, E_SERVICE_BUSINESS},
      {u"{\"memo\":\"no status\"}", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":null}", FALSE, E_SERVICE_BAD_REPLY},
      {u"<html>502</html>", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":", FALSE, E_SERVICE_BAD_REPLY},
      {u"[100]", FALSE, E_SERVICE_BAD_REPLY},
      // A status that is no number is an unparsable reply, not an exception on the worker.
      {u"{\"resultStatus\":\"100\"}", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":true}", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":1e20}", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":{\"code\":100}}", FALSE, E_SERVICE_BAD_REPLY},
      {u"", FALSE, E_SERVICE_EMPTY_REPLY},
      {nullptr, FALSE, E_SERVICE_EMPTY_REPLY},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.reply != nullptr ? Utf8(c.reply) : "(null)");
    Json::Value reply;
    SetLastError(0);
    EXPECT_EQ(CheckServiceResponse(c.reply, reply), c.passes);
    if (!c.passes) {
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(c.error));
    }
  }
  Json::Value refused;
  CheckServiceResponse(u"{\"resultStatus\":200,\"memo\":\"会话结束\"}", refused);
  EXPECT_EQ(refused[u"memo"].asString(), u"会话结束");
}

TEST(LookupErrorText, KnowsOnlyTheCodesWithAFixedText)
{
  const struct {
    HRESULT hr;
    const char16_t* text;
  } cases[] = {
      {E_OUTOFMEMORY, u"内存不足"},
      {E_SERVICE_EMPTY_REPLY, u"服务器返回的数据不正确！"},
      {E_SERVICE_BAD_REPLY, u"解析服务器返回的数据时出错！"},
      {E_SERVICE_BUSINESS, nullptr},
      {E_SERVICE_NETWORK, nullptr},
      {E_FAIL, nullptr},
      {0, nullptr},
  };
  for (const auto& c : cases) {
    const WCHAR* text = LookupErrorText(c.hr);
    if (c.text == nullptr) {
      EXPECT_EQ(text, nullptr) << std::hex << c.hr;
    } else {
      ASSERT_NE(text, nullptr) << std::hex << c.hr;
      EXPECT_EQ(std::u16string(text), c.text);
    }
  }
}

TEST(SessionRecords, EncryptionNeedsARecordAndDecryptsToThePasswordAndStamp)
{
  device::testing::ScopedDeviceRoot root;
  CStringW out(u"left over");
  EncryptWithSessionKey(GetSessionRecord().get(), out, u"pw");
  EXPECT_TRUE(out.IsEmpty());

  testgateway::GatewayKey key;
  std::string stamp = key.issueTimeStamp();
  SetSessionRecord(Utf16(key.publicKeyText()).c_str(), Utf16(stamp).c_str());
  EncryptWithSessionKey(GetSessionRecord().get(), out, u"密码123");
  auto plain = key.decryptPassword(Utf8(out.GetString()), stamp);
  ASSERT_TRUE(plain.has_value());
  EXPECT_EQ(plain->password, "密码123");
}

TEST(SessionRecords, ReadersKeepTheirSnapshotWhileTheWorkerReplacesTheRecords)
{
  std::atomic<bool> stop{false};
  std::thread writer([&] {
    for (int i = 0; i < 20000; ++i) {
      SetSessionRecord(u"key", i % 2 ? u"odd" : u"even");
      SetUserRecord(u"10.00", u"9.80", i % 2 ? u"13800138000" : u"13900139000");
    }
    stop = true;
  });
  while (!stop) {
    std::shared_ptr<const SessionRecord> session = GetSessionRecord();
    if (session) {
      EXPECT_TRUE(session->timeStamp == u"odd" || session->timeStamp == u"even");
    }
    std::shared_ptr<const TopUpRecord> topUp = GetUserRecord();
    if (topUp) {
      EXPECT_EQ(topUp->toMobileNO.GetLength(), 11);
    }
  }
  writer.join();
}

TEST(SessionCookie, IsCutToTheSessionIdOfTheGatewayPage)
{
  device::testing::ScopedDeviceRoot root;
  std::ofstream(std::filesystem::path(root.path()) / "device.ini") << "[network]\ngateway = https://127.0.0.1:8443\n";
  CStringW cookie(u"stale");
  EXPECT_TRUE(GetGatewaySessionCookie(cookie).IsEmpty());

  InternetSetCookieW(u"https://127.0.0.1:8443/puc/webMC.htm", nullptr, u"lang=zh; path=/");
  EXPECT_EQ(GetGatewaySessionCookie(cookie), u"lang=zh");  // no session cookie: the whole text
  InternetSetCookieW(u"https://127.0.0.1:8443/puc/webMC.htm", nullptr, u"JSESSIONID=abc123; path=/");
  InternetSetCookieW(u"https://127.0.0.1:8443/puc/webMC.htm", nullptr, u"theme=blue; path=/");
  EXPECT_EQ(GetGatewaySessionCookie(cookie), u"JSESSIONID=abc123");
}

class FanOut : public ::testing::Test {
 protected:
  FanOut() { device::testing::UseVirtualClock(SYSTEMTIME{2010, 7, 4, 1, 12, 0, 0, 0}, 1000); }

  // Runs one fan-out on a thread of its own, as the network worker does.
  std::thread Deliver(int code)
  {
    return std::thread([this, code] { m_service.ListenerPart()->OnServiceNotify(code, E_SERVICE_BUSINESS, 7, u"memo"); });
  }

  CPaymentService m_service;
};

TEST_F(FanOut, EveryListenerHearsTheResult500MsLaterInOrderOfRegistration)
{
  RecordingListener first;
  RecordingListener second;
  m_service.AddListener(&first);
  m_service.AddListener(&second);
  m_service.AddListener(&first);  // twice: called twice
  m_service.RemoveListener(&first);  // once: one entry stays
  m_service.AddListener(&first);
  m_service.AddListener(nullptr);

  std::thread worker = Deliver(42);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(499);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  EXPECT_TRUE(first.Notifications().empty());
  device::testing::AdvanceClock(1);
  worker.join();

  ASSERT_EQ(second.Notifications().size(), 1u);
  ASSERT_EQ(first.Notifications().size(), 2u);
  for (const Notification& n : {second.Notifications()[0], first.Notifications()[0], first.Notifications()[1]}) {
    EXPECT_EQ(n.code, 42);
    EXPECT_EQ(n.hr, E_SERVICE_BUSINESS);
    EXPECT_EQ(n.value, 7);
    EXPECT_EQ(n.memo, u"memo");
    EXPECT_EQ(n.tick, 1500u);
    EXPECT_NE(n.thread, GetCurrentThreadId());
  }
}

// Removes another listener from inside its own call, as a dialog closing on the user-interface
// thread does while the fan-out walks its copy of the list.
class RemovingListener : public RecordingListener {
 public:
  RemovingListener(CPaymentService& service, IServiceListener* other) : m_service(service), m_other(other) {}
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override
  {
    m_service.RemoveListener(m_other);
    m_service.RemoveListener(this);  // its own removal from inside its call must not wait for itself
    return RecordingListener::OnServiceNotify(code, hr, value, memo);
  }

 private:
  CPaymentService& m_service;
  IServiceListener* m_other;
};

TEST_F(FanOut, AListenerRemovedDuringTheWalkIsNotCalled)
{
  RecordingListener gone;
  RemovingListener remover(m_service, &gone);
  m_service.AddListener(&remover);
  m_service.AddListener(&gone);
  std::thread worker = Deliver(5);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(500);
  worker.join();
  EXPECT_EQ(remover.Notifications().size(), 1u);
  EXPECT_TRUE(gone.Notifications().empty());
}

// Blocks in its call until released, noting whether it is inside.
class BlockingListener : public IServiceListener {
 public:
  int OnServiceNotify(int, HRESULT, LPARAM, const WCHAR*) override
  {
    m_inside = true;
    SetEvent(m_entered);
    WaitForSingleObject(m_release, INFINITE);
    m_inside = false;
    return 0;
  }
  HANDLE m_entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  HANDLE m_release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  std::atomic<bool> m_inside{false};
  ~BlockingListener() override
  {
    CloseHandle(m_entered);
    CloseHandle(m_release);
  }
};

TEST_F(FanOut, RemoveListenerReturnsOnlyOnceTheListenersCallHasEnded)
{
  BlockingListener listener;
  m_service.AddListener(&listener);
  std::thread worker = Deliver(1);
  ASSERT_TRUE(device::testing::WaitForClockWaiters(1));
  device::testing::AdvanceClock(500);
  ASSERT_EQ(WaitForSingleObject(listener.m_entered, 30000), WAIT_OBJECT_0);

  std::atomic<bool> removing{false};
  std::atomic<bool> insideWhenRemoved{true};
  std::thread remover([&] {
    removing = true;
    m_service.RemoveListener(&listener);
    insideWhenRemoved = listener.m_inside.load();
  });
  while (!removing) {
    std::this_thread::yield();
  }
  SetEvent(listener.m_release);
  remover.join();
  worker.join();
  EXPECT_FALSE(insideWhenRemoved);
}

}  // namespace
