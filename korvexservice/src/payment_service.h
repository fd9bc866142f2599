// The service facade: one operation per gateway request. Each builds the request, starts the
// command of its dispatch name and returns it, or null (with the thread's last error) when
// nothing was started, in which case no notification will come; an operation that carries a
// password encrypted with the stored session key starts nothing without one (NTE_BAD_KEY), so no
// empty password goes out. Results reach the listeners of the base, on the network worker
// thread. Call the operations on the user-interface thread.
#pragma once

#include "base/types.h"
#include "json/value.h"
#include "payment_service_base.h"
#include "service_command.h"
#include "text/cstring.h"

// The unpaid-trade query that the login request carries in "extraParam".
struct TradeListQuery {
  int pageCount = 0;
  int nextPage = 0;
  CStringW startDateTime;
};

// A contact as "addContact" sends it.
struct ContactInfo {
  CStringW account;
  CStringW name;
};

class CPaymentService : public CPaymentServiceBase {
 public:
  // Cancels the commands still running for the facade and waits for a notification in
  // progress: the network worker never calls a destroyed facade.
  ~CPaymentService() override;

  // Cancels a command an operation returned: its reply is dropped and nobody is notified.
  // Safe for null and for a command that already finished.
  virtual void Cancel(CServiceCommand* command);

  virtual CServiceCommand* PreRegister();
  virtual CServiceCommand* Register(const WCHAR* phoneNO, const WCHAR* realName, const WCHAR* checkCode,
                                    const WCHAR* loginPassword, const WCHAR* payPassword);
  // checkCode may be null: the request then has no "loginCheckCode".
  virtual CServiceCommand* Login(const WCHAR* account, const WCHAR* password, const WCHAR* checkCode,
                                 const TradeListQuery& tradeQuery);
  virtual CServiceCommand* P2PPrePay(const WCHAR* toPayAccount, const WCHAR* toPayReason, const WCHAR* toPayAmount,
                                     const WCHAR* toPayMemo);
  virtual CServiceCommand* P2PPay(const WCHAR* payPassword);
  virtual CServiceCommand* ConfirmMobilePay();
  virtual CServiceCommand* QueryBalance();
  virtual CServiceCommand* QueryTransList(const WCHAR* timeRange, int nextPage, int pageCount);
  virtual CServiceCommand* QueryTradeLists(const WCHAR* queryTradeType, const WCHAR* timeRange, int nextPage,
                                           int pageCount);
  virtual CServiceCommand* QueryTradeDetail(const WCHAR* tradeNO);
  virtual CServiceCommand* PreRequestMC2();
  virtual CServiceCommand* RequestMC(const WCHAR* bankId, const WCHAR* realName, const WCHAR* idCardNO);
  virtual CServiceCommand* BindingMC(const WCHAR* bankCardNO, const WCHAR* payPassword);
  virtual CServiceCommand* PremcDeposit();
  virtual CServiceCommand* McDeposit(const WCHAR* mcBankId, const WCHAR* mcShortCode, const WCHAR* depositAmount,
                                     const WCHAR* payPassword);
  virtual CServiceCommand* GetMsgCount();
  virtual CServiceCommand* GetSupportedChargeCard();
  virtual CServiceCommand* EasyownDeposit(const WCHAR* cardNo, const WCHAR* cardPass, const WCHAR* cardAmount);
  virtual CServiceCommand* GetEasyownResult(const WCHAR* depositId);
  virtual CServiceCommand* GetSupportedBank();
  virtual CServiceCommand* EbankDeposit(const WCHAR* bankId, const WCHAR* depositAmount, const WCHAR* operatorType);
  virtual CServiceCommand* PreDrawMoney();
  virtual CServiceCommand* DrawMoney(const WCHAR* amount, const WCHAR* payPassword);
  virtual CServiceCommand* DraftDeposit(const WCHAR* draftNO, const WCHAR* draftPassword);
  virtual CServiceCommand* PreDeposit4Mobile(const WCHAR* toMobileNO, const WCHAR* toMobileAmount);
  // Sends the amounts and number of the last "preDeposit4Mobile" reply.
  virtual CServiceCommand* Deposit4Mobile(const WCHAR* payPassword);
  virtual CServiceCommand* PreOrderPay(const WCHAR* orderData);
  virtual CServiceCommand* QueryTradeNum(const WCHAR* timeRange, const WCHAR* queryTradeType);
  virtual CServiceCommand* TradePay(const WCHAR* tradeNo, const WCHAR* payPassword, const WCHAR* useCoupon,
                                    const WCHAR* couponAmount);
  virtual CServiceCommand* AddContact(const WCHAR* groupName, const ContactInfo& contact);
  virtual CServiceCommand* QueryContactLists();
  virtual CServiceCommand* Update(const WCHAR* productID, const WCHAR* productVersion);
  virtual CServiceCommand* ConfirmBinding(const WCHAR* phoneNO);
  virtual CServiceCommand* ConfirmGoods(const WCHAR* tradeNo, const WCHAR* payPassword);
  virtual CServiceCommand* PucPay(const WCHAR* billNO, const WCHAR* payPassword);
  virtual CServiceCommand* GetPucBillPayUrl();
  virtual CServiceCommand* GetSID();
  virtual CServiceCommand* ViewMsgDetail();
  virtual CServiceCommand* GetLoginCheckCode();
  virtual CServiceCommand* QUserInfoSupplement(const WCHAR* logonId, const WCHAR* userName, const WCHAR* payPassword);
  // Posts body to url instead of the gateway's request path; bodyLength is in characters.
  virtual CServiceCommand* SendHttpRequest(const WCHAR* url, const WCHAR* method, const WCHAR* body, int bodyLength);
  virtual CServiceCommand* GetEasyownRate();

  // "JSESSIONID=<id>" of the gateway's web pages; empty when there is no such cookie.
  virtual CStringW& GetSessionCookie(CStringW& out);
  virtual void SetSession(const WCHAR* publicKey, const WCHAR* timeStamp);
  // Kept for callers; nothing reads it.
  virtual void SetServiceOption(int option);

 private:
  // Creates the command of the dispatch name for the request and executes it; null when it
  // could not be created or sent (the command is freed then).
  CServiceCommand* Start(const char* dispatchName, Json::Value& request);
};

// Registers the command factories, keeps the client identity and creates the facade; null
// when the facade could not be made.
CPaymentService* RegisterServiceCommands(const WCHAR* productId, const WCHAR* clientId);

// The cookie text of the gateway page "/puc/webMC.htm" cut to "JSESSIONID=<id>"; the whole
// text when it holds no "JSESSIONID"; empty without cookies.
CStringW& GetGatewaySessionCookie(CStringW& out);
