// Freeing the record a notification hands to its listener, by the notification's code, for
// tests that only look at codes.
#pragma once

#include "list_results.h"
#include "service_errors.h"
#include "service_results.h"

namespace svcc_test {

template <class Record>
void Free(LPARAM value)
{
  delete reinterpret_cast<Record*>(value);
}

// Deletes the record that the notification carries, when it carries one.
inline void DeleteNotifiedRecord(int code, HRESULT hr, LPARAM value)
{
  if (value == 0) {
    return;
  }
  // Refusals that still carry their record; every other refusal carries its status.
  const bool refusalWithRecord = hr == E_SERVICE_BUSINESS && (code == 21 || code == 64 || code == 84 || code == 86);
  if (hr != S_OK && !refusalWithRecord && code != 65) {
    return;
  }
  switch (code) {
    case 2: case 4: Free<LoginResult>(value); break;
    case 3: case 58: case 64: case 65: Free<UpdateResult>(value); break;
    case 9: Free<PrePayResult>(value); break;
    case 12: Free<BalanceResult>(value); break;
    case 14: Free<UnpaidTradeListResult>(value); break;
    case 16: Free<CTransListResult>(value); break;
    case 18: Free<CTradeDetailResult>(value); break;
    case 20: case 21: Free<McDepositInfoResult>(value); break;
    case 26: Free<McActivationResult>(value); break;
    case 34: Free<EasyownRateResult>(value); break;
    case 38: Free<EasyownDepositResult>(value); break;
    case 40: Free<SupportedBankResult>(value); break;
    case 42: Free<WithdrawInfo>(value); break;
    case 50: Free<PhoneTopUpInfo>(value); break;
    case 54: Free<PreOrderPayResult>(value); break;
    case 62: Free<ContactGroupList>(value); break;
    case 71: Free<PucPayResult>(value); break;
    case 73: Free<SidResult>(value); break;
    case 75: Free<MsgDetailResult>(value); break;
    case 79: Free<ChargeCardResult>(value); break;
    case 81: Free<PreRegisterResult>(value); break;
    case 83: case 84: Free<RegisterResult>(value); break;
    case 85: case 86: Free<BillResult>(value); break;
    case 87: Free<CheckCodeResult>(value); break;
    default: break;
  }
}

}  // namespace svcc_test
