#include <new>

#include "client_identity.h"
#include "command_registry.h"
#include "password_commands.h"
#include "payment_service.h"
#include "reply_operations.h"

namespace {

struct CommandEntry {
  const char* dispatchName;
  ServiceCommandFactory factory;
};

// Every dispatch name of the facade, in registration order.
const CommandEntry kServiceCommands[] = {
    {"login", MakeServiceCommand<CLoginCommand>},
    {"p2pPrePay", MakeReplyCommand<kP2PPrePayReply>},
    {"p2pPay", MakeReplyCommand<kP2PPayReply>},
    {"confirmMobilePay", MakeReplyCommand<kConfirmMobilePayReply>},
    {"queryBalance", MakeReplyCommand<kQueryBalanceReply>},
    {"queryTransList", MakeReplyCommand<kQueryTransListReply>},
    {"queryTradeLists", MakeReplyCommand<kQueryTradeListsReply>},
    {"queryTradeDetail", MakeReplyCommand<kQueryTradeDetailReply>},
    {"preRequestMC2", MakeReplyCommand<kPreRequestMC2Reply>},
    {"requestMC", MakeReplyCommand<kRequestMCReply>},
    {"bindingMC", MakeServiceCommand<CBindingMCCommand>},
    {"premcDeposit", MakeReplyCommand<kPremcDepositReply>},
    {"mcDeposit", MakeReplyCommand<kMcDepositReply>},
    {"getMsgCount", MakeReplyCommand<kGetMsgCountReply>},
    {"getEasyownRate", MakeReplyCommand<kGetEasyownRateReply>},
    {"easyownDeposit", MakeReplyCommand<kEasyownDepositReply>},
    {"getEasyownResult", MakeReplyCommand<kGetEasyownResultReply>},
    {"getSupportedBank", MakeReplyCommand<kGetSupportedBankReply>},
    {"ebankDeposit", MakeReplyCommand<kEbankDepositReply>},
    {"preDeposit4Mobile", MakeReplyCommand<kPreDeposit4MobileReply>},
    {"deposit4Mobile", MakeReplyCommand<kDeposit4MobileReply>},
    {"draftDeposit", MakeServiceCommand<CDraftDepositCommand>},
    {"preDrawMoney", MakeReplyCommand<kPreDrawMoneyReply>},
    {"drawMoney", MakeReplyCommand<kDrawMoneyReply>},
    {"preOrderPay", MakeReplyCommand<kPreOrderPayReply>},
    {"queryTradeNum", MakeReplyCommand<kQueryTradeNumReply>},
    {"tradePay", MakeReplyCommand<kTradePayReply>},
    {"addContact", MakeReplyCommand<kAddContactReply>},
    {"queryContactLists", MakeReplyCommand<kQueryContactListsReply>},
    {"update", MakeReplyCommand<kUpdateReply>},
    {"confirmBinding", MakeReplyCommand<kConfirmBindingReply>},
    {"confirmGoods", MakeReplyCommand<kConfirmGoodsReply>},
    {"pucPay", MakeReplyCommand<kPucPayReply>},
    {"viewMsgDetail", MakeReplyCommand<kViewMsgDetailReply>},
    {"qUserInfoSupplement", MakeServiceCommand<CUserInfoSupplementCommand>},
    {"getSupportedChargeCard", MakeReplyCommand<kGetSupportedChargeCardReply>},
    {"preRegister", MakeReplyCommand<kPreRegisterReply>},
    {"doRegister", MakeReplyCommand<kDoRegisterReply>},
    {"sendHttpRequest", MakeServiceCommand<CHttpBillCommand>},
    {"amusement", MakeReplyCommand<kAmusementReply>},
    {"fetchCheckCode", MakeReplyCommand<kFetchCheckCodeReply>},
};
static_assert(sizeof kServiceCommands / sizeof kServiceCommands[0] == 41);

}  // namespace

CPaymentService* RegisterServiceCommands(const WCHAR* productId, const WCHAR* clientId)
{
  CommandFactoryMap& map = GetCommandFactoryMap();
  for (const CommandEntry& entry : kServiceCommands) {
    RegisterCommandFactory(map, entry.dispatchName) = entry.factory;
  }
  SetClientIdentity(productId, clientId);
  return new (std::nothrow) CPaymentService;
}
