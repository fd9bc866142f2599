#include "payment_service.h"

#include <atomic>

#include "base/lasterror.h"
#include "client_identity.h"
#include "crypt/errors.h"
#include "command_registry.h"
#include "json/writer.h"
#include "secret_json.h"
#include "session_records.h"
#include "user/metrics.h"

namespace {

std::atomic<int> g_serviceOption{0};

const WCHAR* Text(const WCHAR* text)
{
  return text != nullptr ? text : u"";
}

// {"operationType", "clientID"}: the start of every gateway request.
Json::Value NewRequest(const WCHAR* operationType)
{
  Json::Value request(Json::objectValue);
  GetClientInfo();
  request[u"operationType"] = operationType;
  request[u"clientID"] = GetClientId().GetString();
  return request;
}

// Stores in the field the password followed by the stored time stamp, encrypted with the stored
// session key. False, with the last error NTE_BAD_KEY, when that cannot be done (no session key
// is stored, or the key takes no password): the request that would carry it is not sent.
bool PutEncrypted(const WCHAR* password, Json::Value& field)
{
  CStringW out;
  EncryptWithSessionKey(GetSessionRecord().get(), out, Text(password));
  if (out.IsEmpty()) {
    SetLastError(static_cast<DWORD>(NTE_BAD_KEY));
    return false;
  }
  field = out.GetString();
  return true;
}

// The unpaid-trade query the login request carries, as compact JSON text.
std::u16string TradeListQueryText(const TradeListQuery& query)
{
  Json::Value list = NewRequest(u"queryTradeLists");
  list[u"queryTradeType"] = u"waitPay";
  list[u"pageCount"] = query.pageCount;
  list[u"nextPage"] = query.nextPage;
  list[u"startDateTime"] = query.startDateTime.GetString();
  list[u"userRole"] = u"buyer";
  Json::FastWriter writer;
  return writer.write(list);
}

}  // namespace

CPaymentService::~CPaymentService()
{
  DetachServiceCommands(ListenerPart());
}

CServiceCommand* CPaymentService::Start(const char* dispatchName, Json::Value& request)
{
  CServiceCommand* command = CreateServiceCommand(GetCommandFactoryMap(), dispatchName, request, ListenerPart());
  if (command != nullptr && !command->Execute()) {
    // Nothing was sent, so no notification will come: the caller gets no command to wait on.
    DWORD error = GetLastError();
    delete command;
    SetLastError(error);
    command = nullptr;
  }
  return command;
}

void CPaymentService::Cancel(CServiceCommand* command)
{
  CancelServiceCommand(command);
}

CServiceCommand* CPaymentService::PreRegister()
{
  Json::Value request = NewRequest(u"preRegister");
  return Start("preRegister", request);
}

CServiceCommand* CPaymentService::Register(const WCHAR* phoneNO, const WCHAR* realName, const WCHAR* checkCode,
                                           const WCHAR* loginPassword, const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"register");
  request[u"phoneNO"] = Text(phoneNO);
  request[u"realName"] = Text(realName);
  request[u"checkCode"] = Text(checkCode);
  if (!PutEncrypted(loginPassword, request[u"loginPassword"]) ||
      !PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  return Start("doRegister", request);
}

CServiceCommand* CPaymentService::Login(const WCHAR* account, const WCHAR* password, const WCHAR* checkCode,
                                        const TradeListQuery& tradeQuery)
{
  DEVMODEW mode{};
  mode.dmSize = sizeof mode;
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode);

  Json::Value request = NewRequest(u"login");
  request[u"loginAccount"] = Text(account);
  // Sent as given: the command replaces it by its encryption under a key fetched first.
  request[u"loginPassword"] = Text(password);
  request[u"productID"] = GetProductId().GetString();
  request[u"productVersion"] = GetProductVersion().GetString();
  request[u"accessPoint"] = u"KorvexGPRS";
  request[u"userAgent"] = u"korvex";
  request[u"screenWidth"] = static_cast<Json::Int>(mode.dmPelsWidth);
  request[u"screenHigh"] = static_cast<Json::Int>(mode.dmPelsHeight);
  request[u"extraParam"] = TradeListQueryText(tradeQuery);
  if (checkCode != nullptr) {
    request[u"loginCheckCode"] = checkCode;
  }
  CServiceCommand* command = Start("login", request);
  WipeJsonText(request[u"loginPassword"]);
  return command;
}

CServiceCommand* CPaymentService::P2PPrePay(const WCHAR* toPayAccount, const WCHAR* toPayReason,
                                            const WCHAR* toPayAmount, const WCHAR* toPayMemo)
{
  Json::Value request = NewRequest(u"p2pPrePay");
  request[u"toPayAccount"] = Text(toPayAccount);
  request[u"toPayReason"] = Text(toPayReason);
  request[u"toPayAmount"] = Text(toPayAmount);
  request[u"toPayMemo"] = Text(toPayMemo);
  return Start("p2pPrePay", request);
}

CServiceCommand* CPaymentService::P2PPay(const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"p2pPay");
  if (!PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  return Start("p2pPay", request);
}

CServiceCommand* CPaymentService::ConfirmMobilePay()
{
  Json::Value request = NewRequest(u"confirmMobilePay");
  return Start("confirmMobilePay", request);
}

CServiceCommand* CPaymentService::QueryBalance()
{
  Json::Value request = NewRequest(u"queryBalance");
  return Start("queryBalance", request);
}

CServiceCommand* CPaymentService::QueryTransList(const WCHAR* timeRange, int nextPage, int pageCount)
{
  Json::Value request = NewRequest(u"queryTransList");
  request[u"timeRange"] = Text(timeRange);
  request[u"nextPage"] = nextPage;
  request[u"pageCount"] = pageCount;
  return Start("queryTransList", request);
}

CServiceCommand* CPaymentService::QueryTradeLists(const WCHAR* queryTradeType, const WCHAR* timeRange, int nextPage,
                                                  int pageCount)
{
  Json::Value request = NewRequest(u"queryTradeLists");
  request[u"queryTradeType"] = Text(queryTradeType);
  request[u"timeRange"] = Text(timeRange);
  request[u"nextPage"] = nextPage;
  request[u"pageCount"] = pageCount;
  return Start("queryTradeLists", request);
}

CServiceCommand* CPaymentService::QueryTradeDetail(const WCHAR* tradeNO)
{
  Json::Value request = NewRequest(u"queryTradeDetail");
  request[u"tradeNO"] = Text(tradeNO);
  return Start("queryTradeDetail", request);
}

CServiceCommand* CPaymentService::PreRequestMC2()
{
  Json::Value request = NewRequest(u"preRequestMC2");
  return Start("preRequestMC2", request);
}

CServiceCommand* CPaymentService::RequestMC(const WCHAR* bankId, const WCHAR* realName, const WCHAR* idCardNO)
{
  Json::Value request = NewRequest(u"requestMC");
  request[u"bankId"] = Text(bankId);
  request[u"realName"] = Text(realName);
  request[u"idCardNO"] = Text(idCardNO);
  return Start("requestMC", request);
}

CServiceCommand* CPaymentService::BindingMC(const WCHAR* bankCardNO, const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"bindingMC");
  request[u"bankCardNO"] = Text(bankCardNO);
  request[u"payPassword"] = Text(payPassword);  // encrypted by the command
  CServiceCommand* command = Start("bindingMC", request);
  WipeJsonText(request[u"payPassword"]);
  return command;
}

CServiceCommand* CPaymentService::PremcDeposit()
{
  Json::Value request = NewRequest(u"premcDeposit");
  return Start("premcDeposit", request);
}

CServiceCommand* CPaymentService::McDeposit(const WCHAR* mcBankId, const WCHAR* mcShortCode,
                                            const WCHAR* depositAmount, const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"mcDeposit");
  request[u"mcBankId"] = Text(mcBankId);
  request[u"mcShortCode"] = Text(mcShortCode);
  request[u"depositAmount"] = Text(depositAmount);
  if (!PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  return Start("mcDeposit", request);
}

CServiceCommand* CPaymentService::GetMsgCount()
{
  Json::Value request = NewRequest(u"getMsgCount");
  return Start("getMsgCount", request);
}

CServiceCommand* CPaymentService::GetSupportedChargeCard()
{
  Json::Value request = NewRequest(u"getSupportedChargeCard");
  return Start("getSupportedChargeCard", request);
}

CServiceCommand* CPaymentService::EasyownDeposit(const WCHAR* cardNo, const WCHAR* cardPass, const WCHAR* cardAmount)
{
  Json::Value request = NewRequest(u"easyownDeposit");
  request[u"cardNo"] = Text(cardNo);
  request[u"cardPass"] = Text(cardPass);
  request[u"cardAmount"] = Text(cardAmount);
  CServiceCommand* command = Start("easyownDeposit", request);
  WipeJsonText(request[u"cardPass"]);
  return command;
}

CServiceCommand* CPaymentService::GetEasyownResult(const WCHAR* depositId)
{
  Json::Value request = NewRequest(u"getEasyownResult");
  request[u"depositId"] = Text(depositId);
  return Start("getEasyownResult", request);
}

CServiceCommand* CPaymentService::GetSupportedBank()
{
  Json::Value request = NewRequest(u"getSupportedBank");
  return Start("getSupportedBank", request);
}

CServiceCommand* CPaymentService::EbankDeposit(const WCHAR* bankId, const WCHAR* depositAmount,
                                               const WCHAR* operatorType)
{
  Json::Value request = NewRequest(u"ebankDeposit");
  request[u"bankId"] = Text(bankId);
  request[u"depositAmount"] = Text(depositAmount);
  request[u"operatorType"] = Text(operatorType);
  return Start("ebankDeposit", request);
}

CServiceCommand* CPaymentService::PreDrawMoney()
{
  Json::Value request = NewRequest(u"preDrawMoney");
  return Start("preDrawMoney", request);
}

CServiceCommand* CPaymentService::DrawMoney(const WCHAR* amount, const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"drawMoney");
  request[u"amount"] = Text(amount);
  if (!PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  return Start("drawMoney", request);
}

CServiceCommand* CPaymentService::DraftDeposit(const WCHAR* draftNO, const WCHAR* draftPassword)
{
  Json::Value request = NewRequest(u"draftDeposit");
  request[u"draftNO"] = Text(draftNO);
  request[u"draftPassword"] = Text(draftPassword);  // encrypted by the command
  CServiceCommand* command = Start("draftDeposit", request);
  WipeJsonText(request[u"draftPassword"]);
  return command;
}

CServiceCommand* CPaymentService::PreDeposit4Mobile(const WCHAR* toMobileNO, const WCHAR* toMobileAmount)
{
  Json::Value request = NewRequest(u"preDeposit4Mobile");
  request[u"toMobileNO"] = Text(toMobileNO);
  request[u"toMobileAmount"] = Text(toMobileAmount);
  return Start("preDeposit4Mobile", request);
}

CServiceCommand* CPaymentService::Deposit4Mobile(const WCHAR* payPassword)
{
  std::shared_ptr<const TopUpRecord> quote = GetUserRecord();
  Json::Value request = NewRequest(u"deposit4Mobile");
  request[u"toMobileAmount"] = quote ? quote->toMobileAmount.GetString() : u"";
  request[u"toPayAmount"] = quote ? quote->toPayAmount.GetString() : u"";
  request[u"toMobileNO"] = quote ? quote->toMobileNO.GetString() : u"";
  if (!PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  return Start("deposit4Mobile", request);
}

CServiceCommand* CPaymentService::PreOrderPay(const WCHAR* orderData)
{
  Json::Value request = NewRequest(u"preOrderPay");
  request[u"orderData"] = Text(orderData);
  return Start("preOrderPay", request);
}

CServiceCommand* CPaymentService::QueryTradeNum(const WCHAR* timeRange, const WCHAR* queryTradeType)
{
  Json::Value request = NewRequest(u"queryTradeNum");
  request[u"timeRange"] = Text(timeRange);
  request[u"queryTradeType"] = Text(queryTradeType);
  return Start("queryTradeNum", request);
}

CServiceCommand* CPaymentService::TradePay(const WCHAR* tradeNo, const WCHAR* payPassword, const WCHAR* useCoupon,
                                           const WCHAR* couponAmount)
{
  Json::Value request = NewRequest(u"tradePay");
  request[u"tradeNo"] = Text(tradeNo);
  if (!PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  request[u"useCoupon"] = Text(useCoupon);
  request[u"couponAmount"] = Text(couponAmount);
  return Start("tradePay", request);
}

CServiceCommand* CPaymentService::AddContact(const WCHAR* groupName, const ContactInfo& contact)
{
  Json::Value request = NewRequest(u"addContact");
  request[u"groupName"] = Text(groupName);
  Json::Value info(Json::objectValue);
  info[u"account"] = contact.account.GetString();
  info[u"name"] = contact.name.GetString();
  request[u"contactInfo"] = info;
  return Start("addContact", request);
}

CServiceCommand* CPaymentService::QueryContactLists()
{
  Json::Value request = NewRequest(u"queryContactLists");
  return Start("queryContactLists", request);
}

CServiceCommand* CPaymentService::Update(const WCHAR* productID, const WCHAR* productVersion)
{
  Json::Value request = NewRequest(u"update");
  request[u"productID"] = Text(productID);
  request[u"productVersion"] = Text(productVersion);
  return Start("update", request);
}

CServiceCommand* CPaymentService::ConfirmBinding(const WCHAR* phoneNO)
{
  Json::Value request = NewRequest(u"confirmBinding");
  request[u"phoneNO"] = Text(phoneNO);
  return Start("confirmBinding", request);
}

CServiceCommand* CPaymentService::ConfirmGoods(const WCHAR* tradeNo, const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"confirmGoods");
  request[u"tradeNo"] = Text(tradeNo);
  if (!PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  return Start("confirmGoods", request);
}

CServiceCommand* CPaymentService::PucPay(const WCHAR* billNO, const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"pucPay");
  request[u"billNO"] = Text(billNO);
  if (!PutEncrypted(payPassword, request[u"payPassword"])) {
    return nullptr;
  }
  return Start("pucPay", request);
}

CServiceCommand* CPaymentService::GetPucBillPayUrl()
{
  Json::Value request = NewRequest(u"getPucBillPayUrl");
  return Start("pucPay", request);
}

CServiceCommand* CPaymentService::GetSID()
{
  Json::Value request = NewRequest(u"getSID");
  return Start("amusement", request);
}

CServiceCommand* CPaymentService::ViewMsgDetail()
{
  Json::Value request = NewRequest(u"viewMsgDetail");
  return Start("viewMsgDetail", request);
}

CServiceCommand* CPaymentService::GetLoginCheckCode()
{
  Json::Value request = NewRequest(u"getLoginCheckCode");
  return Start("fetchCheckCode", request);
}

CServiceCommand* CPaymentService::QUserInfoSupplement(const WCHAR* logonId, const WCHAR* userName,
                                                      const WCHAR* payPassword)
{
  Json::Value request = NewRequest(u"qUserInfoSupplement");
  request[u"logonId"] = Text(logonId);
  request[u"userName"] = Text(userName);
  request[u"payPassword"] = Text(payPassword);  // encrypted by the command
  CServiceCommand* command = Start("qUserInfoSupplement", request);
  WipeJsonText(request[u"payPassword"]);
  return command;
}

CServiceCommand* CPaymentService::SendHttpRequest(const WCHAR* url, const WCHAR* method, const WCHAR* body,
                                                  int bodyLength)
{
  // Not a gateway request: it names no client.
  Json::Value request(Json::objectValue);
  request[u"operationType"] = u"sendHttpRequest";
  request[u"url"] = Text(url);
  request[u"method"] = Text(method);
  request[u"optional"] = Text(body);
  request[u"optionalLength"] = bodyLength;
  return Start("sendHttpRequest", request);
}

CServiceCommand* CPaymentService::GetEasyownRate()
{
  Json::Value request = NewRequest(u"getEasyownRate");
  return Start("getEasyownRate", request);
}

CStringW& CPaymentService::GetSessionCookie(CStringW& out)
{
  return GetGatewaySessionCookie(out);
}

void CPaymentService::SetSession(const WCHAR* publicKey, const WCHAR* timeStamp)
{
  SetSessionRecord(publicKey, timeStamp);
}

void CPaymentService::SetServiceOption(int option)
{
  g_serviceOption = option;
}
