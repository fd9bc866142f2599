// The reply command itself, with parsers made for the test: exhausted memory while parsing,
// a number field that is not a number after a record was already made, and who frees the
// record a reply gives.
#include <gtest/gtest.h>

#include <atomic>
#include <new>
#include <thread>

#include "payment_service.h"
#include "reply_command.h"
#include "service_results.h"
#include "service_test_support.h"
#include "testing/clock.h"

namespace {

using svcb_test::RecordingListener;
using svcb_test::Utf8;

// Makes a record, then runs out of memory.
void ParseOutOfMemory(const ReplyOperation&, const CheckedReply&, ReplyOutcome& out)
{
  out.Give(71, S_OK, std::make_unique<SidResult>());
  throw std::bad_alloc();
}

// Makes a record, then reads "count"; an unreadable reply says which error it was run for.
void ParseCount(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    out.Give(operation.failureCode, reply.check, std::make_unique<SidResult>());
    return;
  }
  auto record = std::make_unique<SidResult>();
  record->resultStatus = ReadInt(reply.json, u"count");
  out.Give(operation.successCode, S_OK, std::move(record));
}

const ReplyOperation kOutOfMemory{.parse = ParseOutOfMemory, .successCode = 71, .failureCode = 72,
                                  .outOfMemoryMemo = u"内存不足！"};
const ReplyOperation kCount{.parse = ParseCount, .successCode = 1, .failureCode = 2};

TEST(ReplyCommand, ExhaustedMemoryReportsTheFailureCodeWithoutTheRecord)
{
  RecordingListener listener;
  CReplyCommand command(Json::Value(Json::objectValue), &listener, kOutOfMemory);
  command.OnResponse(u"{\"resultStatus\":100,\"url\":\"https://x\"}");
  ASSERT_EQ(listener.Notifications().size(), 1u);
  svcb_test::Notification n = listener.Notifications()[0];
  EXPECT_EQ(n.code, 72);
  EXPECT_EQ(n.hr, E_OUTOFMEMORY);
  EXPECT_EQ(n.value, 0);
  EXPECT_EQ(Utf8(n.memo), "内存不足！");
}

TEST(ReplyCommand, AFieldThatIsNoNumberRunsTheParserAsForAnUnparsableReply)
{
  RecordingListener listener;
  CReplyCommand command(Json::Value(Json::objectValue), &listener, kCount);
  command.OnResponse(u"{\"resultStatus\":100,\"count\":{\"n\":1}}");
  command.OnResponse(u"{\"resultStatus\":100,\"count\":2}");
  std::vector<svcb_test::Notification> seen = listener.Notifications();
  ASSERT_EQ(seen.size(), 2u);
  // The record begun for the reply is gone; the one of the unparsable run is handed over.
  EXPECT_EQ(seen[0].code, 2);
  EXPECT_EQ(seen[0].hr, E_SERVICE_BAD_REPLY);
  std::unique_ptr<SidResult> failed(reinterpret_cast<SidResult*>(seen[0].value));
  ASSERT_NE(failed, nullptr);
  EXPECT_EQ(failed->resultStatus, 0);
  EXPECT_EQ(seen[1].code, 1);
  std::unique_ptr<SidResult> counted(reinterpret_cast<SidResult*>(seen[1].value));
  ASSERT_NE(counted, nullptr);
  EXPECT_EQ(counted->resultStatus, 2);
}

// A record that counts how often it is deleted.
std::atomic<int> g_tracedDeletions{0};

struct TracedRecord : SidResult {
  ~TracedRecord() { ++g_tracedDeletions; }
};

void ParseTraced(const ReplyOperation& operation, const CheckedReply&, ReplyOutcome& out)
{
  out.Give(operation.successCode, S_OK, std::make_unique<TracedRecord>());
}

const ReplyOperation kTraced{.parse = ParseTraced, .successCode = 73, .failureCode = 74};

// What becomes of the facade's only listener between the reply and the fan-out.
enum class ListenerFate { stays, removedDuringThePause, detachedBeforeTheReply };

// A record that reaches a listener is that listener's to delete; one that reaches nobody is
// deleted by the service client, once.
TEST(ReplyCommand, TheRecordIsDeletedOnceByItsListenerOrWhenNobodyReceivesIt)
{
  const struct {
    const char* name;
    ListenerFate fate;
  } cases[] = {
      {"received", ListenerFate::stays},
      {"listener removed during the pause", ListenerFate::removedDuringThePause},
      {"facade detached from its commands", ListenerFate::detachedBeforeTheReply},
  };
  device::testing::UseVirtualClock(SYSTEMTIME{2010, 7, 4, 1, 12, 0, 0, 0});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    g_tracedDeletions = 0;
    CPaymentService service;
    RecordingListener listener;
    service.AddListener(&listener);
    CReplyCommand command(Json::Value(Json::objectValue), service.ListenerPart(), kTraced);
    if (c.fate == ListenerFate::detachedBeforeTheReply) {
      DetachServiceCommands(service.ListenerPart());
    }
    // The reply arrives on a thread of its own, as on the network worker.
    std::thread worker([&] { command.OnResponse(u"{\"resultStatus\":100}"); });
    if (c.fate != ListenerFate::detachedBeforeTheReply) {
      EXPECT_TRUE(device::testing::WaitForClockWaiters(1));
      if (c.fate == ListenerFate::removedDuringThePause) {
        service.RemoveListener(&listener);
      }
      device::testing::AdvanceClock(CPaymentServiceBase::kFanOutDelayMs);
    }
    worker.join();

    std::vector<svcb_test::Notification> seen = listener.Notifications();
    if (c.fate == ListenerFate::stays) {
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_EQ(g_tracedDeletions, 0) << "the listener owns it";
      delete reinterpret_cast<TracedRecord*>(seen[0].value);
      service.RemoveListener(&listener);
    } else {
      EXPECT_TRUE(seen.empty());
    }
    EXPECT_EQ(g_tracedDeletions, 1);
  }
}

}  // namespace
