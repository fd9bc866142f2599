#include "text/cstring.h"

#include <gtest/gtest.h>

#include <climits>
#include <map>
#include <string>

#include "text_test_support.h"

TEST(CString, MidLeftRightClampOutOfRangeArguments)
{
  const CStringW s(u"abcdef");
  struct Row {
    CStringW actual;
    const WCHAR* expected;
  } rows[] = {
      {s.Mid(-1, 2), u"ab"},   {s.Mid(4, 10), u"ef"},    {s.Mid(6, 1), u""},       {s.Mid(7), u""},
      {s.Mid(2, -1), u""},     {s.Mid(INT_MAX, INT_MAX), u""}, {s.Mid(1, INT_MAX), u"bcdef"}, {s.Mid(-5), u"abcdef"},
      {s.Left(-1), u""},       {s.Left(99), u"abcdef"},  {s.Right(2), u"ef"},      {s.Right(99), u"abcdef"},
      {s.Right(-5), u""},      {s.Left(0), u""},
  };
  for (const Row& row : rows)
    EXPECT_EQ(row.actual, row.expected);
}

TEST(CString, FindRespectsStartAndBounds)
{
  const CStringW s(u"abcabc");
  EXPECT_EQ(s.Find(u'c'), 2);
  EXPECT_EQ(s.Find(u'c', 3), 5);
  EXPECT_EQ(s.Find(u'a', -1), -1);
  EXPECT_EQ(s.Find(u'a', 6), -1);
  EXPECT_EQ(s.Find(u"bc", 2), 4);
  EXPECT_EQ(s.Find(u"", 2), 2);
  EXPECT_EQ(s.Find(u"", 7), -1);
  EXPECT_EQ(s.Find(static_cast<const WCHAR*>(nullptr)), -1);
  EXPECT_EQ(s.ReverseFind(u'b'), 4);
  EXPECT_EQ(s.ReverseFind(u'z'), -1);
  EXPECT_EQ(s.FindOneOf(u"xc"), 2);
  EXPECT_EQ(s.FindOneOf(u""), -1);
}

TEST(CString, ReplaceCountsAndIgnoresAnEmptyPattern)
{
  CStringW s(u"aaa");
  EXPECT_EQ(s.Replace(u"a", u"bb"), 3);
  EXPECT_EQ(s, u"bbbbbb");
  s = u"aaaa";
  EXPECT_EQ(s.Replace(u"aa", u"b"), 2);  // left to right, without overlaps
  EXPECT_EQ(s, u"bb");
  EXPECT_EQ(s.Replace(u"", u"x"), 0);
  EXPECT_EQ(s.Replace(static_cast<const WCHAR*>(nullptr), u"x"), 0);
  EXPECT_EQ(s.Replace(u"b", nullptr), 2);
  EXPECT_TRUE(s.IsEmpty());
  s = u"a.b.c";
  EXPECT_EQ(s.Replace(u'.', u'/'), 2);
  EXPECT_EQ(s, u"a/b/c");
  EXPECT_EQ(s.Remove(u'/'), 2);
  EXPECT_EQ(s, u"abc");
}

TEST(CString, TrimUsesWideWhiteSpaceOrTheGivenSet)
{
  CStringW s(u"\u3000 \t x y \r\n");
  EXPECT_EQ(s.Trim(), u"x y");
  s = u"xxaxx";
  EXPECT_EQ(s.Trim(u'x'), u"a");
  s = u"xyaxy";
  EXPECT_EQ(s.TrimLeft(u"yx"), u"axy");
  EXPECT_EQ(s.TrimRight(u"y"), u"ax");
  s = u"  ";
  EXPECT_EQ(s.Trim(), u"");
  CStringA narrow(" \t\xA1\xA1 ");  // the 936 ideographic space is not ASCII white space
  EXPECT_EQ(narrow.Trim(), "\xA1\xA1");
}

TEST(CString, TokenizeSkipsRunsOfDelimitersAndEnds)
{
  const CStringW s(u",a,,b;c;");
  int start = 0;
  std::u16string tokens;
  for (CStringW token = s.Tokenize(u",;", start); start != -1; token = s.Tokenize(u",;", start))
    tokens += std::u16string(token.GetString()) + u"|";
  EXPECT_EQ(tokens, u"a|b|c|");

  start = 2;
  EXPECT_EQ(s.Tokenize(u"", start), u",,b;c;");  // no delimiters: the rest
  EXPECT_EQ(s.Tokenize(u"", start), u"");
  EXPECT_EQ(start, -1);
  start = 99;
  EXPECT_EQ(s.Tokenize(u",", start), u"");
  EXPECT_EQ(start, -1);
  start = -3;
  EXPECT_EQ(s.Tokenize(u",", start), u"");
  EXPECT_EQ(start, -1);
}

TEST(CString, SpansCutAtTheFirstCharacterOutsideOrInside)
{
  const CStringW s(u"1234abc");
  EXPECT_EQ(s.SpanIncluding(u"0123456789"), u"1234");
  EXPECT_EQ(s.SpanExcluding(u"cb"), u"1234a");
  EXPECT_EQ(s.SpanIncluding(u"x"), u"");
}

TEST(CString, GetBufferAndReleaseBuffer)
{
  CStringW s(u"abc");
  WCHAR* p = s.GetBuffer(10);
  p[0] = u'h';
  p[1] = u'i';
  p[2] = 0;
  s.ReleaseBuffer();  // up to the terminator
  EXPECT_EQ(s, u"hi");
  EXPECT_EQ(s.GetLength(), 2);

  p = s.GetBuffer(4);
  p[0] = u'w';
  p[1] = u'x';
  p[2] = u'y';
  p[3] = u'z';
  p[4] = 0;
  s.ReleaseBuffer(3);
  EXPECT_EQ(s, u"wxy");

  p = s.GetBufferSetLength(2);
  EXPECT_EQ(s.GetLength(), 2);
  s.ReleaseBuffer(100);  // clamped to the buffer
  EXPECT_EQ(s, u"wx");

  CStringA narrow;
  char* q = narrow.GetBuffer(8);
  q[0] = 'o';
  q[1] = 'k';
  q[2] = 0;
  narrow.ReleaseBuffer(-1);
  EXPECT_EQ(narrow, "ok");
}

TEST(CString, InsertAndDeleteClampPositions)
{
  CStringW s(u"bc");
  EXPECT_EQ(s.Insert(-5, u'a'), 3);
  EXPECT_EQ(s.Insert(99, u"de"), 5);
  EXPECT_EQ(s, u"abcde");
  EXPECT_EQ(s.Delete(-1, 1), 4);
  EXPECT_EQ(s.Delete(10, 1), 4);
  EXPECT_EQ(s.Delete(1, INT_MAX), 1);
  EXPECT_EQ(s.Delete(0, -2), 1);
  EXPECT_EQ(s, u"b");
}

TEST(CString, IndexingOutOfRangeIsSafe)
{
  CStringW s(u"ab");
  EXPECT_EQ(s.GetAt(1), u'b');
  EXPECT_EQ(s[2], 0);
  EXPECT_EQ(s.GetAt(-1), 0);
  s.SetAt(5, u'x');
  s.SetAt(0, u'z');
  EXPECT_EQ(s, u"zb");
}

TEST(CString, CaseChangesAndCaseFoldingAreAsciiOnly)
{
  CStringW s(u"ÀBc中Ｚ");
  EXPECT_EQ(s.MakeLower(), u"Àbc中Ｚ");
  EXPECT_EQ(s.MakeUpper(), u"ÀBC中Ｚ");
  EXPECT_EQ(CStringW(u"Hello").CompareNoCase(u"hELLO"), 0);
  EXPECT_NE(CStringW(u"À").CompareNoCase(u"à"), 0);
  EXPECT_LT(CStringW(u"_").CompareNoCase(u"A"), 0);  // folded to lower case: '_' < 'a'
  EXPECT_EQ(CStringW(u"abc").MakeReverse(), u"cba");
}

TEST(CString, CompareOrdersByUnsignedUnits)
{
  EXPECT_LT(CStringW(u"a").Compare(u"b"), 0);
  EXPECT_GT(CStringW(u"\xFFFF").Compare(u"a"), 0);
  EXPECT_GT(CStringW(u"ab").Compare(u"a"), 0);
  EXPECT_EQ(CStringW(u"").Compare(nullptr), 0);
  EXPECT_GT(CStringA("\x80").Compare("a"), 0);
}

TEST(CString, ConcatenationAndComparisonOperators)
{
  CStringW s(u"b");
  CStringW joined = u"a" + s + u'c' + CStringW(u"d") + u"e";
  joined += u'f';
  joined += u"g";
  joined += CStringW(u"h");
  joined += "i";
  EXPECT_EQ(joined, u"abcdefghi");
  EXPECT_TRUE(u"b" == s);
  EXPECT_TRUE(s != u"c");
  EXPECT_TRUE(s < u"c");
  EXPECT_TRUE(u"a" < s);
  EXPECT_TRUE(s >= CStringW(u"b"));
  std::map<CStringW, int> byName{{u"b", 2}, {u"a", 1}};
  EXPECT_EQ(byName.begin()->second, 1);

  const WCHAR* pointer = s;  // the implicit conversion
  EXPECT_EQ(std::u16string(pointer), u"b");
}

TEST(CString, ConvertsThroughTheAnsiCodePage)
{
  CStringW wide("\xD6\xD0\xCE\xC4 ok");
  EXPECT_EQ(wide, u"中文 ok");
  CStringA narrow(wide);
  EXPECT_EQ(narrow, "\xD6\xD0\xCE\xC4 ok");
  CStringA unmappable(u"\u0E01x");
  EXPECT_EQ(unmappable, "?x");
  wide = narrow;
  EXPECT_EQ(wide, u"中文 ok");
  EXPECT_EQ(CStringW("\xD6\xD0\xCE\xC4", 2), u"中");
  EXPECT_EQ(CStringW(u"abc", 2), u"ab");
  EXPECT_EQ(CStringW(u'x', 3), u"xxx");
  EXPECT_EQ(CStringW(static_cast<const WCHAR*>(nullptr)), u"");
}

TEST(CString, FormatMayUseTheStringItself)
{
  CStringW s(u"ab");
  s.Format(u"%s-%s", s, s.GetString());
  EXPECT_EQ(s, u"ab-ab");
  s.AppendFormat(u"+%s%d", s, 1);
  EXPECT_EQ(s, u"ab-ab+ab-ab1");
  s.Append(u"xyz", 2);
  EXPECT_EQ(s, u"ab-ab+ab-ab1xy");
}
