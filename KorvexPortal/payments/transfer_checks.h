// The checks of a transfer's fields before "p2pPrePay", in the order the user is told about
// them: the amount, the reason, then the payee account.
#pragma once

#include "text/cstring.h"

inline constexpr int kTransferReasonLimit = 24;

struct TransferCheck {
  bool passed = true;
  CStringW message;  // the text shown when a check failed
  int focusItem = 0; // the field that takes the focus then
};

// The fields as typed. The account and the reason are checked trimmed of blanks; the amount as
// it stands.
TransferCheck CheckTransferFields(const CStringW& account, const CStringW& amount, const CStringW& reason);

// Whether the whole text reads as one decimal number (blanks or tabs around it), and its value.
bool ReadWholeAmount(const CStringW& text, double& value);
