#include "text/codepage.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"

namespace {

// Converts with the counting call first, as callers do; returns the units without the
// terminator that -1 adds.
std::u16string ToWide(UINT codePage, const std::string& bytes, DWORD flags = 0)
{
  int needed = MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (needed == 0)
    return u"<failed>";
  std::u16string out(static_cast<size_t>(needed), u'\0');
  EXPECT_EQ(MultiByteToWideChar(codePage, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), needed), needed);
  return out;
}

std::string ToNarrow(UINT codePage, const std::u16string& wide, DWORD flags = 0, LPCSTR defaultChar = nullptr,
                     BOOL* usedDefault = nullptr)
{
  int needed = WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), nullptr, 0, defaultChar,
                                   usedDefault);
  if (needed == 0)
    return "<failed>";
  std::string out(static_cast<size_t>(needed), '\0');
  EXPECT_EQ(WideCharToMultiByte(codePage, flags, wide.data(), static_cast<int>(wide.size()), out.data(), needed,
                                defaultChar, usedDefault),
            needed);
  return out;
}

}  // namespace

TEST(CodePage, RoundTripsChineseThroughAnsiAndUtf8)
{
  const std::u16string text = u"中文ABC€，。";
  const std::string gbk = "\xD6\xD0\xCE\xC4" "ABC\x80\xA3\xAC\xA1\xA3";
  const std::string utf8 = "\xE4\xB8\xAD\xE6\x96\x87" "ABC\xE2\x82\xAC\xEF\xBC\x8C\xE3\x80\x82";
  EXPECT_EQ(ToNarrow(CP_ACP, text), gbk);
  EXPECT_EQ(ToNarrow(936, text), gbk);
  EXPECT_EQ(ToWide(CP_ACP, gbk), text);
  EXPECT_EQ(ToNarrow(CP_UTF8, text), utf8);
  EXPECT_EQ(ToWide(CP_UTF8, utf8), text);
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_TRUE(IsDBCSLeadByte(0xD6));
  EXPECT_FALSE(IsDBCSLeadByte('A'));
}

TEST(CodePage, Utf8CarriesSurrogatePairsAndReplacesLoneSurrogates)
{
  EXPECT_EQ(ToNarrow(CP_UTF8, u"\U0001F600"), "\xF0\x9F\x98\x80");
  EXPECT_EQ(ToWide(CP_UTF8, "\xF0\x9F\x98\x80"), u"\U0001F600");
  EXPECT_EQ(ToNarrow(CP_UTF8, std::u16string(u"a\xD800" "b\xDC00")), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");

  SetLastError(0);
  const WCHAR lone[] = {u'a', 0xD800, 0};
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, nullptr, 0, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
}

TEST(CodePage, InvalidUtf8IsReplacedPerMaximalSequenceOrRefused)
{
  struct Row {
    std::string bytes;
    std::u16string expected;
  } rows[] = {
      {"\xE4\xB8" "A", u"\xFFFD" "A"},              // truncated sequence
      {"\xC0\x80", u"\xFFFD\xFFFD"},                 // overlong lead, lone continuation
      {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},       // an encoded surrogate
      {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},  // beyond U+10FFFF
      {"\xF0\x9F\x98", u"\xFFFD"},
      {"a\xFF", u"a\xFFFD"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(ToWide(CP_UTF8, row.bytes), row.expected);
    SetLastError(0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, row.bytes.data(), static_cast<int>(row.bytes.size()),
                                  nullptr, 0),
              0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));
  }
}

TEST(CodePage, InvalidAndUnmappableAnsiText)
{
  EXPECT_EQ(ToWide(CP_ACP, "\xFF" "a"), u"?a");
  EXPECT_EQ(ToWide(CP_ACP, "a\xD6"), u"a?");            // lead byte at the end
  EXPECT_EQ(ToWide(CP_ACP, "\x81\x30"), u"?0");         // lead byte without a trail byte
  EXPECT_EQ(ToWide(CP_ACP, "\xA2\xE3"), u"?");          // an undefined pair is one character
  EXPECT_EQ(ToWide(CP_ACP, "\xD6\xD0", MB_PRECOMPOSED), u"中");
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "a\xD6", 2, nullptr, 0), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_UNICODE_TRANSLATION));

  BOOL usedDefault = TRUE;
  EXPECT_EQ(ToNarrow(CP_ACP, u"中x", 0, nullptr, &usedDefault), "\xD6\xD0x");
  EXPECT_FALSE(usedDefault);
  EXPECT_EQ(ToNarrow(CP_ACP, u"\u0E01x", 0, nullptr, &usedDefault), "?x");
  EXPECT_TRUE(usedDefault);
  EXPECT_EQ(ToNarrow(CP_ACP, u"\u0E01", 0, "*"), "*");
  EXPECT_EQ(ToNarrow(CP_ACP, u"\U0001F600"), "??");  // each unit of the pair
  EXPECT_EQ(ToNarrow(CP_ACP, std::u16string(u"\xDC00")), "?");
}

TEST(CodePage, CountingRules)
{
  // -1 converts up to and including the terminator, and counts it.
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, nullptr, 0), 3);
  WCHAR wide[8] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", -1, wide, 8), 3);
  EXPECT_EQ(std::u16string(wide), u"ab");
  // An explicit length converts exactly that, with no terminator added.
  wide[2] = u'x';
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "ab", 2, wide, 8), 2);
  EXPECT_EQ(wide[2], u'x');
  EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a\0b", 3, wide, 8), 3);  // embedded zeros too
  EXPECT_EQ(wide[1], 0);
  // An exact fit works; one unit short fails.
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xD6\xD0\xCE\xC4", -1, wide, 3), 3);
  SetLastError(0);
  EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\xD6\xD0\xCE\xC4", -1, wide, 2), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  char narrow[8];
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"中", -1, nullptr, 0, nullptr, nullptr), 4);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"中", -1, narrow, 4, nullptr, nullptr), 4);
  EXPECT_EQ(std::string(narrow), "\xE4\xB8\xAD");
  SetLastError(0);
  EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"中", 1, narrow, 2, nullptr, nullptr), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(CodePage, BadArgumentsFail)
{
  WCHAR wide[4];
  char narrow[4];
  BOOL used = FALSE;
  struct Row {
    std::function<int()> call;
    DWORD error;
  } rows[] = {
      {[&] { return MultiByteToWideChar(CP_UTF8, 0, "a", 0, wide, 4); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, wide, 4); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(CP_UTF8, 0, "a", -2, wide, 4); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(CP_UTF8, 0, "a", -1, nullptr, 4); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(1252, 0, "a", -1, wide, 4); }, ERROR_INVALID_PARAMETER},
      {[&] { return MultiByteToWideChar(CP_UTF8, MB_PRECOMPOSED, "a", -1, wide, 4); }, ERROR_INVALID_FLAGS},
      {[&] { return WideCharToMultiByte(CP_UTF8, 0, u"a", -1, narrow, 4, "?", nullptr); }, ERROR_INVALID_PARAMETER},
      {[&] { return WideCharToMultiByte(CP_UTF8, 0, u"a", -1, narrow, 4, nullptr, &used); }, ERROR_INVALID_PARAMETER},
      {[&] { return WideCharToMultiByte(CP_ACP, WC_ERR_INVALID_CHARS, u"a", -1, narrow, 4, nullptr, nullptr); },
       ERROR_INVALID_FLAGS},
      {[&] { return WideCharToMultiByte(CP_ACP, 0, u"a", 0, narrow, 4, nullptr, nullptr); }, ERROR_INVALID_PARAMETER},
      {[&] { return WideCharToMultiByte(CP_ACP, 0, u"a", -1, narrow, -1, nullptr, nullptr); }, ERROR_INVALID_PARAMETER},
  };
  for (size_t i = 0; i < std::size(rows); ++i) {
    SCOPED_TRACE("row " + std::to_string(i));
    SetLastError(0);
    EXPECT_EQ(rows[i].call(), 0);
    EXPECT_EQ(GetLastError(), rows[i].error);
  }
}

TEST(CodePage, ConvertsOnManyThreadsAtOnce)
{
  std::vector<std::thread> threads;
  std::vector<int> failures(8, 0);
  for (size_t t = 0; t < failures.size(); ++t) {
    threads.emplace_back([&failures, t] {
      for (int i = 0; i < 200; ++i) {
        if (ToWide(CP_ACP, "\xD6\xD0\xCE\xC4") != u"中文" || ToNarrow(CP_ACP, u"中文") != "\xD6\xD0\xCE\xC4")
          ++failures[t];
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  for (int f : failures)
    EXPECT_EQ(f, 0);
}
