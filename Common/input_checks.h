// The rules behind the input validators: character-set checks and whole-text matches of fixed
// regular expressions, for wide text and for ANSI (code page 936) text. Each expression is
// compiled once, on its first use.
#pragma once

#include "base/types.h"

// Password characters: digits, ASCII letters and the 30 marks ~!@#$%^&*()_+`-=[]{};:'",./<>?
// (no blank, backslash or vertical bar). FALSE when max < min or the length is outside them.
BOOL IsValidPasswordChars(const WCHAR* text, int minLength, int maxLength);
BOOL IsValidPassword(const WCHAR* text);  // 6 to 20 password characters
BOOL IsValidPasswordA(const char* text, int minLength, int maxLength);
// At least one ASCII letter, and not a run of consecutive letters of "a..zA..Z" (nor digits
// only).
BOOL IsStrongPassword(const WCHAR* text);

// Whole-text matches; the narrow forms take ANSI text.
BOOL IsValidMobile(const WCHAR* text);  // 1(3|5|8)\d{9}
BOOL IsValidMobileA(const char* text);
BOOL IsValidEmail(const WCHAR* text);
BOOL IsValidEmailA(const char* text);
BOOL IsValidIdCardNumber(const WCHAR* text);  // 15 digits, or 17 and a digit, x or X
BOOL IsValidIdCardNumberA(const char* text);
BOOL IsValidAmount(const WCHAR* text);  // a positive amount of at most two decimals
BOOL IsValidAmountA(const char* text);
BOOL IsValidDraftNumber(const WCHAR* text);  // 14 or 18 digits
BOOL IsValidDraftNumberA(const char* text);
BOOL IsValidDraftPassword(const WCHAR* text);  // 6 digits
BOOL IsValidDraftPasswordA(const char* text);
BOOL IsValidBankAccount(const WCHAR* text);  // 16 to 21 digits
BOOL IsValidBankAccountA(const char* text);
BOOL IsValidRealName(const WCHAR* text);  // 2 to 32 CJK ideographs or capital letters
BOOL IsValidRealNameA(const char* text);
BOOL IsValidCheckCode(const WCHAR* text);  // 4 letters or digits
BOOL IsValidCheckCodeA(const char* text);
BOOL IsValidRechargeCardNumber(const WCHAR* text);  // 15 to 21 digits
BOOL IsValidRechargeCardNumberA(const char* text);
BOOL IsValidRechargeCardPassword(const WCHAR* text);  // 18 to 21 digits
BOOL IsValidRechargeCardPasswordA(const char* text);
BOOL IsValidPasswordPatternA(const char* text);  // 6 to 16 letters, digits and marks
