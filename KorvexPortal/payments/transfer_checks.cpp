#include "transfer_checks.h"

#include "input_validators.h"
#include "p2p_ids.h"
#include "resource_values.h"

namespace {

bool IsBlank(WCHAR ch)
{
  return ch == u' ' || ch == u'\t';
}

TransferCheck Failed(const CStringW& message, int focusItem)
{
  TransferCheck check;
  check.passed = false;
  check.message = message;
  check.focusItem = focusItem;
  return check;
}

}  // namespace

bool ReadWholeAmount(const CStringW& text, double& value)
{
  int length = text.GetLength();
  int i = 0;
  while (i < length && IsBlank(text[i]))
    ++i;
  int digits = 0;
  double number = 0;
  for (; i < length && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits)
    number = number * 10 + (text[i] - u'0');
  if (digits == 0)
    return false;
  if (i < length && text[i] == u'.') {
    double scale = 0.1;
    for (++i; i < length && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10)
      number += (text[i] - u'0') * scale;
  }
  while (i < length && IsBlank(text[i]))
    ++i;
  if (i != length)
    return false;
  value = number;
  return true;
}

TransferCheck CheckTransferFields(const CStringW& account, const CStringW& amount, const CStringW& reason)
{
  if (amount.IsEmpty())
    return Failed(LoadResourceString(IDS_P2P_AMOUNT_MISSING), IDC_P2P_AMOUNT);
  if (amount.GetLength() >= 2 && amount[0] == u'0' && amount[1] != u'.')
    return Failed(LoadResourceString(IDS_P2P_AMOUNT_FORMAT), IDC_P2P_AMOUNT);
  double value = 0;
  if (!ReadWholeAmount(amount, value))
    return Failed(LoadResourceString(IDS_P2P_AMOUNT_FORMAT), IDC_P2P_AMOUNT);
  if (!(value > 0))
    return Failed(LoadResourceString(IDS_P2P_AMOUNT_MISSING), IDC_P2P_AMOUNT);

  CStringW trimmedReason = reason;
  trimmedReason.Trim(u" ");
  if (trimmedReason.IsEmpty())
    return Failed(LoadResourceString(IDS_P2P_REASON_MISSING), IDC_P2P_REASON);
  if (trimmedReason.GetLength() > kTransferReasonLimit) {
    CStringW message;
    message.Format(u"付款原因超出%d个字符，请重输！", kTransferReasonLimit);
    return Failed(message, IDC_P2P_REASON);
  }

  CStringW trimmedAccount = account;
  trimmedAccount.Trim(u" ");
  CStringW message;
  if (!ValidateAccount(trimmedAccount, message))
    return Failed(message, IDC_P2P_ACCOUNT);
  return TransferCheck();
}
