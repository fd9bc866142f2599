#include <new>

#include "client_identity.h"
#include "command_registry.h"
#include "password_commands.h"
#include "payment_service.h"

namespace {

struct CommandEntry {
  const char* dispatchName;
  ServiceCommandFactory factory;  // null while the operation's reply parser is not built
};

// Every dispatch name of the facade, in registration order.
const CommandEntry kServiceCommands[] = {
    {"login", MakeServiceCommand<CLoginCommand>},
    {"p2pPrePay", nullptr},
    {"p2pPay", nullptr},
    {"confirmMobilePay", nullptr},
    {"queryBalance", nullptr},
    {"queryTransList", nullptr},
    {"queryTradeLists", nullptr},
    {"queryTradeDetail", nullptr},
    {"preRequestMC2", nullptr},
    {"requestMC", nullptr},
    {"bindingMC", MakeServiceCommand<CBindingMCCommand>},
    {"premcDeposit", nullptr},
    {"mcDeposit", nullptr},
    {"getMsgCount", nullptr},
    {"getEasyownRate", nullptr},
    {"easyownDeposit", nullptr},
    {"getEasyownResult", nullptr},
    {"getSupportedBank", nullptr},
    {"ebankDeposit", nullptr},
    {"preDeposit4Mobile", nullptr},
    {"deposit4Mobile", nullptr},
    {"draftDeposit", MakeServiceCommand<CDraftDepositCommand>},
    {"preDrawMoney", nullptr},
    {"drawMoney", nullptr},
    {"preOrderPay", nullptr},
    {"queryTradeNum", nullptr},
    {"tradePay", nullptr},
    {"addContact", nullptr},
    {"queryContactLists", nullptr},
    {"update", nullptr},
    {"confirmBinding", nullptr},
    {"confirmGoods", nullptr},
    {"pucPay", nullptr},
    {"viewMsgDetail", nullptr},
    {"qUserInfoSupplement", MakeServiceCommand<CUserInfoSupplementCommand>},
    {"getSupportedChargeCard", nullptr},
    {"preRegister", nullptr},
    {"doRegister", nullptr},
    {"sendHttpRequest", nullptr},
    {"amusement", nullptr},
    {"fetchCheckCode", nullptr},
};
static_assert(sizeof kServiceCommands / sizeof kServiceCommands[0] == 41);

}  // namespace

CPaymentService* RegisterServiceCommands(const WCHAR* productId, const WCHAR* clientId)
{
  CommandFactoryMap& map = GetCommandFactoryMap();
  for (const CommandEntry& entry : kServiceCommands) {
    // An operation without its command yet stays unknown: its call returns no command
    // (E_NOTIMPL) rather than one that never reports.
    if (entry.factory != nullptr) {
      RegisterCommandFactory(map, entry.dispatchName) = entry.factory;
    }
  }
  SetClientIdentity(productId, clientId);
  return new (std::nothrow) CPaymentService;
}
