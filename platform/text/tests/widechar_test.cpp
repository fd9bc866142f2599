// The C library's wide functions are included first on purpose: the helpers must coexist with
// them in one file.
#include <cwchar>
#include <cwctype>

#include "text/widechar.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <string>

TEST(WideChar, CoexistsWithTheCLibrary)
{
  EXPECT_EQ(wcslen(L"abcd"), 4u);
  EXPECT_EQ(wcslen(u"abc"), 3u);
  EXPECT_EQ(towlower(L'A'), static_cast<wint_t>(L'a'));
  EXPECT_EQ(towlower(u'A'), u'a');
  EXPECT_TRUE(iswspace(' '));
  EXPECT_TRUE(iswdigit(u'7'));
  EXPECT_EQ(std::wcstol(L"12", nullptr, 10), 12);
}

TEST(WideChar, StringFunctions)
{
  EXPECT_EQ(_wcsicmp(u"ABC", u"abc"), 0);
  EXPECT_LT(_wcsicmp(u"_", u"A"), 0);  // folded to lower case
  EXPECT_NE(_wcsicmp(u"À", u"à"), 0);
  EXPECT_EQ(_wcsnicmp(u"ABCx", u"abcy", 3), 0);
  EXPECT_LT(wcscmp(u"a", u"\xFFFF"), 0);
  EXPECT_GT(wcsncmp(u"abd", u"abc", 3), 0);
  EXPECT_EQ(wcsncmp(u"abd", u"abc", 2), 0);

  WCHAR buffer[8];
  wcsncpy(buffer, u"ab", 5);
  EXPECT_EQ(buffer[2], 0);
  EXPECT_EQ(buffer[4], 0);  // padded with zeros
  wcsncat(buffer, u"cdef", 2);
  EXPECT_EQ(std::u16string(buffer), u"abcd");
  wcscat(wcscpy(buffer, u"x"), u"yz");
  EXPECT_EQ(std::u16string(buffer), u"xyz");

  const WCHAR* s = u"a,b;c";
  EXPECT_EQ(wcschr(s, u';'), s + 3);
  EXPECT_EQ(wcschr(s, 0), s + 5);
  EXPECT_EQ(wcsrchr(s, u'x'), nullptr);
  EXPECT_EQ(wcsstr(s, u"b;"), s + 2);
  EXPECT_EQ(wcsstr(s, u""), s);
  EXPECT_EQ(wcspbrk(s, u";,"), s + 1);
  EXPECT_EQ(wcsspn(u"aab", u"a"), 2u);
  EXPECT_EQ(wcscspn(u"aab", u"b"), 2u);
  WCHAR* copy = _wcsdup(u"dup");
  EXPECT_EQ(std::u16string(copy), u"dup");
  std::free(copy);
}

TEST(WideChar, IntegersSaturateAtTheDeviceSizes)
{
  WCHAR* end = nullptr;
  const WCHAR* text = u"0x1Fz";
  EXPECT_EQ(wcstol(text, &end, 16), 31);
  EXPECT_EQ(end, text + 4);
  EXPECT_EQ(wcstol(u"010", nullptr, 0), 8);
  text = u"  junk";
  EXPECT_EQ(wcstol(text, &end, 10), 0);
  EXPECT_EQ(end, text);  // nothing read: end is the start
  text = u"0x";
  EXPECT_EQ(wcstol(text, &end, 16), 0);
  EXPECT_EQ(end, text + 1);  // the 0 only
  EXPECT_EQ(_wtoi(u"\u3000 -42abc"), -42);

  errno = 0;
  EXPECT_EQ(_wtoi(u"99999999999"), INT_MAX);
  EXPECT_EQ(errno, ERANGE);
  EXPECT_EQ(_wtol(u"-2147483649"), INT_MIN);
  EXPECT_EQ(wcstoul(u"-1", nullptr, 10), 0xFFFFFFFFu);
  EXPECT_EQ(wcstoul(u"4294967296", nullptr, 10), 0xFFFFFFFFu);
  EXPECT_EQ(_wtoi64(u"-9223372036854775809"), INT64_MIN);
  EXPECT_EQ(_wtoi64(u"123456789012"), 123456789012);
}

TEST(WideChar, RealsReadADecimalPrefix)
{
  WCHAR* end = nullptr;
  const WCHAR* text = u"1.5e3x";
  EXPECT_EQ(wcstod(text, &end), 1500.0);
  EXPECT_EQ(end, text + 5);
  text = u"1e";
  EXPECT_EQ(wcstod(text, &end), 1.0);
  EXPECT_EQ(end, text + 1);
  text = u".";
  EXPECT_EQ(wcstod(text, &end), 0.0);
  EXPECT_EQ(end, text);
  EXPECT_EQ(_wtof(u" -.25"), -0.25);
  EXPECT_EQ(_wtof(u"0.1"), 0.1);
  EXPECT_EQ(_wtof(u"abc"), 0.0);
  EXPECT_EQ(_wtof(u"inf"), 0.0);  // decimal numbers only
  errno = 0;
  EXPECT_TRUE(std::isinf(_wtof(u"1e400")));
  EXPECT_EQ(errno, ERANGE);
}

TEST(WideChar, IntegersToText)
{
  WCHAR buffer[66];
  EXPECT_EQ(std::u16string(_itow(-255, buffer, 10)), u"-255");
  EXPECT_EQ(std::u16string(_itow(-255, buffer, 16)), u"ffffff01");
  EXPECT_EQ(std::u16string(_ltow(0, buffer, 2)), u"0");
  EXPECT_EQ(std::u16string(_ultow(0xFFFFFFFFu, buffer, 36)), u"1z141z3");
  EXPECT_EQ(std::u16string(_i64tow(INT64_MIN, buffer, 10)), u"-9223372036854775808");
  EXPECT_EQ(std::u16string(_ui64tow(UINT64_MAX, buffer, 16)), u"ffffffffffffffff");
  EXPECT_EQ(std::u16string(_itow(5, buffer, 37)), u"");
}

TEST(WideChar, CaseMappingAndClasses)
{
  struct CaseRow {
    WCHAR upper;
    WCHAR lower;
  } pairs[] = {{u'A', u'a'}, {u'À', u'à'}, {u'Ω', u'ω'}, {u'Ж', u'ж'}, {u'Ё', u'ё'}, {u'Ａ', u'ａ'}, {u'Ÿ', u'ÿ'}, {u'Ā', u'ā'}};
  for (const CaseRow& row : pairs) {
    EXPECT_EQ(towlower(row.upper), row.lower);
    EXPECT_EQ(towupper(row.lower), row.upper);
    EXPECT_TRUE(iswupper(row.upper));
    EXPECT_TRUE(iswlower(row.lower));
  }
  EXPECT_EQ(towupper(u'ς'), u'Σ');
  EXPECT_EQ(towlower(u'中'), u'中');
  EXPECT_EQ(towupper(u'ß'), u'ß');
  EXPECT_EQ(towlower(0x1F600), 0x1F600);

  EXPECT_TRUE(iswspace(u'\u3000'));
  EXPECT_TRUE(iswspace(u'\u00A0'));
  EXPECT_FALSE(iswspace(u'\u200B'));
  EXPECT_TRUE(iswalpha(u'中'));
  EXPECT_TRUE(iswalpha(u'ß'));
  EXPECT_FALSE(iswalpha(u'1'));
  EXPECT_FALSE(iswalpha(u'，'));
  EXPECT_TRUE(iswalnum(u'9'));
  EXPECT_TRUE(iswpunct(u'，'));
  EXPECT_TRUE(iswpunct(u'。'));
  EXPECT_TRUE(iswpunct(u'!'));
  EXPECT_FALSE(iswpunct(u'a'));
  EXPECT_FALSE(iswdigit(u'１'));
  EXPECT_TRUE(iswxdigit(u'F'));
  EXPECT_FALSE(iswxdigit(u'g'));
  EXPECT_TRUE(iswcntrl(0x85));
  EXPECT_FALSE(iswprint(0xD800));
  EXPECT_TRUE(iswprint(u'\u3000'));
  EXPECT_FALSE(iswprint(u'\n'));
}
