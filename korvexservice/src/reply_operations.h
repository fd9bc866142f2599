// The reply parsers of the gateway operations, one ReplyOperation each, registered under
// their dispatch names. The records they hand out are in service_results.h and
// list_results.h.
#pragma once

#include "reply_command.h"

// Only a status: success code and value, failure code.
extern const ReplyOperation kTradePayReply;          // 58 / 59
extern const ReplyOperation kAddContactReply;        // 60 / 61
extern const ReplyOperation kRequestMCReply;         // 28 / 29
extern const ReplyOperation kConfirmBindingReply;    // 66 with the memo / 67
extern const ReplyOperation kConfirmGoodsReply;      // 68 with the memo / 69
extern const ReplyOperation kMcDepositReply;         // 22 with the memo / 23
extern const ReplyOperation kDrawMoneyReply;         // 44, 100 / 45
extern const ReplyOperation kDeposit4MobileReply;    // 52, 100, with the memo / 53
extern const ReplyOperation kGetEasyownResultReply;  // 36, 100 / 37
// 10 with a CServiceResult that lives during the call, and the memo / 11.
extern const ReplyOperation kConfirmMobilePayReply;

// One number or text.
extern const ReplyOperation kP2PPayReply;         // 6, "isContact" / 7
extern const ReplyOperation kGetMsgCountReply;    // 32, "msgCount" / 33
extern const ReplyOperation kQueryTradeNumReply;  // 56, "totalCount" / 57
extern const ReplyOperation kEbankDepositReply;   // 46, the "bankUrl" text during the call / 47

// One flat record.
extern const ReplyOperation kAmusementReply;          // 73 SidResult / 74
extern const ReplyOperation kPucPayReply;             // 71 PucPayResult / 72
extern const ReplyOperation kPreRegisterReply;        // 81 PreRegisterResult, keeps the key / 82
extern const ReplyOperation kViewMsgDetailReply;      // 75 MsgDetailResult / 76
extern const ReplyOperation kQueryBalanceReply;       // 12 BalanceResult / 13
extern const ReplyOperation kGetEasyownRateReply;     // 34 EasyownRateResult / 35
extern const ReplyOperation kEasyownDepositReply;     // 38 EasyownDepositResult, with the memo / 39
extern const ReplyOperation kP2PPrePayReply;          // 9 PrePayResult, keeps the key / 8
extern const ReplyOperation kPreDrawMoneyReply;       // 42 WithdrawInfo, keeps the key / 43
extern const ReplyOperation kPreDeposit4MobileReply;  // 50 PhoneTopUpInfo, keeps key and quote / 51
// 58 UpdateResult; refused 64 with the record; other failures 65 with a record of status 0.
extern const ReplyOperation kUpdateReply;
// 87 CheckCodeResult for every reply (8000 and "未知错误" when it failed); network failure 65.
extern const ReplyOperation kFetchCheckCodeReply;
// 83 RegisterResult; refused 84 with the record, after keeping the key.
extern const ReplyOperation kDoRegisterReply;
// 85 BillResult; refused 86 with the record (status 888 keeps the key first).
extern const ReplyOperation kSendHttpRequestReply;

// Lists and details.
extern const ReplyOperation kQueryContactListsReply;       // 62 ContactGroupList / 63
extern const ReplyOperation kQueryTradeListsReply;         // 14 UnpaidTradeListResult / 15
extern const ReplyOperation kQueryTransListReply;          // 16 CTransListResult / 17
extern const ReplyOperation kQueryTradeDetailReply;        // 18 CTradeDetailResult / 19
extern const ReplyOperation kGetSupportedBankReply;        // 40 SupportedBankResult / 41
extern const ReplyOperation kGetSupportedChargeCardReply;  // 79 ChargeCardResult / 80
extern const ReplyOperation kPremcDepositReply;            // 20 McDepositInfoResult / 21 (also with it)
extern const ReplyOperation kPreRequestMC2Reply;           // 26 McActivationResult / 27
extern const ReplyOperation kPreOrderPayReply;             // 54 PreOrderPayResult / 55

// "sendHttpRequest": posts the request's "optional" text to its "url" instead of the JSON
// request to the gateway; its reply is parsed as kSendHttpRequestReply.
class CHttpBillCommand : public CReplyCommand {
 public:
  CHttpBillCommand(const Json::Value& params, IServiceListener* listener);
  BOOL Execute() override;
};
