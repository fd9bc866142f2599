#include "reply_command.h"

#include "base/lasterror.h"
#include "reply_fields.h"
#include "service_response.h"
#include "session_records.h"

namespace {

// Thrown by ReadInt and caught by the command: the reply is not what the gateway sends.
struct MalformedReply {};

}  // namespace

void ReplyOutcome::SetMemo(const WCHAR* memo)
{
  if (memo != nullptr) {
    m_memo.emplace(memo);
  } else {
    m_memo.reset();
  }
}

CReplyCommand::CReplyCommand(const Json::Value& params, IServiceListener* listener, const ReplyOperation& operation)
    : CServiceCommand(params, listener), m_operation(operation)
{
}

void CReplyCommand::OnResponse(const WCHAR* text)
{
  ReplyOutcome outcome;
  {
    CheckedReply reply;
    if (!CheckServiceResponse(text, reply.json)) {
      reply.check = static_cast<HRESULT>(GetLastError());
    }
    reply.status = ReplyInt(reply.json, u"resultStatus");
    outcome = Parse(reply);
  }
  const WCHAR* memo = outcome.Memo();
  Notify(outcome.Code(), outcome.Hr(), outcome.TakeValue(), memo);
}

ReplyOutcome CReplyCommand::Parse(const CheckedReply& reply) const
{
  try {
    ReplyOutcome outcome;
    try {
      m_operation.parse(m_operation, reply, outcome);
    } catch (const MalformedReply&) {
      outcome = ReplyOutcome();
      CheckedReply unparsable;
      unparsable.check = E_SERVICE_BAD_REPLY;
      m_operation.parse(m_operation, unparsable, outcome);
    }
    return outcome;
  } catch (const std::bad_alloc&) {
    ReplyOutcome outcome;
    outcome.Set(m_operation.failureCode, E_OUTOFMEMORY);
    outcome.SetMemo(m_operation.outOfMemoryMemo);
    return outcome;
  }
}

void CReplyCommand::OnError(HRESULT hr, const WCHAR* text)
{
  int code = m_operation.networkFailureCode != 0 ? m_operation.networkFailureCode : m_operation.failureCode;
  Notify(code, hr, 0, text);
}

std::u16string ReadText(const Json::Value& node, const WCHAR* name)
{
  return ReplyText(node, name);
}

int ReadInt(const Json::Value& node, const WCHAR* name)
{
  std::optional<int> number = ReplyIntField(node, name);
  if (!number) {
    throw MalformedReply();
  }
  return *number;
}

std::optional<std::u16string> ReadMemo(const Json::Value& reply)
{
  if (!ReplyHas(reply, u"memo")) {
    return std::nullopt;
  }
  return ReplyText(reply, u"memo");
}

const Json::Value* ReadArray(const Json::Value& node, const WCHAR* name)
{
  if (node.type() != Json::objectValue || !node.isMember(name)) {
    return nullptr;
  }
  const Json::Value& member = node[name];
  return member.type() == Json::arrayValue ? &member : nullptr;
}

void KeepSessionKey(const Json::Value& reply)
{
  // A reply without a key leaves the stored one: replacing it by nothing would make every
  // later password encryption fail.
  if (!ReplyHas(reply, u"rsaPK")) {
    return;
  }
  SetSessionRecord(ReplyText(reply, u"rsaPK").c_str(), ReplyText(reply, u"rsaTS").c_str());
}

void SetCheckFailure(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (reply.Refused()) {
    out.Set(operation.failureCode, E_SERVICE_BUSINESS, reply.status);
    out.SetMemo(ReadMemo(reply.json));
  } else {
    out.Set(operation.failureCode, reply.check);
    out.SetMemo(operation.otherFailureMemo);
  }
}
