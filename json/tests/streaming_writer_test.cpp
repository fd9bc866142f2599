// Exact texts of the streaming writer.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "json/streaming_writer.h"

namespace {

struct WriterCase {
  const char* what;
  std::function<void(CJsonWriter&)> write;
  std::u16string text;
};

TEST(CJsonWriter, WritesExactTexts)
{
  const WriterCase cases[] = {
      {"a request",
       [](CJsonWriter& w) {
         w.BeginObject(u"operationType", u"preRegister", false);
         w.AddMember(u"clientID", u"460001234567890|356938035643809", true);
         w.EndObject();
       },
       u"{\"operationType\":\"preRegister\",\"clientID\":\"460001234567890|356938035643809\"}"},
      {"an empty object",
       [](CJsonWriter& w) {
         w.BeginObject();
         w.EndObject();
       },
       u"{}"},
      {"members after a bare begin",
       [](CJsonWriter& w) {
         w.BeginObject();
         w.AddMember(u"a", u"1", false);
         w.AddMember(u"b", u"", false);
         w.EndObject();
       },
       u"{\"a\":\"1\",\"b\":\"\"}"},
      {"a null key writes nothing and keeps the comma rule",
       [](CJsonWriter& w) {
         w.BeginObject();
         w.AddMember(nullptr, u"x", true);
         w.AddMember(u"a", u"1", false);
         w.EndObject();
       },
       u"{\"a\":\"1\"}"},
      {"end with a key and a null value",
       [](CJsonWriter& w) {
         w.BeginObject(u"operationType", u"login", false);
         w.EndObject(u"memo", nullptr, true);
       },
       u"{\"operationType\":\"login\",\"memo\":\"\"}"},
      {"end with a key and a value as the only member",
       [](CJsonWriter& w) {
         w.BeginObject();
         w.EndObject(u"k", u"v\"", true);
       },
       u"{\"k\":\"v\\\"\"}"},
      {"numbers as texts",
       [](CJsonWriter& w) {
         w.BeginObject(u"operationType", u"personalSetup", false);
         w.AddIntAsString(u"screenWidth", 240);
         w.AddIntAsString(u"screenHigh", -320);
         w.AddIntAsString(nullptr, 1);
         w.EndObject();
       },
       u"{\"operationType\":\"personalSetup\",\"screenWidth\":\"240\",\"screenHigh\":\"-320\"}"},
      {"a nested object through a member without value",
       [](CJsonWriter& w) {
         w.BeginObject(u"operationType", u"x", false);
         w.AddMember(u"data", nullptr, false);
         w.BeginObject();
         w.AddMember(u"a", u"1", false);
         w.AddMember(u"b", u"2", false);
         w.EndObject();
         w.AddMember(u"c", u"3", false);
         w.EndObject();
       },
       u"{\"operationType\":\"x\",\"data\":{\"a\":\"1\",\"b\":\"2\"},\"c\":\"3\"}"},
      {"a begin with a key and no value",
       [](CJsonWriter& w) {
         w.BeginObject(u"list", nullptr, false);
         w.BeginObject();
         w.EndObject();
         w.EndObject();
       },
       u"{\"list\":{}}"},
      {"an unbalanced end closes and keeps going",
       [](CJsonWriter& w) {
         w.EndObject();
         w.AddMember(u"a", u"1", false);
         w.AddMember(u"b", u"2", false);
       },
       u"}\"a\":\"1\",\"b\":\"2\""},
  };
  for (const WriterCase& c : cases) {
    CJsonWriter writer;
    c.write(writer);
    EXPECT_EQ(std::u16string(writer.GetText().GetString()), c.text) << c.what;
  }
}

TEST(CJsonWriter, EscapesValuesOnlyWhenAsked)
{
  CJsonWriter writer;
  writer.BeginObject(u"raw", u"a\"b\\c", false);
  writer.AddMember(u"escaped", u"a\"b\\c", true);
  writer.AddMember(u"key \"as is\"", u"中文", true);
  writer.EndObject();
  EXPECT_EQ(std::u16string(writer.GetText().GetString()),
            u"{\"raw\":\"a\"b\\c\",\"escaped\":\"a\\\"b\\\\c\",\"key \"as is\"\":\"中文\"}");
}

TEST(CJsonWriter, EscapeCoversBackslashesQuotesAndControlCharacters)
{
  const WCHAR controls[] = {u'a', 0x01, 0x1F, 0x7F, u'\b', u'\f', u'\n', u'\r', u'\t', u'z', 0};
  EXPECT_EQ(std::u16string(CJsonWriter::Escape(controls).GetString()), u"a\\u0001\\u001f\x7f\\b\\f\\n\\r\\tz");
  EXPECT_EQ(std::u16string(CJsonWriter::Escape(u"\\\"").GetString()), u"\\\\\\\"") << "a quote's backslash is not doubled";
  EXPECT_EQ(std::u16string(CJsonWriter::Escape(u"中文 \U0001F600/").GetString()), u"中文 \U0001F600/");
  EXPECT_TRUE(CJsonWriter::Escape(nullptr).IsEmpty());
}

// One unit in a long plain text, at every place: the same escape wherever it stands, and units
// beside the escaped ones (0x20, 0x7F, and those from 0x8000 up) untouched.
TEST(CJsonWriter, EscapeFindsAUnitAnywhereInALongText)
{
  const struct {
    char16_t unit;
    std::u16string escaped;
  } cases[] = {{u'"', u"\\\""}, {u'\\', u"\\\\"}, {0x01, u"\\u0001"}, {0x1F, u"\\u001f"}, {u'\n', u"\\n"},
               {0x20, u" "},      {0x7F, u"\x7f"},       {0x8000, u"\x8000"},  {0xFFFF, u"\xFFFF"}, {0x4E2D, u"中"}};
  const std::u16string filler = u"abcdefghijklmnopqrstu";
  for (const auto& c : cases) {
    for (size_t at = 0; at < filler.size(); ++at) {
      std::u16string text = filler;
      text[at] = c.unit;
      const std::u16string expected = filler.substr(0, at) + c.escaped + filler.substr(at + 1);
      EXPECT_EQ(std::u16string(CJsonWriter::Escape(text.c_str()).GetString()), expected) << int(c.unit) << " at " << at;
      CJsonWriter writer;
      writer.BeginObject(u"k", text.c_str(), true);
      writer.EndObject();
      EXPECT_EQ(std::u16string(writer.GetText().GetString()), u"{\"k\":\"" + expected + u"\"}") << int(c.unit) << " at " << at;
    }
  }
}

}  // namespace
