#include "text/scan.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <string>

TEST(Scan, RealsReadANumericPrefixAndCountConvertedItems)
{
  struct Row {
    const WCHAR* input;
    int result;
    double value;
  } rows[] = {
      {u"1.5", 1, 1.5},      {u"  -2.5e3", 1, -2500.0}, {u"1.2.3", 1, 1.2}, {u"1-2", 1, 1.0},
      {u"1e", 1, 1.0},       {u"+.5", 1, 0.5},          {u"abc", 0, -7.0}, {u".", 0, -7.0},
      {u"-", 0, -7.0},       {u"", -1, -7.0},           {u"  ", -1, -7.0}, {u"1e400", 1, HUGE_VAL},
      {u"\u3000 3", 1, 3.0}, {u"inf", 0, -7.0},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::u16string(row.input).size());
    double value = -7.0;
    EXPECT_EQ(swscanf(row.input, u"%lf", &value), row.result);
    EXPECT_EQ(value, row.value);
  }
}

TEST(Scan, LongAndLongDoubleAsTheJsonParserReadsThem)
{
  long l = 0;
  EXPECT_EQ(sscanf("-123 ", "%ld", &l), 1);
  EXPECT_EQ(l, -123);
  EXPECT_EQ(sscanf("99999999999", "%ld", &l), 1);  // the device's long is 32 bits
  EXPECT_EQ(l, INT32_MAX);
  EXPECT_EQ(sscanf("-99999999999", "%ld", &l), 1);
  EXPECT_EQ(l, INT32_MIN);
  long double ld = 0;
  EXPECT_EQ(sscanf("0.1", "%Lf", &ld), 1);
  EXPECT_EQ(ld, 0.1L);
  float f = 0;
  EXPECT_EQ(sscanf("0.1", "%f", &f), 1);
  EXPECT_EQ(f, 0.1f);
  double d = 0;
  EXPECT_EQ(sscanf("0.1", "%f", &d), 1);  // the destination's type decides
  EXPECT_EQ(d, 0.1);
}

TEST(Scan, IntegersSaturateAtTheNamedSizeThenTheDestination)
{
  int i = 0;
  unsigned u = 0;
  int64_t big = 0;
  short s = 0;
  EXPECT_EQ(swscanf(u"99999999999", u"%d", &i), 1);
  EXPECT_EQ(i, INT_MAX);
  EXPECT_EQ(swscanf(u"-1", u"%u", &u), 1);
  EXPECT_EQ(u, 0xFFFFFFFFu);
  EXPECT_EQ(swscanf(u"ffffffff", u"%x", &i), 1);  // the bits of the named size, as stored on the device
  EXPECT_EQ(i, -1);
  EXPECT_EQ(swscanf(u"0x1F 017 12", u"%i %i %o", &i, &u, &s), 3);
  EXPECT_EQ(i, 31);
  EXPECT_EQ(u, 15u);
  EXPECT_EQ(s, 10);
  EXPECT_EQ(swscanf(u"9223372036854775807", u"%I64d", &big), 1);
  EXPECT_EQ(big, INT64_MAX);
  EXPECT_EQ(swscanf(u"5000000000", u"%lld", &i), 1);  // a smaller destination saturates
  EXPECT_EQ(i, INT_MAX);
  EXPECT_EQ(swscanf(u"-5", u"%d", &u), 1);
  EXPECT_EQ(u, static_cast<unsigned>(-5));
  EXPECT_EQ(swscanf(u"-5", u"%d", &big), 1);  // a larger destination keeps the value
  EXPECT_EQ(big, -5);
  EXPECT_EQ(swscanf(u"70000", u"%hd", &s), 1);
  EXPECT_EQ(s, SHRT_MAX);
  EXPECT_EQ(swscanf(u"12345", u"%3d%d", &i, &s), 2);
  EXPECT_EQ(i, 123);
  EXPECT_EQ(s, 45);
}

TEST(Scan, TextConversionsAreBoundedByTheDestination)
{
  WCHAR word[4];
  WCHAR rest[16];
  EXPECT_EQ(swscanf(u"  abcdef ghi", u"%s%s", word, rest), 2);
  EXPECT_EQ(std::u16string(word), u"abc");  // the array holds three units and the terminator
  EXPECT_EQ(std::u16string(rest), u"def");

  char narrow[8];
  EXPECT_EQ(sscanf("key=value;x", "%[^=]=%[a-z]", narrow, rest), 2);
  EXPECT_EQ(std::string(narrow), "key");
  EXPECT_EQ(std::u16string(rest), u"value");

  EXPECT_EQ(swscanf(u"中文 x", u"%s", narrow), 1);  // converted through the ANSI code page
  EXPECT_EQ(std::string(narrow), "\xD6\xD0\xCE\xC4");

  WCHAR* plain = rest;
  EXPECT_EQ(swscanf(u"abc", u"%s", plain), 0);  // no size known, no width: refused
  EXPECT_EQ(swscanf(u"abcdef", u"%2s", plain), 1);
  EXPECT_EQ(std::u16string(rest), u"ab");

  WCHAR pair[2];
  WCHAR one = 0;
  EXPECT_EQ(swscanf(u" xyz", u"%c%2c", &one, pair), 2);
  EXPECT_EQ(one, u' ');
  EXPECT_EQ(pair[0], u'x');
  EXPECT_EQ(pair[1], u'y');
}

TEST(Scan, LiteralsSuppressionCountAndMismatches)
{
  int a = 0, b = 0, consumed = 0;
  EXPECT_EQ(swscanf(u"(3, 4)", u"(%d ,%d)%n", &a, &b, &consumed), 2);
  EXPECT_EQ(a + b, 7);
  EXPECT_EQ(consumed, 6);
  EXPECT_EQ(swscanf(u"7 8", u"%*d %d", &a), 1);
  EXPECT_EQ(a, 8);
  EXPECT_EQ(swscanf(u"50%", u"%d%%", &a), 1);
  EXPECT_EQ(swscanf(u"x5", u"y%d", &a), 0);
  EXPECT_EQ(swscanf(u"", u"y%d", &a), -1);

  WCHAR text[4];
  double d = 0;
  a = 1;
  EXPECT_EQ(swscanf(u"12", u"%d", text), 0);  // a text destination for a number
  EXPECT_EQ(swscanf(u"ab", u"%s", &d), 0);
  EXPECT_EQ(swscanf(u"1 2", u"%d %d", &a), 1);  // a missing destination ends the scan
  EXPECT_EQ(swscanf(u"1", u"%d", static_cast<int*>(nullptr)), 0);
  EXPECT_EQ(swscanf(u"1", u"%q", &a), 0);
}
