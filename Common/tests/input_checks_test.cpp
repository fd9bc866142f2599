#include "input_checks.h"

#include <gtest/gtest.h>

#include "text/cstring.h"

namespace {

TEST(InputChecks, PasswordCharactersAndLengthBounds)
{
  EXPECT_TRUE(IsValidPasswordChars(u"abcdef", 6, 20));
  EXPECT_TRUE(IsValidPasswordChars(u"abcdefghij0123456789", 6, 20));
  EXPECT_FALSE(IsValidPasswordChars(u"abcde", 6, 20));
  EXPECT_FALSE(IsValidPasswordChars(u"abcdefghij0123456789x", 6, 20));
  EXPECT_FALSE(IsValidPasswordChars(u"abcdef", 8, 6)) << "maximum below minimum";
  EXPECT_FALSE(IsValidPasswordChars(u"", -2, -1));
  EXPECT_TRUE(IsValidPasswordChars(u"", 0, 0));
  EXPECT_TRUE(IsValidPasswordA("pass~1", 6, 20));
  EXPECT_FALSE(IsValidPasswordA("pass\xD6\xA7", 6, 20)) << "a Chinese character";
}

TEST(InputChecks, StrongPasswords)
{
  struct {
    const WCHAR* text;
    BOOL strong;
  } cases[] = {
      {u"123456", FALSE}, {u"abcdef", FALSE}, {u"fedcba", TRUE},  {u"abc123", TRUE},
      {u"xyzABC", FALSE}, {u"ABCDEF", FALSE}, {u"Zabcde", TRUE},  {u"", FALSE},
      {u"a", FALSE},      {u"!@#$%^", FALSE}, {u"!a!a!a", TRUE},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsStrongPassword(c.text), c.strong) << CStringA(c.text).GetString();
  }
}

TEST(InputChecks, NarrowFormsMatchLikeTheWideOnes)
{
  EXPECT_TRUE(IsValidMobileA("13812345678"));
  EXPECT_FALSE(IsValidMobileA("12812345678"));
  EXPECT_TRUE(IsValidEmailA("a.b@c.d"));
  EXPECT_FALSE(IsValidEmailA("a@b"));
  EXPECT_TRUE(IsValidIdCardNumberA("12345678901234567X"));
  EXPECT_TRUE(IsValidAmountA("0.05"));
  EXPECT_FALSE(IsValidAmountA("0.50"));
  EXPECT_TRUE(IsValidDraftNumberA("12345678901234"));
  EXPECT_TRUE(IsValidDraftPasswordA("123456"));
  EXPECT_TRUE(IsValidBankAccountA("1234567890123456"));
  EXPECT_TRUE(IsValidCheckCodeA("a1B2"));
  EXPECT_FALSE(IsValidCheckCodeA("a1B"));
  EXPECT_TRUE(IsValidRechargeCardNumber(u"123456789012345"));
  EXPECT_TRUE(IsValidRechargeCardPassword(u"123456789012345678"));
  EXPECT_TRUE(IsValidRealNameA("\xD5\xC5\xC8\xFD"));  // 张三 in code page 936
  EXPECT_FALSE(IsValidRealNameA("zhang"));
  EXPECT_FALSE(IsValidMobileA(nullptr));
}

TEST(InputChecks, PasswordPatternTakesMarksAndBackslash)
{
  EXPECT_TRUE(IsValidPasswordPatternA("ab\\|[]{}"));
  EXPECT_TRUE(IsValidPasswordPatternA("0123456789abcdef"));
  EXPECT_FALSE(IsValidPasswordPatternA("0123456789abcdefg"));
  EXPECT_FALSE(IsValidPasswordPatternA("abcde"));
  EXPECT_FALSE(IsValidPasswordPatternA("abc def"));
}

}  // namespace
