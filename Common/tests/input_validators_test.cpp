#include "input_validators.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

using Validator = BOOL (*)(CStringW&, CStringW&);

struct ValidatorCase {
  const char* validator;
  Validator validate;
  std::u16string input;
  const WCHAR* message;  // null: accepted
  const WCHAR* after;    // the field's text afterwards; null: unchanged
};

void PrintTo(const ValidatorCase& c, std::ostream* out)
{
  *out << c.validator << "(\"" << CStringA(c.input.c_str()).GetString() << "\")";
}

BOOL PayStrengthWithLogin(CStringW& text, CStringW& message)
{
  return ValidatePayPasswordStrength(CStringW(u"login1"), text, message);
}

#define V(name) #name, name

const std::u16string k33Capitals(33, u'A');
const std::u16string k32Capitals(32, u'Z');

const ValidatorCase kCases[] = {
    // Mobile numbers: 11 digits beginning with 13, 15 or 18; folded, never trimmed.
    {V(ValidatePhoneNumber), u"13812345678", nullptr, nullptr},
    {V(ValidatePhoneNumber), u"15012345678", nullptr, nullptr},
    {V(ValidatePhoneNumber), u"18912345678", nullptr, nullptr},
    {V(ValidatePhoneNumber), u"１３８１２３４５６７８", nullptr, u"13812345678"},
    {V(ValidatePhoneNumber), u"12812345678", u"手机号码输入不正确！", nullptr},
    {V(ValidatePhoneNumber), u"14812345678", u"手机号码输入不正确！", nullptr},
    {V(ValidatePhoneNumber), u"1381234567", u"手机号码输入不正确！", nullptr},
    {V(ValidatePhoneNumber), u"138123456789", u"手机号码输入不正确！", nullptr},
    {V(ValidatePhoneNumber), u"13812345678 ", u"手机号码输入不正确！", nullptr},
    {V(ValidatePhoneNumber), u"", u"手机号码不能为空！", nullptr},
    {V(ValidatePhoneNumber), u"\u3000", u"手机号码输入不正确！", u" "},

    // Accounts: trimmed; an e-mail address when "@" follows the first character.
    {V(ValidateAccount), u"  13812345678  ", nullptr, u"13812345678"},
    {V(ValidateAccount), u"@13812345678", u"手机号码输入不正确！", nullptr},
    {V(ValidateAccount), u"a.b-c_d@ex-ample.com.cn", nullptr, nullptr},
    {V(ValidateAccount), u"ｕｓｅｒ＠ｅｘａｍｐｌｅ．ｃｏｍ", nullptr, u"user@example.com"},
    {V(ValidateAccount), u"user@localhost", u"账户格式不对！", nullptr},
    {V(ValidateAccount), u"a..b@example.com", u"账户格式不对！", nullptr},
    {V(ValidateAccount), u"user@example.com.", u"账户格式不对！", nullptr},
    {V(ValidateAccount), u"13812345678x", u"手机号码输入不正确！", nullptr},
    {V(ValidateAccount), u"", u"账户不能为空！", nullptr},
    {V(ValidateAccount), u" \t ", u"账户不能为空！", u""},

    // Passwords: 6 to 20 of the allowed characters.
    {V(ValidatePassword), u"abc123", nullptr, nullptr},
    {V(ValidatePassword), u"ａｂｃ１２３", nullptr, u"abc123"},
    {V(ValidatePassword), u"~!@#$%^&*()_+`-=[]{}", nullptr, nullptr},
    {V(ValidatePassword), u";:'\",./<>?a", nullptr, nullptr},
    {V(ValidatePassword), u"abc12", u"密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePassword), u"abcdefghij0123456789x", u"密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePassword), u"abc 123", u"密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePassword), u"abc中123", u"密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePassword), u"abc\\123", u"密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePassword), u"abc|123", u"密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePassword), u" abc123", u"密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePassword), u"", u"密码不能为空！", nullptr},

    {V(ValidateLoginPassword), u"abcdefghij0123456789", nullptr, nullptr},
    {V(ValidateLoginPassword), u"12345", u"登陆密码格式不正确，只能由6-20个字符或数字组成。", nullptr},
    {V(ValidateLoginPassword), u"", u"登陆密码不能为空！", nullptr},

    // Strength: a letter, and not a run of consecutive letters.
    {V(ValidateLoginPasswordStrength), u"abc123", nullptr, nullptr},
    {V(ValidateLoginPasswordStrength), u"fedcba", nullptr, nullptr},
    {V(ValidateLoginPasswordStrength), u"123456", u"登录密码不能使用纯数字或连续的英文字母。", nullptr},
    {V(ValidateLoginPasswordStrength), u"abcdef", u"登录密码不能使用纯数字或连续的英文字母。", nullptr},
    {V(ValidateLoginPasswordStrength), u"xyzABC", u"登录密码不能使用纯数字或连续的英文字母。", nullptr},
    {V(ValidateLoginPasswordStrength), u"!@#$%^", u"登录密码不能使用纯数字或连续的英文字母。", nullptr},
    {V(ValidateLoginPasswordStrength), u"12345", u"登陆密码格式不正确，只能由6-20个字符或数字组成。", nullptr},
    {V(ValidateLoginPasswordStrength), u"", u"登陆密码不能为空！", nullptr},

    {V(ValidatePayPassword), u"pay123", nullptr, nullptr},
    {V(ValidatePayPassword), u"pay12", u"支付密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePayPassword), u"", u"支付密码不能为空！", nullptr},

    {V(ValidatePayPasswordStrength), u"pay123", nullptr, nullptr},
    {V(ValidatePayPasswordStrength), u"654321", u"支付密码不能使用纯数字或连续的英文字母。", nullptr},
    {V(ValidatePayPasswordStrength), u"bcdefg", u"支付密码不能使用纯数字或连续的英文字母。", nullptr},
    {V(ValidatePayPasswordStrength), u"pay 12", u"支付密码格式不正确，只能由6-20个字符或数字组成！", nullptr},
    {V(ValidatePayPasswordStrength), u"", u"支付密码不能为空！", nullptr},
    {V(PayStrengthWithLogin), u"ｐａｙ１２３", nullptr, u"pay123"},
    {V(PayStrengthWithLogin), u"654321", u"支付密码不能使用纯数字或连续的英文字母。", nullptr},

    // Check codes: exactly 4 letters or digits, not trimmed.
    {V(ValidateCheckCode), u"a1B2", nullptr, nullptr},
    {V(ValidateCheckCode), u"ａ１Ｂ２", nullptr, u"a1B2"},
    {V(ValidateCheckCode), u"abc", u"验证码必须为4位！", nullptr},
    {V(ValidateCheckCode), u"abcde", u"验证码必须为4位！", nullptr},
    {V(ValidateCheckCode), u"ab,c", u"验证码输入格式非法！", nullptr},
    {V(ValidateCheckCode), u" ab ", u"验证码输入格式非法！", nullptr},
    {V(ValidateCheckCode), u"", u"验证码不能为空！", nullptr},

    // Names: CJK ideographs and capital letters.
    {V(ValidateUserName), u" 张三 ", nullptr, u"张三"},
    {V(ValidateUserName), u"ZHANGSAN", nullptr, nullptr},
    {V(ValidateUserName), u"张", u"真实姓名长度必须在2到32位以内,请重新填写。", nullptr},
    {V(ValidateUserName), k33Capitals, u"用户名只能由汉字和大写英文字母构成！", nullptr},
    {V(ValidateUserName), u"zhang", u"用户名只能由汉字和大写英文字母构成！", nullptr},
    {V(ValidateUserName), u"  ", u"用户名不能为空！", u""},

    {V(ValidateRealName), u"张三", nullptr, nullptr},
    {V(ValidateRealName), k32Capitals, nullptr, nullptr},
    {V(ValidateRealName), u"ｚＨＡＮＧ", u"用户名只能由汉字和大写字母构成！", u"zHANG"},
    {V(ValidateRealName), u"张", u"真实姓名长度必须在2到32位以内,请重新填写。", nullptr},
    {V(ValidateRealName), k33Capitals, u"真实姓名长度必须在2到32位以内,请重新填写。", nullptr},
    {V(ValidateRealName), u"张三a", u"用户名只能由汉字和大写字母构成！", nullptr},
    {V(ValidateRealName), u"", u"真实姓名不能为空！", nullptr},

    // Amounts: positive, at most two decimals, no leading zero.
    {V(ValidateAmount), u"1", nullptr, nullptr},
    {V(ValidateAmount), u"10.5", nullptr, nullptr},
    {V(ValidateAmount), u"10.05", nullptr, nullptr},
    {V(ValidateAmount), u"1234", nullptr, nullptr},
    {V(ValidateAmount), u"0.5", nullptr, nullptr},
    {V(ValidateAmount), u"0.05", nullptr, nullptr},
    {V(ValidateAmount), u" １２.５ ", nullptr, u"12.5"},
    {V(ValidateAmount), u"0", u"金额格式不正确！", nullptr},
    {V(ValidateAmount), u"0.10", u"金额格式不正确！", nullptr},
    {V(ValidateAmount), u"0.50", u"金额格式不正确！", nullptr},
    {V(ValidateAmount), u"01", u"金额格式不正确！", nullptr},
    {V(ValidateAmount), u".5", u"金额格式不正确！", nullptr},
    {V(ValidateAmount), u"1.234", u"金额格式不正确！", nullptr},
    {V(ValidateAmount), u"10.", u"金额格式不正确！", nullptr},
    {V(ValidateAmount), u"", u"输入金额不能为空！", nullptr},

    {V(ValidateIdCardNumber), u"110101199001011", nullptr, nullptr},
    {V(ValidateIdCardNumber), u"110101199001011234", nullptr, nullptr},
    {V(ValidateIdCardNumber), u"11010119900101123x", nullptr, nullptr},
    {V(ValidateIdCardNumber), u"11010119900101123X", nullptr, nullptr},
    {V(ValidateIdCardNumber), u"1101011990010112", u"身份证号码格式不正确！", nullptr},
    {V(ValidateIdCardNumber), u"11010119900101123a", u"身份证号码格式不正确！", nullptr},
    {V(ValidateIdCardNumber), u"", u"身份证号码不能为空！", nullptr},

    {V(ValidateDraftNumber), u"12345678901234", nullptr, nullptr},
    {V(ValidateDraftNumber), u" 123456789012345678 ", nullptr, u"123456789012345678"},
    {V(ValidateDraftNumber), u"1234567890123", u"汇票号码格式不正确！", nullptr},
    {V(ValidateDraftNumber), u"123456789012345", u"汇票号码格式不正确！", nullptr},
    {V(ValidateDraftNumber), u"12345678901234567", u"汇票号码格式不正确！", nullptr},
    {V(ValidateDraftNumber), u"1234567890123456789", u"汇票号码格式不正确！", nullptr},
    {V(ValidateDraftNumber), u"", u"汇票号码不能为空！", nullptr},

    {V(ValidateDraftPassword), u"123456", nullptr, nullptr},
    {V(ValidateDraftPassword), u"12345", u"汇票密码格式不正确！", nullptr},
    {V(ValidateDraftPassword), u"1234567", u"汇票密码格式不正确！", nullptr},
    {V(ValidateDraftPassword), u" 123456", u"汇票密码格式不正确！", nullptr},
    {V(ValidateDraftPassword), u"", u"汇票密码不能为空！", nullptr},

    {V(ValidateBankAccount), u"6222021234567890", nullptr, nullptr},
    {V(ValidateBankAccount), u"622202123456789012345", nullptr, nullptr},
    {V(ValidateBankAccount), u"622202123456789", u"银行账号格式不正确！", nullptr},
    {V(ValidateBankAccount), u"6222021234567890123456", u"银行账号格式不正确！", nullptr},
    {V(ValidateBankAccount), u"6222-0212-3456-7890", u"银行账号格式不正确！", nullptr},
    {V(ValidateBankAccount), u"", u"银行账号不能为空！", nullptr},

    {V(ValidateRechargeCardNumber), u"123456789012345", nullptr, nullptr},
    {V(ValidateRechargeCardNumber), u"123456789012345678901", nullptr, nullptr},
    {V(ValidateRechargeCardNumber), u"12345678901234", u"充值卡号格式不正确！", nullptr},
    {V(ValidateRechargeCardNumber), u"1234567890123456789012", u"充值卡号格式不正确！", nullptr},
    {V(ValidateRechargeCardNumber), u"12345678901234五", u"充值卡号格式不正确！", nullptr},
    {V(ValidateRechargeCardNumber), u"", u"充值卡号不能为空！", nullptr},

    {V(ValidateRechargeCardPassword), u"123456789012345678", nullptr, nullptr},
    {V(ValidateRechargeCardPassword), u"123456789012345678901", nullptr, nullptr},
    {V(ValidateRechargeCardPassword), u"12345678901234567", u"充值卡密码格式不正确！", nullptr},
    {V(ValidateRechargeCardPassword), u"1234567890123456789012", u"充值卡密码格式不正确！", nullptr},
    {V(ValidateRechargeCardPassword), u"", u"充值卡密码不能为空！", nullptr},
};

#undef V

class Validators : public ::testing::TestWithParam<ValidatorCase> {};

TEST_P(Validators, AnswerWithTheExactMessage)
{
  const ValidatorCase& c = GetParam();
  CStringW text = c.input.c_str();
  CStringW message = u"untouched";
  BOOL accepted = c.validate(text, message);
  if (c.message == nullptr) {
    EXPECT_TRUE(accepted);
    EXPECT_EQ(message, u"untouched");
  } else {
    EXPECT_FALSE(accepted);
    EXPECT_EQ(message, c.message) << "got \"" << CStringA(message).GetString() << "\"";
  }
  EXPECT_EQ(text, c.after != nullptr ? c.after : c.input.c_str());
}

INSTANTIATE_TEST_SUITE_P(Fields, Validators, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<ValidatorCase>& info) {
                           return std::string(info.param.validator) + "_" + std::to_string(info.index);
                         });

}  // namespace
