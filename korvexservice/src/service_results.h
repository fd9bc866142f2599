// Result records that reply parsers allocate with new and hand to the listener, which owns them
// from then on. Texts a reply lacks, or holds as null, are empty; numbers it lacks are 0.
#pragma once

#include <string>

// The status and memo that most records begin with.
struct CServiceResult {
  int resultStatus = 0;
  std::u16string memo;
};

// A login that succeeded (code 2), or one refused with a check code to show (code 4).
struct LoginResult : CServiceResult {
  std::u16string mobileNo;
  std::u16string userName;
  std::u16string logonId;
  std::u16string loginServerTime;
  std::u16string extraData;
  std::u16string loginCheckCodeUrl;
  std::u16string loginCheckCodeImg;
};

// An update offered or required (login code 3, "update").
struct UpdateResult : CServiceResult {
  std::u16string downloadURL;
};

// "amusement" (the "getSID" request): the entertainment pages' session id.
struct SidResult : CServiceResult {
  std::u16string sid;
};

// "pucPay" (also the "getPucBillPayUrl" request): the page that goes on with the payment.
struct PucPayResult : CServiceResult {
  std::u16string url;
};

// "preRegister": the check code of the registration form.
struct PreRegisterResult : CServiceResult {
  std::u16string checkCode;
};

// "viewMsgDetail": one message of the service.
struct MsgDetailResult {
  int msgId = 0;
  std::u16string msgLevel;
  std::u16string msgTopic;
  std::u16string msgContent;
  std::u16string msgType;  // the reply's "MsgType"
  std::u16string msgDate;
  int msgCount = 0;
  std::u16string msgFrom;
};

// "queryBalance".
struct BalanceResult : CServiceResult {
  std::u16string currentBalance;
  std::u16string availableBalance;
};

// "getEasyownRate": the charge-card fee rate and the balance.
struct EasyownRateResult {
  std::u16string rate;
  std::u16string balance;
};

// "easyownDeposit": the deposit to ask about with "getEasyownResult".
struct EasyownDepositResult {
  std::u16string depositId;
};

// "p2pPrePay": who is paid.
struct PrePayResult : CServiceResult {
  bool isQuser = false;
  std::u16string toPayUserName;
  std::u16string toPayAccount;
};

// "preDrawMoney": the account withdrawn to and the limits.
struct WithdrawInfo {
  std::u16string userName;
  std::u16string bankName;
  std::u16string accountType;
  std::u16string bankAccountNO;
  std::u16string availableAmount;
  std::u16string onceAvailableAmount;
};

// "preDeposit4Mobile": the quote of a phone top-up.
struct PhoneTopUpInfo {
  std::u16string toMobileAmount;
  std::u16string toPayAmount;
  std::u16string toMobileNO;
  std::u16string availableBalance;
  std::u16string goodsName;
  std::u16string merName;
};

// "fetchCheckCode" (the "getLoginCheckCode" request): the check-code image.
struct CheckCodeResult : CServiceResult {
  std::u16string loginCheckCodeImg;
};

// "doRegister" (the "register" request), also on a refusal.
struct RegisterResult : CServiceResult {
  std::u16string smsCode;
  std::u16string smsContent;
  std::u16string checkCode;
};

// "sendHttpRequest": the bill a page sent for payment, also on a refusal.
struct BillResult : CServiceResult {
  std::u16string billNO;
  std::u16string sellerName;
  std::u16string goodsName;
  std::u16string tradeFrom;
  std::u16string totalFee;
  std::u16string availableBalance;
};
