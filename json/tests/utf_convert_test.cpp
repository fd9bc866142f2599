// UTF-16 to UTF-8, strict and lenient, and where the pointers stop.
#include <gtest/gtest.h>

#include <string>

#include "json/utf_convert.h"

namespace {

struct Converted {
  Utf16ToUtf8Result result;
  std::string bytes;
  size_t unitsRead;
};

Converted convert(const std::u16string& units, Utf16ToUtf8Mode mode, size_t room = 64)
{
  uint8_t out[64] = {};
  const char16_t* source = units.data();
  uint8_t* target = out;
  Utf16ToUtf8Result result = Utf16ToUtf8(&source, units.data() + units.size(), &target, out + room, mode);
  return {result, std::string(reinterpret_cast<char*>(out), static_cast<size_t>(target - out)),
          static_cast<size_t>(source - units.data())};
}

struct Case {
  std::u16string units;
  Utf16ToUtf8Mode mode;
  Utf16ToUtf8Result result;
  std::string bytes;
  size_t unitsRead;
};

TEST(Utf16ToUtf8, ConvertsEachLengthAndStopsOnFaults)
{
  const std::u16string high(1, char16_t(0xD83D));
  const std::u16string low(1, char16_t(0xDE00));
  const Case cases[] = {
      {u"", kUtfStrict, kUtfConversionOk, "", 0},
      {u"A\u007F", kUtfStrict, kUtfConversionOk, "A\x7F", 2},
      {u"\u0080\u07FF", kUtfStrict, kUtfConversionOk, "\xC2\x80\xDF\xBF", 2},
      {u"\u0800中\uFFFF", kUtfStrict, kUtfConversionOk, "\xE0\xA0\x80\xE4\xB8\xAD\xEF\xBF\xBF", 3},
      {high + low, kUtfStrict, kUtfConversionOk, "\xF0\x9F\x98\x80", 2},
      {u"\U0010FFFF", kUtfStrict, kUtfConversionOk, "\xF4\x8F\xBF\xBF", 2},
      // A high half at the end may still find its partner: the source stays on it.
      {u"a" + high, kUtfStrict, kUtfSourceExhausted, "a", 1},
      {u"a" + high, kUtfLenient, kUtfSourceExhausted, "a", 1},
      // Unpaired halves: illegal when strict, written as their own value when lenient.
      {u"a" + low, kUtfStrict, kUtfSourceIllegal, "a", 1},
      {u"a" + low + u"b", kUtfLenient, kUtfConversionOk, "a\xED\xB8\x80" "b", 3},
      {high + u"b", kUtfStrict, kUtfSourceIllegal, "", 0},
      {high + u"b", kUtfLenient, kUtfConversionOk, "\xED\xA0\xBD" "b", 2},
  };
  for (const Case& c : cases) {
    Converted got = convert(c.units, c.mode);
    EXPECT_EQ(got.result, c.result) << c.bytes;
    EXPECT_EQ(got.bytes, c.bytes);
    EXPECT_EQ(got.unitsRead, c.unitsRead) << c.bytes;
  }
}

TEST(Utf16ToUtf8, ACharacterThatDoesNotFitIsLeftWhole)
{
  Converted got = convert(u"ab中", kUtfStrict, 4);
  EXPECT_EQ(got.result, kUtfTargetExhausted);
  EXPECT_EQ(got.bytes, "ab");
  EXPECT_EQ(got.unitsRead, 2u);

  got = convert(u"a\U0001F600", kUtfStrict, 4);
  EXPECT_EQ(got.result, kUtfTargetExhausted);
  EXPECT_EQ(got.unitsRead, 1u) << "the pair stays unread";
}

}  // namespace
