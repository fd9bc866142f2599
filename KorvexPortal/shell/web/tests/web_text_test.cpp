// The texts of the browser dialogs: percent decoding, form escaping, link values and addresses
// resolved against the page's.
#include <gtest/gtest.h>

#include "testing/ui_harness.h"
#include "text/codepage.h"
#include "web_text.h"

namespace {

std::string Utf8(const CStringW& text)
{
  return kvtest::Narrow(std::u16string(text.GetString()));
}

TEST(WebText, PercentDecodeTurnsSequencesIntoBytesAndLeavesTheRest)
{
  const std::pair<std::string, std::string> cases[] = {
      {"a%20b+c", "a b+c"},         {"%E5%B7%B2", "已"}, {"100%", "100%"},
      {"%2", "%2"},                 {"%zz%41", "%zzA"}, {"%25%3D%26", "%=&"},
  };
  for (const auto& [in, out] : cases)
    EXPECT_EQ(out, PercentDecode(in)) << in;
}

TEST(WebText, EscapeForFormKeepsOnlyUnreservedCharacters)
{
  EXPECT_EQ("460001234567890%7C86001", Utf8(EscapeForForm(u"460001234567890|86001")));
  EXPECT_EQ("a%26b%3Dc%2B%25%20%E5%B7%B2", Utf8(EscapeForForm(u"a&b=c+% 已")));
}

TEST(WebText, ValueAfterKeyEndsAtTheNextAmpersandAndNeedsAStartBeforeIt)
{
  CStringW link = u"https://h/trade_pay.do?korvex_trade_no=12&return_url=x%2526y";
  EXPECT_EQ("12", Utf8(ValueAfterKey(link, u"korvex_trade_no=")));
  EXPECT_EQ("x%2526y", Utf8(ValueAfterKey(link, u"return_url=")));
  EXPECT_EQ("", Utf8(ValueAfterKey(u"korvex_trade_no=1", u"korvex_trade_no="))) << "at position 0";
  EXPECT_EQ("", Utf8(ValueAfterKey(link, u"missing=")));
}

TEST(WebText, UnescapeInCodePageReadsTheBytesInThatCodePage)
{
  EXPECT_EQ("已付款", Utf8(UnescapeInCodePage(u"%E5%B7%B2%E4%BB%98%E6%AC%BE", CP_UTF8)));
  EXPECT_EQ("已付款", Utf8(UnescapeInCodePage(u"%D2%D1%B8%B6%BF%EE", CodePageOfCharset(u"GBK"))));
  EXPECT_EQ(static_cast<UINT>(CP_UTF8), CodePageOfCharset(u"utf-8"));
}

TEST(WebText, ResolveAgainstThePagesAddress)
{
  const CStringW page = u"https://gw:8443/amusement/trade_pay.do?korvex_trade_no=1";
  const std::pair<const char16_t*, std::string> cases[] = {
      {u"/amusement.htm", "https://gw:8443/amusement.htm"},
      {u"done.htm?a=1", "https://gw:8443/amusement/done.htm?a=1"},
      {u"http://shop.example/x", "http://shop.example/x"},
      {u"", ""},
  };
  for (const auto& [reference, out] : cases)
    EXPECT_EQ(out, Utf8(ResolveAgainst(page, reference))) << Utf8(reference);
}

}  // namespace
