// One merchant order through the service's side of the hand-off, with the client's stand-in
// (tests/fake_client_main.cpp) doing what the order tells it.
#include "proxycommon.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "dovrel_test_support.h"
#include "install_dir.h"
#include "testing/clock.h"
#include "testing/message_boxes.h"
#include "windows.h"

namespace {

using common_test::ReadDeviceFile;

struct Outcome {
  int code;
  std::u16string text;
};

Outcome PayOrder(const std::u16string& order)
{
  std::vector<WCHAR> result(4096, u'\0');
  DWORD capacity = 4095;
  int code = RunOrderPay(order.c_str(), result.data(), &capacity);
  return {code, result.data()};
}

std::string Utf16Bytes(const std::u16string& text)
{
  return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(char16_t));
}

class OrderPay : public dovrel_test::ClientDevice {
 protected:
  kvtest::MessageBoxAnswerer boxes_;
};

TEST_F(OrderPay, TheOutcomeIsWhatTheClientHandedBack)
{
  struct Case {
    const char* what;
    std::u16string order;
    int code;
    std::u16string text;
  } cases[] = {
      // The stand-in writes at its very first step: the block must exist before it runs.
      {"paid with trade data", u"fake=paid&data=T20240501", 0, u"T20240501"},
      {"paid without trade data", u"fake=paid", 0, u"result=successed"},
      {"paid with more trade data than the block holds", u"fake=oversize", 0, u"result=successed"},
      {"failed or cancelled", u"fake=failed", 4, u""},
      {"ended without handing anything back", u"fake=silent", 4, u""},
      {"died without handing anything back", u"fake=abort", 4, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome outcome = PayOrder(c.order);
    EXPECT_EQ(outcome.code, c.code);
    EXPECT_EQ(outcome.text, c.text);
    EXPECT_EQ(ReadDeviceFile(u"\\Temp\\fake_client.txt"), Utf16Bytes(u"/ORDERPAY:" + c.order));
  }
  EXPECT_TRUE(boxes_.Calls().empty());
}

TEST_F(OrderPay, WaitsInSlicesForAsLongAsTheClientRuns)
{
  device::testing::UseVirtualClock(SYSTEMTIME{2024, 5, 3, 1, 9, 30, 0, 0});
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"FakeClientGo");
  std::atomic<bool> done{false};
  Outcome outcome{};
  std::thread order([&] {
    outcome = PayOrder(u"fake=slow&data=late");
    done = true;
  });
  for (int slice = 0; slice < 3; ++slice) {
    EXPECT_TRUE(device::testing::WaitForClockWaiters(1));
    device::testing::AdvanceClock(1000);
  }
  EXPECT_FALSE(done);
  SetEvent(go);
  order.join();
  EXPECT_EQ(outcome.code, 0);
  EXPECT_EQ(outcome.text, u"late");
  CloseHandle(go);
}

TEST_F(OrderPay, ASecondOrderWhileOneIsInProgressFailsAtOnce)
{
  device::testing::UseVirtualClock(SYSTEMTIME{2024, 5, 3, 1, 9, 30, 0, 0});
  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"FakeClientGo");
  Outcome first{};
  std::thread order([&] { first = PayOrder(u"fake=slow"); });
  EXPECT_TRUE(device::testing::WaitForClockWaiters(1));  // the first order waits for its client

  Outcome second = PayOrder(u"fake=paid");
  EXPECT_EQ(second.code, 2);
  EXPECT_EQ(second.text, u"result=fail");
  std::vector<kvtest::MessageBoxCall> calls = boxes_.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].owner, nullptr);
  EXPECT_EQ(calls[0].text, u"Korvex收银台已经打开,请先完成上次的支付后再进入支付");
  EXPECT_EQ(calls[0].caption, u"Korvex收银台");

  SetEvent(go);
  order.join();
  EXPECT_EQ(first.code, 0);
  EXPECT_EQ(PayOrder(u"fake=paid").code, 0) << "the first order's end lets the next one in";
  CloseHandle(go);
}

TEST_F(OrderPay, AClientThatCannotBeStartedIsReported)
{
  struct Case {
    const char* what;
    std::u16string installFolder;  // empty: none in the registry
    std::u16string order;
    std::u16string box;
  } cases[] = {
      {"no install folder", u"", u"fake=paid", u"获取支付模块路径失败"},
      {"no client in it", u"\\Program Files\\Elsewhere", u"fake=paid", u"启动支付模块失败"},
      {"an order longer than a command line", dovrel_test::kInstallFolder,
       u"fake=paid&x=" + std::u16string(MAX_COMMAND_LINE, u'x'), u"启动支付模块失败"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    kvtest::MessageBoxAnswerer boxes;
    services::ServiceEntry entry = dovrel_test::DovrelEntry();
    entry.instDir = c.installFolder;
    ASSERT_EQ(services::WriteServiceEntry(entry), ERROR_SUCCESS);
    Outcome outcome = PayOrder(c.order);
    EXPECT_EQ(outcome.code, 2);
    EXPECT_EQ(outcome.text, u"");
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, c.box);
    EXPECT_EQ(boxes.Calls()[0].caption, u"Korvex收银台");
    EXPECT_NE(ReadDeviceFile(u"\\Temp\\dovrel_tests.exe.1.log").find(dovrel_test::Utf8(c.box)), std::string::npos);
  }
  EXPECT_EQ(ReadDeviceFile(u"\\Temp\\fake_client.txt"), "") << "no client ran";
}

TEST_F(OrderPay, TheClientsPathMustFitAPath)
{
  WCHAR path[MAX_PATH] = {};
  ASSERT_TRUE(GetMainProgramPath(path));
  EXPECT_EQ(std::u16string(path), u"\\Program Files\\Korvex\\KorvexPortal.exe");

  services::ServiceEntry entry = dovrel_test::DovrelEntry();
  entry.instDir = u"\\" + std::u16string(241, u'f');  // 242 characters: the path takes all 260
  ASSERT_EQ(services::WriteServiceEntry(entry), ERROR_SUCCESS);
  ASSERT_TRUE(GetMainProgramPath(path));
  EXPECT_EQ(std::u16string(path).size(), 259u);
  entry.instDir += u"f";
  ASSERT_EQ(services::WriteServiceEntry(entry), ERROR_SUCCESS);
  EXPECT_FALSE(GetMainProgramPath(path));
}

}  // namespace
