#include "input_checks.h"

#include "regex/regex_pattern.h"
#include "text/cstring.h"
#include "text/widechar.h"

namespace {

constexpr WCHAR kPasswordCharacters[] =
    u"0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ~!@#$%^&*()_+`-=[]{};:'\",./<>?";
constexpr WCHAR kAlphabetRun[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

template <class CharT>
BOOL Matches(const CRegexPattern<CharT>& pattern, const CharT* text)
{
  return text != nullptr && pattern.MatchWhole(text).IsMatched() ? TRUE : FALSE;
}

}  // namespace

// Each matcher keeps its compiled expression for the life of the program.
#define KV_WHOLE_MATCH(name, CharT, pattern)                   \
  BOOL name(const CharT* text)                                 \
  {                                                            \
    static const CRegexPattern<CharT> compiled(pattern, 0);    \
    return Matches(compiled, text);                            \
  }

KV_WHOLE_MATCH(IsValidMobile, WCHAR, u"1(3|5|8)\\d{9}")
KV_WHOLE_MATCH(IsValidMobileA, char, "1(3|5|8)\\d{9}")
KV_WHOLE_MATCH(IsValidEmail, WCHAR, u"^[\\w-]+(\\.[\\w-]+)*@[\\w-]+(\\.[\\w-]+)+$")
KV_WHOLE_MATCH(IsValidEmailA, char, "^[\\w-]+(\\.[\\w-]+)*@[\\w-]+(\\.[\\w-]+)+$")
KV_WHOLE_MATCH(IsValidIdCardNumber, WCHAR, u"\\d{15}$|\\d{17}[0-9xX]{1}")
KV_WHOLE_MATCH(IsValidIdCardNumberA, char, "\\d{15}$|\\d{17}[0-9xX]{1}")
KV_WHOLE_MATCH(IsValidAmount, WCHAR, u"^[1-9]\\d*(([\\.]?[0-9]{1,2})?)$|^[0][\\.][1-9]$|^[0][\\.]([0-9][1-9])$")
KV_WHOLE_MATCH(IsValidAmountA, char, "^[1-9]\\d*(([\\.]?[0-9]{1,2})?)$|^[0][\\.][1-9]$|^[0][\\.]([0-9][1-9])$")
KV_WHOLE_MATCH(IsValidDraftNumber, WCHAR, u"\\d{14}|\\d{18}")
KV_WHOLE_MATCH(IsValidDraftNumberA, char, "\\d{14}|\\d{18}")
KV_WHOLE_MATCH(IsValidDraftPassword, WCHAR, u"\\d{6}")
KV_WHOLE_MATCH(IsValidDraftPasswordA, char, "\\d{6}")
KV_WHOLE_MATCH(IsValidBankAccount, WCHAR, u"\\d{16,21}")
KV_WHOLE_MATCH(IsValidBankAccountA, char, "\\d{16,21}")
KV_WHOLE_MATCH(IsValidRealName, WCHAR, u"^[\\u4E00-\\u9FA5A-Z]{2,32}$")
KV_WHOLE_MATCH(IsValidCheckCode, WCHAR, u"^[0-9a-zA-Z]{4}$")
KV_WHOLE_MATCH(IsValidCheckCodeA, char, "[0-9a-zA-Z]{4}")
KV_WHOLE_MATCH(IsValidRechargeCardNumber, WCHAR, u"\\d{15,21}")
KV_WHOLE_MATCH(IsValidRechargeCardNumberA, char, "\\d{15,21}")
KV_WHOLE_MATCH(IsValidRechargeCardPassword, WCHAR, u"\\d{18,21}")
KV_WHOLE_MATCH(IsValidRechargeCardPasswordA, char, "\\d{18,21}")
KV_WHOLE_MATCH(IsValidPasswordPatternA, char,
               "^[0-9a-zA-Z`~!@#%&:;\"'_=<,>\\.\\$\\?\\^\\/\\*\\(\\)\\-\\+\\{\\}\\[\\]\\|\\\\]{6,16}$")

#undef KV_WHOLE_MATCH

BOOL IsValidRealNameA(const char* text)
{
  return IsValidRealName(CStringW(text));
}

BOOL IsValidPasswordChars(const WCHAR* text, int minLength, int maxLength)
{
  if (maxLength < minLength || maxLength < 0 || text == nullptr) {
    return FALSE;
  }
  size_t length = wcslen(text);
  if (length > static_cast<size_t>(maxLength) || static_cast<long long>(length) < minLength) {
    return FALSE;
  }
  return wcsspn(text, kPasswordCharacters) == length ? TRUE : FALSE;
}

BOOL IsValidPassword(const WCHAR* text)
{
  return IsValidPasswordChars(text, 6, 20);
}

BOOL IsValidPasswordA(const char* text, int minLength, int maxLength)
{
  return IsValidPasswordChars(CStringW(text), minLength, maxLength);
}

BOOL IsStrongPassword(const WCHAR* text)
{
  if (text == nullptr || wcspbrk(text, kAlphabetRun) == nullptr) {
    return FALSE;
  }
  return wcsstr(kAlphabetRun, text) == nullptr ? TRUE : FALSE;
}
