// Helpers shared by the engine's tests: one row of a case table, run in the 8-bit and the
// wide engine, and the match result written as text ("no", or "start,end" per group, "-" for
// a group without a capture).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "regex/regex_pattern.h"

enum RegexEngines { kBothEngines, kNarrowOnly, kWideOnly };

struct RegexCase {
  const char* pattern;
  int flags;
  std::string text;
  const char* expected;
  RegexEngines engines = kBothEngines;
};

inline std::string DescribeMatch(const CRegexMatch& match)
{
  if (!match.IsMatched()) {
    return "no";
  }
  std::string out;
  for (int group = 0; group <= match.GetGroupCount(); ++group) {
    if (group > 0) {
      out += ' ';
    }
    if (match.GetStart(group) < 0) {
      out += '-';
    } else {
      out += std::to_string(match.GetStart(group)) + "," + std::to_string(match.GetEnd(group));
    }
  }
  return out;
}

// Each byte becomes the wide character of the same value.
inline std::u16string Widen(const std::string& text)
{
  std::u16string wide;
  for (unsigned char c : text) {
    wide += static_cast<char16_t>(c);
  }
  return wide;
}

inline std::string MatchNarrow(const char* pattern, int flags, const std::string& text)
{
  CRegexPattern<char> compiled(pattern, flags);
  return DescribeMatch(compiled.MatchWhole(text.c_str()));
}

inline std::string MatchWide(const std::u16string& pattern, int flags, const std::u16string& text)
{
  CRegexPattern<WCHAR> compiled(pattern.c_str(), flags);
  return DescribeMatch(compiled.MatchWhole(text.c_str()));
}

// Checks one row in the engines it names; the wide engine gets the row widened byte by byte.
inline void ExpectCase(const RegexCase& row)
{
  SCOPED_TRACE(std::string("pattern \"") + row.pattern + "\" flags " + std::to_string(row.flags) + " text \"" +
               row.text + "\"");
  if (row.engines != kWideOnly) {
    EXPECT_EQ(MatchNarrow(row.pattern, row.flags, row.text), row.expected) << "8-bit engine";
  }
  if (row.engines != kNarrowOnly) {
    EXPECT_EQ(MatchWide(Widen(row.pattern), row.flags, Widen(row.text)), row.expected) << "wide engine";
  }
}
