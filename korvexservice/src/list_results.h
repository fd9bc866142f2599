// Result records of the replies that hold lists or a choice between two kinds of detail. The
// listener owns the record it receives and deletes it; a record owns its arrays and
// sub-records. An array's count is the number of records it holds.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "service_results.h"

// "queryContactLists": the value is a ContactGroupList the listener deletes.
struct ContactListEntry {
  std::u16string account;
  std::u16string name;
};

struct ContactListGroup {
  std::u16string groupName;
  std::vector<std::unique_ptr<ContactListEntry>> entries;
};

typedef std::vector<std::unique_ptr<ContactListGroup>> ContactGroupList;

// Deletes every group with its entries and frees the list's storage; the list is left empty.
void DeleteContactRecords(ContactGroupList& groups);

// "queryTradeLists".
struct TradeRecord {
  std::u16string tradeNO;
  std::u16string tradeStatus;
  std::u16string tradeTime;
  std::u16string goodsName;
  std::u16string act;
  std::u16string tradeMoney;
  std::u16string tradeStatusMemo;
  int buyer = 0;
};

struct UnpaidTradeListResult : CServiceResult {
  int pageCount = 0;
  int page = 0;
  int totalCount = 0;
  std::unique_ptr<TradeRecord[]> trades;  // null when the reply has no list
  int tradeCount = 0;
};

// "queryTransList".
struct TransRecord {
  std::u16string transLogId;
  std::u16string date;
  std::u16string simpleDate;
  std::u16string transType;
  std::u16string money;
  std::u16string transInstitution;
  std::u16string transMemo;
};

struct CTransListResult : CServiceResult {
  int pageCount = 0;
  int page = 0;
  int totalCount = 0;
  std::unique_ptr<TransRecord[]> transactions;  // null when the reply has no list
  int transCount = 0;
};

// "queryTradeDetail": a trade still to be paid ("paid" 0).
struct TradePayInfo {
  std::u16string tradeNO;
  std::u16string tradeType;
  std::u16string goodsName;
  std::u16string partnerName;
  std::u16string sellerName;
  std::u16string sellerAccount;
  std::u16string payMoney;
  std::u16string balance;
  std::u16string supportedByCoupon;  // "false" when the reply lacks it
  std::u16string couponAmount;
};

// "queryTradeDetail": a paid trade ("paid" 1). The logistics texts are read only when
// logisticsid is 1.
struct TradeDetail {
  std::u16string tradeNO;
  std::u16string goodsName;
  std::u16string tradeMoney;
  std::u16string tradeTime;
  std::u16string tradeType;
  std::u16string tradeStatus;
  std::u16string sellerName;
  std::u16string logisticsType;
  int logisticsid = 0;
  std::u16string buyerAddress;
  std::u16string logisticsFee;
  std::u16string logisticsName;
  std::u16string logisticsPhone;
  std::u16string logisticsMemo;
};

struct CTradeDetailResult : CServiceResult {
  int paid = 0;
  bool buyer = false;
  std::u16string act;
  std::unique_ptr<TradePayInfo> payInfo;  // set when paid is 0
  std::unique_ptr<TradeDetail> detail;    // set when paid is 1
};

// "getSupportedBank".
struct BankEntry {
  std::u16string bankId;
  std::u16string bankName;
};

struct SupportedBankResult {
  std::unique_ptr<BankEntry[]> banks;
  int bankCount = 0;
  std::u16string balance;  // read only together with the bank list
};

// "getSupportedChargeCard".
struct ChargeCardResult : CServiceResult {
  std::vector<std::u16string> amounts;
  std::u16string rate;
  std::u16string balance;
};

// "premcDeposit", also on a refusal.
struct McDepositBank {
  std::u16string mcBankId;
  std::u16string mcBankName;
  std::u16string mcShortCode;
};

struct McDepositInfoResult : CServiceResult {
  std::u16string currentBalance;
  std::unique_ptr<McDepositBank[]> banks;
  int bankCount = 0;
};

// "preRequestMC2".
struct McActivationBank {
  std::u16string bankId;
  std::u16string bankName;
  std::u16string activeMSG;
};

struct McActivationResult {
  int bankCount = 0;
  std::unique_ptr<McActivationBank[]> banks;
  int notAuthed = 0;  // 1 when the gateway has no identity on file ("hasAuthed" 0)
  std::u16string realName;
  std::u16string idCardNO;
};

// "preOrderPay": the order to pay ("orderValidate" 1) or the trade data to hand back (0).
struct OrderDetail {
  std::u16string outTradeNo;
  std::u16string sellerName;
  std::u16string goodTitle;
  std::u16string partnerName;
  std::u16string sellerAccount;
  std::u16string totalFee;
  std::u16string userName;
  std::u16string availableBalance;
  std::u16string greeting;
};

struct PreOrderPayResult {
  int orderValidate = 0;
  std::u16string tradeData;
  std::unique_ptr<OrderDetail> order;
};
