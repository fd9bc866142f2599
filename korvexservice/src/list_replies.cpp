// The operations whose reply holds lists, or a choice between two kinds of detail. Arrays are
// sized from the reply's own list, so no count a reply states can overrun them.
#include <memory>
#include <new>

#include "list_results.h"
#include "reply_fields.h"
#include "reply_operations.h"
#include "service_errors.h"

namespace {

// A counted array with one record per element of list, each filled by fill(element, record).
template <class Record, class Fill>
std::unique_ptr<Record[]> ReadRecords(const Json::Value& list, int& count, Fill fill)
{
  count = 0;
  if (list.size() == 0) {
    return nullptr;
  }
  std::unique_ptr<Record[]> records(new Record[list.size()]);
  for (Json::UInt i = 0; i < list.size(); ++i) {
    fill(list[i], records[i]);
  }
  count = static_cast<int>(list.size());
  return records;
}

// A flag of the reply: a boolean, a number other than 0, or the text "true".
bool ReadBool(const Json::Value& node, const WCHAR* name)
{
  const Json::Value& member = node[name];
  if (member.isString()) {
    return ReadText(node, name) == u"true";
  }
  return member.asBool();
}

// The reply failed with a missing list or a choice out of range.
void SetStructuralFailure(const ReplyOperation& operation, ReplyOutcome& out, const WCHAR* memo = nullptr)
{
  out.Set(operation.failureCode, E_SERVICE_EMPTY_REPLY);
  out.SetMemo(memo);
}

void ParseContactLists(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  const Json::Value* groups = ReadArray(reply.json, u"contactLists");
  if (groups == nullptr) {
    SetStructuralFailure(operation, out);
    return;
  }
  auto list = std::make_unique<ContactGroupList>();
  for (Json::UInt i = 0; i < groups->size(); ++i) {
    const Json::Value& element = (*groups)[i];
    auto group = std::make_unique<ContactListGroup>();
    group->groupName = ReadText(element, u"groupName");
    if (const Json::Value* contacts = ReadArray(element, u"contacts")) {
      for (Json::UInt j = 0; j < contacts->size(); ++j) {
        auto entry = std::make_unique<ContactListEntry>();
        entry->account = ReadText((*contacts)[j], u"account");
        entry->name = ReadText((*contacts)[j], u"name");
        group->entries.push_back(std::move(entry));
      }
    }
    list->push_back(std::move(group));
  }
  out.Give(operation.successCode, S_OK, std::move(list));
}

// The paging fields the trade and transaction lists share.
template <class Record>
void ReadPaging(const CheckedReply& reply, Record& record)
{
  record.resultStatus = reply.status;
  record.memo = ReadText(reply.json, u"memo");
  record.pageCount = ReadInt(reply.json, u"pageCount");
  record.page = ReadInt(reply.json, u"page");
  record.totalCount = ReadInt(reply.json, u"totalCount");
}

void ParseTradeLists(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  auto record = std::make_unique<UnpaidTradeListResult>();
  ReadPaging(reply, *record);
  if (const Json::Value* list = ReadArray(reply.json, u"tradeTableList")) {
    record->trades = ReadRecords<TradeRecord>(*list, record->tradeCount, [](const Json::Value& e, TradeRecord& r) {
      r.tradeNO = ReadText(e, u"tradeNO");
      r.tradeStatus = ReadText(e, u"tradeStatus");
      r.tradeTime = ReadText(e, u"tradeTime");
      r.goodsName = ReadText(e, u"goodsName");
      r.act = ReadText(e, u"act");
      r.tradeMoney = ReadText(e, u"tradeMoney");
      r.tradeStatusMemo = ReadText(e, u"tradeStatusMemo");
      r.buyer = ReadInt(e, u"buyer");
    });
  }
  out.Give(operation.successCode, S_OK, std::move(record));
}

void ParseTransList(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  auto record = std::make_unique<CTransListResult>();
  ReadPaging(reply, *record);
  if (const Json::Value* list = ReadArray(reply.json, u"transList")) {
    record->transactions =
        ReadRecords<TransRecord>(*list, record->transCount, [](const Json::Value& e, TransRecord& r) {
          r.transLogId = ReadText(e, u"transLogId");
          r.date = ReadText(e, u"date");
          r.simpleDate = ReadText(e, u"simpleDate");
          r.transType = ReadText(e, u"transType");
          r.money = ReadText(e, u"money");
          r.transInstitution = ReadText(e, u"transInstitution");
          r.transMemo = ReadText(e, u"transMemo");
        });
  }
  out.Give(operation.successCode, S_OK, std::move(record));
}

std::unique_ptr<TradeDetail> ReadPaidTrade(const Json::Value& json)
{
  auto detail = std::make_unique<TradeDetail>();
  detail->tradeNO = ReadText(json, u"tradeNO");
  detail->goodsName = ReadText(json, u"goodsName");
  detail->tradeMoney = ReadText(json, u"tradeMoney");
  detail->tradeTime = ReadText(json, u"tradeTime");
  detail->tradeType = ReadText(json, u"tradeType");
  detail->tradeStatus = ReadText(json, u"tradeStatus");
  detail->sellerName = ReadText(json, u"sellerName");
  detail->logisticsid = ReadInt(json, u"logisticsid");
  if (detail->logisticsid == 1) {
    detail->logisticsType = ReadText(json, u"logisticsType");
    detail->buyerAddress = ReadText(json, u"buyerAddress");
    detail->logisticsFee = ReadText(json, u"logisticsFee");
    detail->logisticsName = ReadText(json, u"logisticsName");
    detail->logisticsPhone = ReadText(json, u"logisticsPhone");
    detail->logisticsMemo = ReadText(json, u"logisticsMemo");
  }
  return detail;
}

std::unique_ptr<TradePayInfo> ReadUnpaidTrade(const Json::Value& json)
{
  auto info = std::make_unique<TradePayInfo>();
  info->tradeNO = ReadText(json, u"tradeNO");
  info->tradeType = ReadText(json, u"tradeType");
  info->goodsName = ReadText(json, u"goodsName");
  info->partnerName = ReadText(json, u"partnerName");
  info->sellerName = ReadText(json, u"sellerName");
  info->sellerAccount = ReadText(json, u"sellerAccount");
  info->payMoney = ReadText(json, u"payMoney");
  info->balance = ReadText(json, u"balance");
  info->supportedByCoupon = ReplyHas(json, u"supportedByCoupon") ? ReadText(json, u"supportedByCoupon") : u"false";
  info->couponAmount = ReadText(json, u"couponAmount");
  return info;
}

void ParseTradeDetail(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  const Json::Value& json = reply.json;
  auto record = std::make_unique<CTradeDetailResult>();
  record->resultStatus = reply.status;
  record->memo = ReadText(json, u"memo");
  record->paid = ReadInt(json, u"paid");
  record->buyer = ReadBool(json, u"buyer");
  record->act = ReadText(json, u"act");
  if (record->paid == 1) {
    record->detail = ReadPaidTrade(json);
  } else if (record->paid == 0) {
    record->payInfo = ReadUnpaidTrade(json);
  } else {
    SetStructuralFailure(operation, out);
    return;
  }
  KeepSessionKey(json);
  out.Give(operation.successCode, S_OK, std::move(record));
}

void ParseSupportedBank(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  auto record = std::make_unique<SupportedBankResult>();
  if (const Json::Value* list = ReadArray(reply.json, u"supportedBankList")) {
    record->banks = ReadRecords<BankEntry>(*list, record->bankCount, [](const Json::Value& e, BankEntry& r) {
      r.bankId = ReadText(e, u"bankId");
      r.bankName = ReadText(e, u"bankName");
    });
    record->balance = ReadText(reply.json, u"balance");
  }
  out.Give(operation.successCode, S_OK, std::move(record));
}

void ParseChargeCard(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (reply.Refused()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  const Json::Value* amounts = reply.Passed() ? ReadArray(reply.json, u"supportedAmount") : nullptr;
  if (amounts == nullptr) {
    HRESULT error = reply.Passed() ? E_SERVICE_EMPTY_REPLY : reply.check;
    out.Set(operation.failureCode, error);
    out.SetMemo(LookupErrorText(error));
    return;
  }
  auto record = std::make_unique<ChargeCardResult>();
  record->resultStatus = 100;
  record->rate = ReadText(reply.json, u"rate");
  record->balance = ReadText(reply.json, u"balance");
  for (Json::UInt i = 0; i < amounts->size(); ++i) {
    record->amounts.push_back(ReadText((*amounts)[i], u"amount"));
  }
  out.Give(operation.successCode, S_OK, std::move(record));
}

// A refusal also brings the record, with its status and the balance.
void ParseMcDepositInfo(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed() && !reply.Refused()) {
    out.Set(operation.failureCode, reply.check);
    return;
  }
  auto record = std::make_unique<McDepositInfoResult>();
  record->resultStatus = reply.status;
  record->currentBalance = ReadText(reply.json, u"currentBalance");
  if (reply.Refused()) {
    out.Give(operation.failureCode, E_SERVICE_BUSINESS, std::move(record));
    out.SetMemo(ReadText(reply.json, u"memo").c_str());
    return;
  }
  if (const Json::Value* list = ReadArray(reply.json, u"mcDepositList")) {
    record->banks = ReadRecords<McDepositBank>(*list, record->bankCount, [](const Json::Value& e, McDepositBank& r) {
      r.mcBankId = ReadText(e, u"mcBankId");
      r.mcBankName = ReadText(e, u"mcBankName");
      r.mcShortCode = ReadText(e, u"mcShortCode");
    });
  }
  KeepSessionKey(reply.json);
  out.Give(operation.successCode, S_OK, std::move(record));
}

void ParseMcActivation(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  const Json::Value* list = ReadArray(reply.json, u"list");
  if (list == nullptr) {
    SetStructuralFailure(operation, out);
    return;
  }
  auto record = std::make_unique<McActivationResult>();
  record->banks = ReadRecords<McActivationBank>(*list, record->bankCount, [](const Json::Value& e, McActivationBank& r) {
    r.bankId = ReadText(e, u"bankId");
    r.bankName = ReadText(e, u"bankName");
    r.activeMSG = ReadText(e, u"activeMSG");
  });
  int hasAuthed = ReadInt(reply.json, u"hasAuthed");
  if (hasAuthed != 0 && hasAuthed != 1) {
    SetStructuralFailure(operation, out);
    return;
  }
  record->notAuthed = hasAuthed == 0 ? 1 : 0;
  record->realName = ReadText(reply.json, u"realName");
  record->idCardNO = ReadText(reply.json, u"idCardNO");
  out.Give(operation.successCode, S_OK, std::move(record));
}

std::unique_ptr<OrderDetail> ReadOrderDetail(const Json::Value& json)
{
  auto order = std::make_unique<OrderDetail>();
  order->outTradeNo = ReadText(json, u"outTradeNo");
  order->sellerName = ReadText(json, u"sellerName");
  order->goodTitle = ReadText(json, u"goodTitle");
  order->partnerName = ReadText(json, u"partnerName");
  order->sellerAccount = ReadText(json, u"sellerAccount");
  order->totalFee = ReadText(json, u"totalFee");
  order->userName = ReadText(json, u"userName");
  order->availableBalance = ReadText(json, u"availableBalance");
  order->greeting = ReadText(json, u"greeting");
  return order;
}

void ParsePreOrderPay(const ReplyOperation& operation, const CheckedReply& reply, ReplyOutcome& out)
{
  if (!reply.Passed()) {
    SetCheckFailure(operation, reply, out);
    return;
  }
  const Json::Value& json = reply.json;
  auto record = std::make_unique<PreOrderPayResult>();
  record->orderValidate = ReadInt(json, u"orderValidate");
  if (record->orderValidate == 0) {
    record->tradeData = ReadText(json, u"tradeData");
  } else if (record->orderValidate == 1) {
    try {
      record->order = ReadOrderDetail(json);
    } catch (const std::bad_alloc&) {
      // The order's own memo, with the full-width mark; the record goes with this function.
      out.Set(operation.failureCode, E_OUTOFMEMORY);
      out.SetMemo(u"内存不足！");
      return;
    }
    KeepSessionKey(json);
  } else {
    SetStructuralFailure(operation, out, LookupErrorText(E_SERVICE_EMPTY_REPLY));
    return;
  }
  out.Give(operation.successCode, S_OK, std::move(record));
}

}  // namespace

void DeleteContactRecords(ContactGroupList& groups)
{
  ContactGroupList().swap(groups);
}

const ReplyOperation kQueryContactListsReply{
    .parse = ParseContactLists, .successCode = 62, .failureCode = 63, .outOfMemoryMemo = u"内存不足！"};
const ReplyOperation kQueryTradeListsReply{.parse = ParseTradeLists, .successCode = 14, .failureCode = 15};
const ReplyOperation kQueryTransListReply{
    .parse = ParseTransList, .successCode = 16, .failureCode = 17, .outOfMemoryMemo = u"内存不足"};
const ReplyOperation kQueryTradeDetailReply{
    .parse = ParseTradeDetail, .successCode = 18, .failureCode = 19, .outOfMemoryMemo = u"内存不足"};
const ReplyOperation kGetSupportedBankReply{
    .parse = ParseSupportedBank, .successCode = 40, .failureCode = 41, .outOfMemoryMemo = u"内存不足!"};
const ReplyOperation kGetSupportedChargeCardReply{
    .parse = ParseChargeCard, .successCode = 79, .failureCode = 80, .outOfMemoryMemo = u"内存不足!"};
const ReplyOperation kPremcDepositReply{.parse = ParseMcDepositInfo, .successCode = 20, .failureCode = 21};
const ReplyOperation kPreRequestMC2Reply{.parse = ParseMcActivation, .successCode = 26, .failureCode = 27};
const ReplyOperation kPreOrderPayReply{
    .parse = ParsePreOrderPay, .successCode = 54, .failureCode = 55, .outOfMemoryMemo = u"内存不足!"};
