#include "text_helpers.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(EllipsizeString, ShortensToTheMaximumWithTwoDots)
{
  struct {
    const WCHAR* text;
    int maxLength;
    const WCHAR* expected;
  } cases[] = {
      {u"abcdefgh", 6, u"abcd.."}, {u"abcdefgh", 3, u"a.."},     {u"abcdefgh", 2, u"ab"},
      {u"abcdefgh", 0, u"ab"},     {u"abcdefgh", -5, u"ab"},     {u"abcdefgh", 8, u"abcdefgh"},
      {u"abcdefgh", 9, u"abcdefgh"}, {u"a", 0, u"a"},            {u"", 0, u""},
      {u"支付宝钱包余额", 5, u"支付宝.."},
  };
  for (const auto& c : cases) {
    CStringW text = c.text;
    EllipsizeString(text, c.maxLength);
    EXPECT_EQ(text, c.expected) << CStringA(c.text).GetString() << " to " << c.maxLength;
  }
}

TEST(ToHalfWidth, FoldsFullWidthFormsAndTheIdeographicSpaceOnly)
{
  struct {
    const WCHAR* text;
    const WCHAR* expected;
  } cases[] = {
      {u"１３８１２３４５６７８", u"13812345678"},
      {u"１，２", u"1,2"},
      {u"ＡＢＺ\u3000ａ～！", u"ABZ a~!"},
      {u"￥１００元", u"￥100元"},  // the full-width yen sign and Chinese stay
      {u"\uFF00\uFF5F abc", u"\uFF00\uFF5F abc"},
  };
  for (const auto& c : cases) {
    CStringW text = c.text;
    ToHalfWidth(text);
    EXPECT_EQ(text, c.expected);
  }
}

TEST(ToAnsi, WritesCodePage936BytesWithinTheBuffer)
{
  char buffer[8];
  EXPECT_EQ(ToAnsi(u"支付a", buffer, sizeof buffer), 5);
  EXPECT_EQ(std::string(buffer), "\xD6\xA7\xB8\xB6"
                                 "a");
  EXPECT_EQ(ToAnsi(u"支付abc", buffer, sizeof buffer), 7);
  EXPECT_EQ(ToAnsi(u"支付abcd", buffer, sizeof buffer), -1) << "no room for the terminator";
  EXPECT_EQ(buffer[0], '\0');
  EXPECT_EQ(ToAnsi(u"", buffer, sizeof buffer), 0);
}

TEST(Base64Strings, EncodeAndDecodeTheAnsiBytes)
{
  CStringW encoded;
  EXPECT_TRUE(Base64EncodeString(u"支付abc", encoded));
  EXPECT_EQ(encoded, u"1qe4tmFiYw==");
  CStringW decoded;
  EXPECT_TRUE(Base64DecodeString(encoded, decoded));
  EXPECT_EQ(decoded, u"支付abc");

  CStringW longText(u'x', 800);  // 1068 characters of Base64
  CStringW out = u"unchanged";
  EXPECT_FALSE(Base64EncodeString(longText, out));
  EXPECT_EQ(out, u"unchanged");
  CStringW longEncoded(u'A', 1400);  // 1050 bytes
  EXPECT_FALSE(Base64DecodeString(longEncoded, out));
  EXPECT_EQ(out, u"unchanged");
}

TEST(CharacterTests, AsciiOnly)
{
  EXPECT_TRUE(IsAsciiLetter(u'a') && IsAsciiLetter(u'Z'));
  EXPECT_FALSE(IsAsciiLetter(u'Ａ') || IsAsciiLetter(u'1') || IsAsciiLetter(u'é'));
  EXPECT_TRUE(IsAsciiDigit(u'0') && IsAsciiDigit(u'9'));
  EXPECT_FALSE(IsAsciiDigit(u'１'));
  EXPECT_TRUE(IsAsciiAlnum(u'q') && IsAsciiAlnum(u'7'));
  EXPECT_TRUE(IsBlank(u' ') && IsBlank(u'\t'));
  EXPECT_FALSE(IsBlank(u'\u3000'));
  EXPECT_TRUE(IsLineBreak(u'\r') && IsLineBreak(u'\n'));
}

}  // namespace
