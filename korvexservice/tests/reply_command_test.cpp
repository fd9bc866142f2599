// The reply command itself, with parsers made for the test: exhausted memory while parsing,
// and a number field that is not a number after a record was already made.
#include <gtest/gtest.h>

#include <new>

#include "reply_command.h"
#include "service_results.h"
#include "service_test_support.h"

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

}  // namespace
