#include "password_commands.h"

#include <memory>
#include <new>

#include "base/lasterror.h"
#include "client_identity.h"
#include "reply_fields.h"
#include "secret_json.h"
#include "service_errors.h"
#include "service_response.h"
#include "service_results.h"
#include "session_records.h"

namespace {

const CKeyedPasswordCommand::Operation kLogin{u"loginPassword", 1, true};
const CKeyedPasswordCommand::Operation kUserInfoSupplement{u"payPassword", 78, true};
const CKeyedPasswordCommand::Operation kBindingMC{u"payPassword", 31, true};
const CKeyedPasswordCommand::Operation kDraftDeposit{u"draftPassword", 49, false};

}  // namespace

CKeyedPasswordCommand::CKeyedPasswordCommand(const Json::Value& params, IServiceListener* listener,
                                             const Operation& operation)
    : CServiceCommand(params, listener), m_operation(operation)
{
}

CKeyedPasswordCommand::~CKeyedPasswordCommand()
{
  if (!m_passwordEncrypted && Params().isObject() && Params().isMember(m_operation.passwordField)) {
    WipeJsonText(Params()[m_operation.passwordField]);
  }
}

BOOL CKeyedPasswordCommand::Execute()
{
  if (m_passwordEncrypted) {
    return CServiceCommand::Execute();
  }
  if (Params().isNull() || Listener() == nullptr) {
    SetLastError(static_cast<DWORD>(E_INVALIDARG));
    return FALSE;
  }
  return SendKeyRequest();
}

BOOL CKeyedPasswordCommand::SendKeyRequest()
{
  Json::Value keyRequest(Json::objectValue);
  keyRequest[u"operationType"] = u"getRSAPKey";
  if (m_operation.keyRequestForStoredClient) {
    keyRequest[u"clientID"] = Params().get(u"clientID", Json::Value(u""));
  } else {
    keyRequest[u"clientID"] = GetClientId().GetString();
  }
  return Send(keyRequest);
}

bool CKeyedPasswordCommand::EncryptPassword(const Json::Value& keyReply)
{
  SessionRecord key;
  key.publicKey = ReplyText(keyReply, u"rsaPK").c_str();
  key.timeStamp = ReplyText(keyReply, u"rsaTS").c_str();
  Json::Value& field = Params()[m_operation.passwordField];
  const WCHAR* password = field.isString() ? field.asCString() : nullptr;
  CStringW encrypted;
  EncryptWithSessionKey(&key, encrypted, password != nullptr ? password : u"");
  WipeJsonText(field);
  field = encrypted.GetString();
  m_passwordEncrypted = true;
  return !encrypted.IsEmpty();
}

void CKeyedPasswordCommand::OnResponse(const WCHAR* text)
{
  Json::Value reply;
  if (CheckServiceResponse(text, reply)) {
    if (m_passwordEncrypted) {
      NotifySuccess(reply);
      return;
    }
    // The key reply: encrypt, then send the stored request; its reply is the one reported.
    if (!EncryptPassword(reply)) {
      Notify(FailureCode(), E_SERVICE_BAD_REPLY, 0, nullptr);
      return;
    }
    if (!Execute()) {
      Notify(FailureCode(), static_cast<HRESULT>(GetLastError()), 0, nullptr);
    }
    return;
  }
  HRESULT error = static_cast<HRESULT>(GetLastError());
  if (error == E_SERVICE_BUSINESS) {
    NotifyRefusal(reply);
  } else {
    Notify(FailureCode(), error, 0, nullptr);
  }
}

void CKeyedPasswordCommand::OnError(HRESULT hr, const WCHAR* text)
{
  Notify(FailureCode(), hr, 0, text);
}

void CKeyedPasswordCommand::NotifyRefusal(const Json::Value& reply)
{
  ReplyMemo memo(reply);
  Notify(FailureCode(), E_SERVICE_BUSINESS, ReplyInt(reply, u"resultStatus"), memo.get());
}

CLoginCommand::CLoginCommand(const Json::Value& params, IServiceListener* listener)
    : CKeyedPasswordCommand(params, listener, kLogin)
{
}

void CLoginCommand::NotifySuccess(const Json::Value& reply)
{
  std::unique_ptr<LoginResult> result(new (std::nothrow) LoginResult);
  if (!result) {
    Notify(FailureCode(), E_OUTOFMEMORY, 0, nullptr);
    return;
  }
  result->resultStatus = ReplyInt(reply, u"resultStatus");
  result->memo = ReplyText(reply, u"memo");
  result->mobileNo = ReplyText(reply, u"mobileNo");
  result->userName = ReplyText(reply, u"userName");
  result->logonId = ReplyText(reply, u"logonId");
  result->loginServerTime = ReplyText(reply, u"loginServerTime");
  result->extraData = ReplyText(reply, u"extraData");
  result->loginCheckCodeUrl = ReplyText(reply, u"loginCheckCodeUrl");
  result->loginCheckCodeImg = ReplyText(reply, u"loginCheckCodeImg");
  Notify(2, S_OK, ResultValue::Give(std::move(result)), nullptr);
}

void CLoginCommand::NotifyRefusal(const Json::Value& reply)
{
  int status = ReplyInt(reply, u"resultStatus");
  ReplyMemo memo(reply);
  if (status == 202 || status == 203) {
    std::unique_ptr<UpdateResult> update(new (std::nothrow) UpdateResult);
    if (!update) {
      Notify(FailureCode(), E_OUTOFMEMORY, 0, nullptr);
      return;
    }
    update->resultStatus = status;
    update->memo = memo.text();
    update->downloadURL = ReplyText(reply, u"downloadURL");
    Notify(3, S_OK, ResultValue::Give(std::move(update)), memo.get());
    return;
  }
  if (status == 411 || !ReplyHas(reply, u"loginCheckCodeImg")) {
    Notify(FailureCode(), E_SERVICE_BUSINESS, status, memo.get());
    return;
  }
  std::unique_ptr<LoginResult> checkCode(new (std::nothrow) LoginResult);
  if (!checkCode) {
    Notify(FailureCode(), E_OUTOFMEMORY, 0, nullptr);
    return;
  }
  checkCode->resultStatus = status;
  checkCode->memo = memo.text();
  checkCode->loginCheckCodeUrl = ReplyText(reply, u"loginCheckCodeUrl");
  checkCode->loginCheckCodeImg = ReplyText(reply, u"loginCheckCodeImg");
  Notify(4, S_OK, ResultValue::Give(std::move(checkCode)), memo.get());
}

CUserInfoSupplementCommand::CUserInfoSupplementCommand(const Json::Value& params, IServiceListener* listener)
    : CKeyedPasswordCommand(params, listener, kUserInfoSupplement)
{
}

void CUserInfoSupplementCommand::NotifySuccess(const Json::Value&)
{
  Notify(77, S_OK, 0, nullptr);
}

CBindingMCCommand::CBindingMCCommand(const Json::Value& params, IServiceListener* listener)
    : CKeyedPasswordCommand(params, listener, kBindingMC)
{
}

void CBindingMCCommand::NotifySuccess(const Json::Value&)
{
  Notify(30, S_OK, 0, nullptr);
}

CDraftDepositCommand::CDraftDepositCommand(const Json::Value& params, IServiceListener* listener)
    : CKeyedPasswordCommand(params, listener, kDraftDeposit)
{
}

void CDraftDepositCommand::NotifySuccess(const Json::Value& reply)
{
  ReplyMemo memo(reply);
  Notify(48, S_OK, 100, memo.get());
}
