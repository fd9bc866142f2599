// The input validators: one per kind of field a user types before a request is sent. Each
// takes the field's text, which it changes in place (full-width forms folded to ASCII, and for
// most fields blanks trimmed from both ends first), and returns TRUE when the value is
// acceptable; otherwise FALSE with the exact message to show in message (which is not touched
// on success). Called from the user-interface thread.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

BOOL ValidatePhoneNumber(CStringW& text, CStringW& message);
// An e-mail address when "@" follows the first character, else a mobile number.
BOOL ValidateAccount(CStringW& text, CStringW& message);
BOOL ValidatePassword(CStringW& text, CStringW& message);
BOOL ValidateLoginPassword(CStringW& text, CStringW& message);
BOOL ValidateLoginPasswordStrength(CStringW& text, CStringW& message);
BOOL ValidatePayPassword(CStringW& text, CStringW& message);
BOOL ValidatePayPasswordStrength(CStringW& text, CStringW& message);
// The form of the account screens, which pass the login password too; only the pay password
// is checked.
BOOL ValidatePayPasswordStrength(const CStringW& loginPassword, CStringW& payPassword, CStringW& message);
BOOL ValidateCheckCode(CStringW& text, CStringW& message);
BOOL ValidateUserName(CStringW& text, CStringW& message);
BOOL ValidateRealName(CStringW& text, CStringW& message);
BOOL ValidateAmount(CStringW& text, CStringW& message);
BOOL ValidateDraftNumber(CStringW& text, CStringW& message);
BOOL ValidateDraftPassword(CStringW& text, CStringW& message);
BOOL ValidateIdCardNumber(CStringW& text, CStringW& message);
BOOL ValidateBankAccount(CStringW& text, CStringW& message);
BOOL ValidateRechargeCardNumber(CStringW& text, CStringW& message);
BOOL ValidateRechargeCardPassword(CStringW& text, CStringW& message);
