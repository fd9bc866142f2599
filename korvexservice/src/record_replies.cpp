// The operations whose reply is one flat record.
#include <new>

#include "base/lasterror.h"
#include "gateway_address.h"
#include "net_transport.h"
#include "reply_fields.h"
#include "reply_operations.h"
#include "service_results.h"
#include "session_records.h"

namespace {

// A failed check as most operations report it; otherwise a new record filled by fill (which
// also does what the reply leaves for later requests), given with the success code.
template <class Record, class Fill>
void GiveRecord(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out, Fill fill)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  auto record = std::make_unique<Record>();
  fill(reply.json, *record);
  out.Give(operation.successCode, S_OK, std::move(record));
}

void ParseSid(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<SidResult>(operation, reply, out, [&](const Json::Value& json, SidResult& r) {
    r.resultStatus = reply.status;
    r.sid = ReadText(json, u"sid");
  });
}

void ParsePucPay(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<PucPayResult>(operation, reply, out, [&](const Json::Value& json, PucPayResult& r) {
    r.resultStatus = reply.status;
    r.url = ReadText(json, u"url");
  });
}

void ParsePreRegister(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<PreRegisterResult>(operation, reply, out, [](const Json::Value& json, PreRegisterResult& r) {
    r.resultStatus = 100;
    r.checkCode = ReadText(json, u"checkCode");
    KeepSessionKey(json);
  });
}

void ParseMsgDetail(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<MsgDetailResult>(operation, reply, out, [](const Json::Value& json, MsgDetailResult& r) {
    r.msgId = ReadInt(json, u"msgId");
    r.msgLevel = ReadText(json, u"msgLevel");
    r.msgTopic = ReadText(json, u"msgTopic");
    r.msgContent = ReadText(json, u"msgContent");
    r.msgType = ReadText(json, u"MsgType");
    r.msgDate = ReadText(json, u"msgDate");
    r.msgCount = ReadInt(json, u"msgCount");
    r.msgFrom = ReadText(json, u"msgFrom");
  });
}

void ParseBalance(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<BalanceResult>(operation, reply, out, [&](const Json::Value& json, BalanceResult& r) {
    r.resultStatus = reply.status;
    r.memo = ReadText(json, u"memo");
    r.currentBalance = ReadText(json, u"currentBalance");
    r.availableBalance = ReadText(json, u"availableBalance");
  });
}

void ParseEasyownRate(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<EasyownRateResult>(operation, reply, out, [](const Json::Value& json, EasyownRateResult& r) {
    r.rate = ReadText(json, u"rate");
    r.balance = ReadText(json, u"balance");
  });
}

void ParseEasyownDeposit(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<EasyownDepositResult>(operation, reply, out, [](const Json::Value& json, EasyownDepositResult& r) {
    r.depositId = ReadText(json, u"depositId");
  });
  if (reply.Passed()) {
    out.SetMemo(ReadMemo(reply.json));
  }
}

void ParsePrePay(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<PrePayResult>(operation, reply, out, [](const Json::Value& json, PrePayResult& r) {
    r.resultStatus = 100;
    r.isQuser = ReplyNumber(json, u"isQuser") == 1;
    r.toPayUserName = ReadText(json, u"toPayUserName");
    r.toPayAccount = ReadText(json, u"toPayAccount");
    KeepSessionKey(json);
  });
}

void ParseWithdrawInfo(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<WithdrawInfo>(operation, reply, out, [](const Json::Value& json, WithdrawInfo& r) {
    r.userName = ReadText(json, u"userName");
    r.bankName = ReadText(json, u"bankName");
    r.accountType = ReadText(json, u"accountType");
    r.bankAccountNO = ReadText(json, u"bankAccountNO");
    r.availableAmount = ReadText(json, u"availableAmount");
    r.onceAvailableAmount = ReadText(json, u"onceAvailableAmount");
    KeepSessionKey(json);
  });
}

void ParsePhoneTopUp(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  GiveRecord<PhoneTopUpInfo>(operation, reply, out, [](const Json::Value& json, PhoneTopUpInfo& r) {
    r.toMobileAmount = ReadText(json, u"toMobileAmount");
    r.toPayAmount = ReadText(json, u"toPayAmount");
    r.toMobileNO = ReadText(json, u"toMobileNO");
    r.availableBalance = ReadText(json, u"availableBalance");
    r.goodsName = ReadText(json, u"goodsName");
    r.merName = ReadText(json, u"merName");
    KeepSessionKey(json);
    SetUserRecord(r.toMobileAmount.c_str(), r.toPayAmount.c_str(), r.toMobileNO.c_str());
  });
}

// The record is made for every outcome: the listener learns the download also from a refusal.
void ParseUpdate(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  auto record = std::make_unique<UpdateResult>();
  if (reply.Passed()) {
    record->resultStatus = 100;
    record->downloadURL = ReadText(reply.json, u"downloadURL");
    out.Give(operation.successCode, S_OK, std::move(record));
  } else if (reply.Refused()) {
    record->resultStatus = reply.status;
    record->downloadURL = ReadText(reply.json, u"downloadURL");
    out.Give(64, E_SERVICE_BUSINESS, std::move(record));
    out.SetMemo(ReadMemo(reply.json));
  } else {
    out.Give(operation.failureCode, reply.check, std::move(record));
  }
}

// Every reply gives a check-code record; a failed one says only that something went wrong.
void ParseCheckCode(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  auto record = std::make_unique<CheckCodeResult>();
  if (reply.Passed()) {
    record->resultStatus = reply.status;
    record->memo = ReadText(reply.json, u"memo");
    record->loginCheckCodeImg = ReadText(reply.json, u"loginCheckCodeImg");
    out.SetMemo(ReadMemo(reply.json));
  } else {
    record->resultStatus = 8000;
    record->memo = u"未知错误";
  }
  out.Give(operation.successCode, S_OK, std::move(record));
}

// The failure of a reply that could not be read, with the user's text for the error.
void SetUnreadable(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  out.Set(operation.failureCode, reply.check);
  out.SetMemo(LookupErrorText(reply.check));
}

void ParseRegister(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed() && !reply.Refused()) {
    SetUnreadable(operation, reply, out);
    return;
  }
  auto record = std::make_unique<RegisterResult>();
  record->resultStatus = reply.status;
  record->smsCode = ReadText(reply.json, u"smsCode");
  record->smsContent = ReadText(reply.json, u"smsContent");
  record->checkCode = ReadText(reply.json, u"checkCode");
  if (reply.Passed()) {
    out.Give(operation.successCode, S_OK, std::move(record));
  } else {
    KeepSessionKey(reply.json);
    out.Give(operation.failureCode, E_SERVICE_BUSINESS, std::move(record));
  }
  out.SetMemo(ReadMemo(reply.json));
}

void ParseBill(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed() && !reply.Refused()) {
    SetUnreadable(operation, reply, out);
    return;
  }
  auto record = std::make_unique<BillResult>();
  record->resultStatus = reply.status;
  record->memo = ReadText(reply.json, u"memo");
  record->billNO = ReadText(reply.json, u"billNO");
  record->sellerName = ReadText(reply.json, u"sellerName");
  record->goodsName = ReadText(reply.json, u"goodsName");
  record->tradeFrom = ReadText(reply.json, u"tradeFrom");
  record->totalFee = ReadText(reply.json, u"totalFee");
  record->availableBalance = ReadText(reply.json, u"availableBalance");
  if (reply.Passed()) {
    out.Give(operation.successCode, S_OK, std::move(record));
  } else {
    if (reply.status == 888) {
      KeepSessionKey(reply.json);
    }
    out.Give(operation.failureCode, E_SERVICE_BUSINESS, std::move(record));
  }
  out.SetMemo(ReadMemo(reply.json));
}

}  // namespace

const ReplyOperation kAmusementReply{.parse = ParseSid, .successCode = 73, .failureCode = 74};
const ReplyOperation kPucPayReply{.parse = ParsePucPay, .successCode = 71, .failureCode = 72};
const ReplyOperation kPreRegisterReply{
    .parse = ParsePreRegister, .successCode = 81, .failureCode = 82, .outOfMemoryMemo = kOutOfMemoryText};
const ReplyOperation kViewMsgDetailReply{
    .parse = ParseMsgDetail, .successCode = 75, .failureCode = 76, .outOfMemoryMemo = u"内存不足！"};
const ReplyOperation kQueryBalanceReply{.parse = ParseBalance, .successCode = 12, .failureCode = 13};
const ReplyOperation kGetEasyownRateReply{
    .parse = ParseEasyownRate, .successCode = 34, .failureCode = 35, .outOfMemoryMemo = u"内存不足!"};
const ReplyOperation kEasyownDepositReply{
    .parse = ParseEasyownDeposit, .successCode = 38, .failureCode = 39, .outOfMemoryMemo = u"内存不足!"};
const ReplyOperation kP2PPrePayReply{.parse = ParsePrePay,
                                     .successCode = 9,
                                     .failureCode = 8,
                                     .outOfMemoryMemo = u"内存不足！",
                                     .otherFailureMemo = u"未知错误！"};
const ReplyOperation kPreDrawMoneyReply{
    .parse = ParseWithdrawInfo, .successCode = 42, .failureCode = 43, .outOfMemoryMemo = u"内存不足!"};
const ReplyOperation kPreDeposit4MobileReply{
    .parse = ParsePhoneTopUp, .successCode = 50, .failureCode = 51, .outOfMemoryMemo = u"内存不足!"};
const ReplyOperation kUpdateReply{
    .parse = ParseUpdate, .successCode = 58, .failureCode = 65, .outOfMemoryMemo = u"内存不足！"};
const ReplyOperation kFetchCheckCodeReply{.parse = ParseCheckCode,
                                          .successCode = 87,
                                          .failureCode = 87,
                                          .outOfMemoryMemo = u"内存不足！",
                                          .networkFailureCode = 65};
const ReplyOperation kDoRegisterReply{
    .parse = ParseRegister, .successCode = 83, .failureCode = 84, .outOfMemoryMemo = kOutOfMemoryText};
const ReplyOperation kSendHttpRequestReply{
    .parse = ParseBill, .successCode = 85, .failureCode = 86, .outOfMemoryMemo = kOutOfMemoryText};

CHttpBillCommand::CHttpBillCommand(const Json::Value& params, IServiceListener* listener)
    : CReplyCommand(params, listener, kSendHttpRequestReply)
{
}

BOOL CHttpBillCommand::Execute()
{
  if (Params().isNull() || Listener() == nullptr) {
    SetLastError(static_cast<DWORD>(E_INVALIDARG));
    return FALSE;
  }
  std::unique_ptr<UrlAndBody> pair(new (std::nothrow) UrlAndBody);
  if (!pair) {
    SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));
    return FALSE;
  }
  pair->url = ReadText(Params(), u"url").c_str();
  pair->body = ReadText(Params(), u"optional").c_str();
  return SendPair(std::move(pair));
}
