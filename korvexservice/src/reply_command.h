// The command of an operation whose reply is parsed into a notification. Each operation is a
// ReplyOperation: its codes, its memos and its parser. The command checks the reply, runs
// the parser and notifies the listener exactly once with what the parser decided.
//
// Parsers read the reply with ReadText and ReadInt. A number member that holds anything but a
// number makes the reply unparsable: the parser is run again as for a reply that failed its
// check with E_SERVICE_BAD_REPLY, so nothing it did for the reply counts. Exhausted memory
// while parsing ends in the operation's out-of-memory notification.
#pragma once

#include <memory>
#include <new>
#include <optional>
#include <string>

#include "base/types.h"
#include "json/value.h"
#include "service_command.h"
#include "service_errors.h"

// A reply after CheckServiceResponse.
struct CheckedReply {
  HRESULT check = S_OK;  // S_OK when it passed, else the check's error
  Json::Value json;      // the parsed reply; null when it did not parse
  int status = 0;        // its "resultStatus"; 0 when it has none

  bool Passed() const { return check == S_OK; }
  bool Refused() const { return check == E_SERVICE_BUSINESS; }
};

// What the listener is told.
class ReplyOutcome {
 public:
  void Set(int code, HRESULT hr, LPARAM value = 0)
  {
    m_code = code;
    m_hr = hr;
    m_value = value;
  }
  // Copies the memo; null for none.
  void SetMemo(const WCHAR* memo);
  void SetMemo(std::optional<std::u16string> memo) { m_memo = std::move(memo); }

  // The value is the record, which the listener that receives it owns.
  template <class Record>
  void Give(int code, HRESULT hr, std::unique_ptr<Record> record)
  {
    Set(code, hr);
    m_value = ResultValue::Give(std::move(record));
  }
  // The value is the record (or text) for the call only; it is freed afterwards.
  template <class Record>
  void Lend(int code, HRESULT hr, std::unique_ptr<Record> record)
  {
    Set(code, hr, reinterpret_cast<LPARAM>(record.get()));
    m_lent = Owned(record.release(), [](void* p) { delete static_cast<Record*>(p); });
  }

  // The value is the text, valid for the call only.
  void LendText(int code, HRESULT hr, std::u16string text)
  {
    auto held = std::make_unique<std::u16string>(std::move(text));
    Set(code, hr, reinterpret_cast<LPARAM>(held->c_str()));
    m_lent = Owned(held.release(), [](void* p) { delete static_cast<std::u16string*>(p); });
  }

  int Code() const { return m_code; }
  HRESULT Hr() const { return m_hr; }
  const WCHAR* Memo() const { return m_memo ? m_memo->c_str() : nullptr; }
  // The value, with a given record in it.
  ResultValue TakeValue() { return std::move(m_value); }

 private:
  typedef std::unique_ptr<void, void (*)(void*)> Owned;

  int m_code = 0;
  HRESULT m_hr = S_OK;
  ResultValue m_value;
  std::optional<std::u16string> m_memo;
  Owned m_lent{nullptr, nullptr};
};

struct ReplyOperation;
typedef void (*ReplyParser)(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out);

struct ReplyOperation {
  ReplyParser parse;
  int successCode;
  int failureCode;                           // also the out-of-memory code
  const WCHAR* outOfMemoryMemo = nullptr;
  const WCHAR* otherFailureMemo = nullptr;   // for a failed check other than a refusal
  int networkFailureCode = 0;                // OnError's code; 0: failureCode
  LPARAM successValue = 0;                   // operations that report only a status
  bool successMemo = false;                  // likewise: the reply's memo with the success
  const WCHAR* member = nullptr;             // operations that report one member of the reply
};

class CReplyCommand : public CServiceCommand {
 public:
  CReplyCommand(const Json::Value& params, IServiceListener* listener, const ReplyOperation& operation);

  void OnResponse(const WCHAR* reply) override;
  // Notifies the network failure code with hr, 0 and the text.
  void OnError(HRESULT hr, const WCHAR* text) override;

 private:
  ReplyOutcome Parse(const CheckedReply& reply) const;

  const ReplyOperation& m_operation;
};

// The factory of the command of an operation.
template <const ReplyOperation& Operation>
CServiceCommand* MakeReplyCommand(const Json::Value& params, IServiceListener* listener)
{
  return new (std::nothrow) CReplyCommand(params, listener, Operation);
}

// ---- for parsers --------------------------------------------------------------------------

// The member as text; empty when absent, null, an array or an object.
std::u16string ReadText(const Json::Value& node, const WCHAR* name);
// The member as a number field: 0 when absent or null. Anything else that is not a number in
// int range makes the reply unparsable (the parse is abandoned).
int ReadInt(const Json::Value& node, const WCHAR* name);
// The reply's "memo", or none when it has no memo.
std::optional<std::u16string> ReadMemo(const Json::Value& reply);
// The member when it is an array; null otherwise.
const Json::Value* ReadArray(const Json::Value& node, const WCHAR* name);
// Replaces the session record with the reply's "rsaPK" and "rsaTS" when it has a key.
void KeepSessionKey(const Json::Value& reply);

// The failure most operations report: a refusal with the failure code, E_SERVICE_BUSINESS, its
// status and its memo; any other failed check with the failure code, the error, 0 and the
// operation's other-failure memo.
void SetCheckFailure(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out);
