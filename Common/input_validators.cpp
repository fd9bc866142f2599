#include "input_validators.h"

#include "input_checks.h"
#include "text_helpers.h"

namespace {

enum class Trim { no, yes };

// Trims (where the field asks for it) and folds the text; FALSE with emptyMessage when nothing
// is left.
BOOL Prepare(CStringW& text, Trim trim, CStringW& message, const WCHAR* emptyMessage)
{
  if (trim == Trim::yes) {
    text.Trim();
  }
  ToHalfWidth(text);
  if (text.IsEmpty()) {
    message = emptyMessage;
    return FALSE;
  }
  return TRUE;
}

BOOL Fail(CStringW& message, const WCHAR* text)
{
  message = text;
  return FALSE;
}

// The common shape: prepare, then one rule with its message.
BOOL CheckField(CStringW& text, CStringW& message, Trim trim, const WCHAR* emptyMessage, BOOL (*rule)(const WCHAR*),
                const WCHAR* failMessage)
{
  if (!Prepare(text, trim, message, emptyMessage)) {
    return FALSE;
  }
  return rule(text) ? TRUE : Fail(message, failMessage);
}

// The same with a rule over the text's ANSI bytes.
BOOL CheckFieldAnsi(CStringW& text, CStringW& message, const WCHAR* emptyMessage, BOOL (*rule)(const char*),
                    const WCHAR* failMessage)
{
  if (!Prepare(text, Trim::yes, message, emptyMessage)) {
    return FALSE;
  }
  return rule(CStringA(text)) ? TRUE : Fail(message, failMessage);
}

constexpr const WCHAR* kLoginPasswordEmpty = u"登陆密码不能为空！";
constexpr const WCHAR* kLoginPasswordFormat = u"登陆密码格式不正确，只能由6-20个字符或数字组成。";
constexpr const WCHAR* kPayPasswordEmpty = u"支付密码不能为空！";
constexpr const WCHAR* kPayPasswordFormat = u"支付密码格式不正确，只能由6-20个字符或数字组成！";
constexpr const WCHAR* kNameLength = u"真实姓名长度必须在2到32位以内,请重新填写。";

}  // namespace

BOOL ValidatePhoneNumber(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::no, u"手机号码不能为空！", IsValidMobile, u"手机号码输入不正确！");
}

BOOL ValidateAccount(CStringW& text, CStringW& message)
{
  if (!Prepare(text, Trim::yes, message, u"账户不能为空！")) {
    return FALSE;
  }
  if (text.Find(u'@', 1) >= 1) {
    return IsValidEmail(text) ? TRUE : Fail(message, u"账户格式不对！");
  }
  return ValidatePhoneNumber(text, message);
}

BOOL ValidatePassword(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::no, u"密码不能为空！", IsValidPassword,
                    u"密码格式不正确，只能由6-20个字符或数字组成！");
}

BOOL ValidateLoginPassword(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::no, kLoginPasswordEmpty, IsValidPassword, kLoginPasswordFormat);
}

BOOL ValidateLoginPasswordStrength(CStringW& text, CStringW& message)
{
  if (!ValidateLoginPassword(text, message)) {
    return FALSE;
  }
  return IsStrongPassword(text) ? TRUE : Fail(message, u"登录密码不能使用纯数字或连续的英文字母。");
}

BOOL ValidatePayPassword(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::no, kPayPasswordEmpty, IsValidPassword, kPayPasswordFormat);
}

BOOL ValidatePayPasswordStrength(CStringW& text, CStringW& message)
{
  if (!ValidatePayPassword(text, message)) {
    return FALSE;
  }
  return IsStrongPassword(text) ? TRUE : Fail(message, u"支付密码不能使用纯数字或连续的英文字母。");
}

BOOL ValidatePayPasswordStrength(const CStringW& /*loginPassword*/, CStringW& payPassword, CStringW& message)
{
  return ValidatePayPasswordStrength(payPassword, message);
}

BOOL ValidateCheckCode(CStringW& text, CStringW& message)
{
  if (!Prepare(text, Trim::no, message, u"验证码不能为空！")) {
    return FALSE;
  }
  if (text.GetLength() != 4) {
    return Fail(message, u"验证码必须为4位！");
  }
  return IsValidCheckCode(text) ? TRUE : Fail(message, u"验证码输入格式非法！");
}

BOOL ValidateUserName(CStringW& text, CStringW& message)
{
  if (!Prepare(text, Trim::yes, message, u"用户名不能为空！")) {
    return FALSE;
  }
  if (text.GetLength() == 1) {
    return Fail(message, kNameLength);
  }
  return IsValidRealName(text) ? TRUE : Fail(message, u"用户名只能由汉字和大写英文字母构成！");
}

BOOL ValidateRealName(CStringW& text, CStringW& message)
{
  if (!Prepare(text, Trim::yes, message, u"真实姓名不能为空！")) {
    return FALSE;
  }
  if (text.GetLength() < 2 || text.GetLength() > 32) {
    return Fail(message, kNameLength);
  }
  return IsValidRealName(text) ? TRUE : Fail(message, u"用户名只能由汉字和大写字母构成！");
}

BOOL ValidateAmount(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::yes, u"输入金额不能为空！", IsValidAmount, u"金额格式不正确！");
}

BOOL ValidateDraftNumber(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::yes, u"汇票号码不能为空！", IsValidDraftNumber, u"汇票号码格式不正确！");
}

BOOL ValidateDraftPassword(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::no, u"汇票密码不能为空！", IsValidDraftPassword, u"汇票密码格式不正确！");
}

BOOL ValidateIdCardNumber(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::yes, u"身份证号码不能为空！", IsValidIdCardNumber,
                    u"身份证号码格式不正确！");
}

BOOL ValidateBankAccount(CStringW& text, CStringW& message)
{
  return CheckField(text, message, Trim::yes, u"银行账号不能为空！", IsValidBankAccount, u"银行账号格式不正确！");
}

BOOL ValidateRechargeCardNumber(CStringW& text, CStringW& message)
{
  return CheckFieldAnsi(text, message, u"充值卡号不能为空！", IsValidRechargeCardNumberA, u"充值卡号格式不正确！");
}

BOOL ValidateRechargeCardPassword(CStringW& text, CStringW& message)
{
  return CheckFieldAnsi(text, message, u"充值卡密码不能为空！", IsValidRechargeCardPasswordA,
                        u"充值卡密码格式不正确！");
}
