// The operations whose password the gateway wants encrypted under a key it hands out per
// request: the command first sends a key request ("getRSAPKey"), encrypts the stored password
// under the "rsaPK" of its reply (the password followed by "rsaTS"), and then sends the stored
// request. Only the reply to that second request is reported.
#pragma once

#include "json/value.h"
#include "service_command.h"

class CKeyedPasswordCommand : public CServiceCommand {
 public:
  struct Operation {
    const WCHAR* passwordField;  // the member of the stored request that holds the password
    int failureCode;
    bool keyRequestForStoredClient;  // the key request names the stored request's client
  };

  CKeyedPasswordCommand(const Json::Value& params, IServiceListener* listener, const Operation& operation);
  // Wipes the password that the stored request may still hold in plain text.
  ~CKeyedPasswordCommand() override;

  // The key request first; once the password is encrypted, the stored request.
  BOOL Execute() override;
  void OnResponse(const WCHAR* reply) override;
  void OnError(HRESULT hr, const WCHAR* text) override;

 protected:
  // The second reply said yes.
  virtual void NotifySuccess(const Json::Value& reply) = 0;
  // Either reply said no: the failure code, E_SERVICE_BUSINESS, the status and the memo.
  virtual void NotifyRefusal(const Json::Value& reply);
  int FailureCode() const { return m_operation.failureCode; }

 private:
  BOOL SendKeyRequest();
  // Replaces the stored password by its encryption under the reply's key; false when the key
  // gives no encryption.
  bool EncryptPassword(const Json::Value& keyReply);

  const Operation& m_operation;
  bool m_passwordEncrypted = false;
};

// "login": success 2 with a LoginResult; 3 with an UpdateResult for statuses 202 and 203; 4
// with a LoginResult for a refusal that brings a check-code image; 1 for every other failure.
class CLoginCommand : public CKeyedPasswordCommand {
 public:
  CLoginCommand(const Json::Value& params, IServiceListener* listener);

 protected:
  void NotifySuccess(const Json::Value& reply) override;
  void NotifyRefusal(const Json::Value& reply) override;
};

// "qUserInfoSupplement": success 77, failure 78.
class CUserInfoSupplementCommand : public CKeyedPasswordCommand {
 public:
  CUserInfoSupplementCommand(const Json::Value& params, IServiceListener* listener);

 protected:
  void NotifySuccess(const Json::Value& reply) override;
};

// "bindingMC": success 30, failure 31.
class CBindingMCCommand : public CKeyedPasswordCommand {
 public:
  CBindingMCCommand(const Json::Value& params, IServiceListener* listener);

 protected:
  void NotifySuccess(const Json::Value& reply) override;
};

// "draftDeposit": success 48 with the value 100 and the reply's memo, failure 49.
class CDraftDepositCommand : public CKeyedPasswordCommand {
 public:
  CDraftDepositCommand(const Json::Value& params, IServiceListener* listener);

 protected:
  void NotifySuccess(const Json::Value& reply) override;
};
