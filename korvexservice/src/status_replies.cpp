// The operations whose reply is only a status, or one number or text.
#include "reply_operations.h"
#include "service_results.h"

namespace {

void ParseStatus(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  out.Set(operation.successCode, S_OK, operation.successValue);
  if (operation.successMemo) {
    out.SetMemo(ReadMemo(reply.json));
  }
}

// The status and memo, in a record that lives only during the notification.
void ParseStatusRecord(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  auto result = std::make_unique<CServiceResult>();
  result->resultStatus = reply.status;
  result->memo = ReadText(reply.json, u"memo");
  out.Lend(operation.successCode, S_OK, std::move(result));
  out.SetMemo(ReadMemo(reply.json));
}

void ParseNumber(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  out.Set(operation.successCode, S_OK, ReadInt(reply.json, operation.member));
}

void ParseText(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  out.LendText(operation.successCode, S_OK, ReadText(reply.json, operation.member));
}

}  // namespace

const ReplyOperation kTradePayReply{.parse = ParseStatus, .successCode = 58, .failureCode = 59};
const ReplyOperation kAddContactReply{.parse = ParseStatus, .successCode = 60, .failureCode = 61};
const ReplyOperation kRequestMCReply{.parse = ParseStatus, .successCode = 28, .failureCode = 29};
const ReplyOperation kConfirmBindingReply{
    .parse = ParseStatus, .successCode = 66, .failureCode = 67, .successMemo = true};
const ReplyOperation kConfirmGoodsReply{.parse = ParseStatus, .successCode = 68, .failureCode = 69, .successMemo = true};
const ReplyOperation kMcDepositReply{.parse = ParseStatus, .successCode = 22, .failureCode = 23, .successMemo = true};
const ReplyOperation kDrawMoneyReply{.parse = ParseStatus, .successCode = 44, .failureCode = 45, .successValue = 100};
const ReplyOperation kDeposit4MobileReply{
    .parse = ParseStatus, .successCode = 52, .failureCode = 53, .successValue = 100, .successMemo = true};
const ReplyOperation kGetEasyownResultReply{
    .parse = ParseStatus, .successCode = 36, .failureCode = 37, .successValue = 100};
const ReplyOperation kConfirmMobilePayReply{.parse = ParseStatusRecord, .successCode = 10, .failureCode = 11};

const ReplyOperation kP2PPayReply{
    .parse = ParseNumber, .successCode = 6, .failureCode = 7, .otherFailureMemo = u"未知错误！", .member = u"isContact"};
const ReplyOperation kGetMsgCountReply{
    .parse = ParseNumber, .successCode = 32, .failureCode = 33, .member = u"msgCount"};
const ReplyOperation kQueryTradeNumReply{
    .parse = ParseNumber, .successCode = 56, .failureCode = 57, .member = u"totalCount"};
const ReplyOperation kEbankDepositReply{.parse = ParseText, .successCode = 46, .failureCode = 47, .member = u"bankUrl"};
