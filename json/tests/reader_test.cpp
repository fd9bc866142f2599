// The reader: accepted texts, the first error with its position, number typing, escapes,
// comments and the nesting limit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <string>

#include "json/reader.h"
#include "text/widechar.h"

namespace {

using Json::Reader;
using Json::Value;

struct ParseCase {
  std::u16string text;
  bool ok;
  std::u16string firstError;  // "* position\n  message\n", then the detail line if any
};

std::u16string errorText(const std::u16string& position, const std::u16string& message,
                         const std::u16string& detail = u"")
{
  std::u16string text = u"* " + position + u"\n  " + message + u"\n";
  if (!detail.empty()) {
    text += u"See " + detail + u" for detail.\n";
  }
  return text;
}

const std::u16string syntax = u"Syntax error: value, object or array expected.";

TEST(JsonReader, AcceptsOrReportsTheFirstErrorWithItsPosition)
{
  const ParseCase cases[] = {
      {u"", false, errorText(u"Line 1, Column 1", syntax)},
      {u"  // only a comment\n", false, errorText(u"Line 2, Column 1", syntax)},
      {u"{\"a\":1} trailing text", true, u""},
      {u"[1]]", true, u""},
      {u"12", true, u""},
      {u"\"alone\"", true, u""},
      {u"null", true, u""},
      {u"{}", true, u""},
      {u"[]", true, u""},
      {u"[ \t\r\n]", true, u""},
      {u"[/*c*/]", false, errorText(u"Line 1, Column 7", syntax)},
      {u"{/*c*/}", true, u""},
      {u"{\"a\":1,}", false, errorText(u"Line 1, Column 8", u"Missing '}' or object member name")},
      {u"{\"\":1,}", true, u""},
      {u"{\"a\":1 \"b\":2}", false, errorText(u"Line 1, Column 8", u"Missing ',' or '}' in object declaration")},
      {u"[1 2]", false, errorText(u"Line 1, Column 4", u"Missing ',' or ']' in array declaration")},
      {u"{\"a\" 1}", false, errorText(u"Line 1, Column 6", u"Missing ':' after object member name")},
      {u"{1:2}", false, errorText(u"Line 1, Column 2", u"Missing '}' or object member name")},
      {u".5", false, errorText(u"Line 1, Column 1", syntax)},
      {u"+1", false, errorText(u"Line 1, Column 1", syntax)},
      {u"tru", false, errorText(u"Line 1, Column 1", syntax)},
      {u"nul", false, errorText(u"Line 1, Column 1", syntax)},
      {u"\"open", false, errorText(u"Line 1, Column 1", syntax)},
      {u"/* open", false, errorText(u"Line 1, Column 1", syntax)},
      {u"/x 1", false, errorText(u"Line 1, Column 1", syntax)},
      {u"[1,]", false, errorText(u"Line 1, Column 4", syntax)},
      {u"--", false, errorText(u"Line 1, Column 1", u"'--' is not a number.")},
      {u"[1,\n2,\r\n    x]", false, errorText(u"Line 3, Column 5", syntax)},
      {u"[1,\r2,\n\n x]", false, errorText(u"Line 4, Column 2", syntax)},
      {u"\"\\q\"", false, errorText(u"Line 1, Column 1", u"Bad escape sequence in string", u"Line 1, Column 4")},
      {u"\"\\u12g4\"", false,
       errorText(u"Line 1, Column 1", u"Bad unicode escape sequence in string: hexadecimal digit expected.",
                 u"Line 1, Column 7")},
      {u"\"\\u12\"", false,
       errorText(u"Line 1, Column 1", u"Bad unicode escape sequence in string: four digits expected.")},
      {u"\"\\ud83d\"", false,
       errorText(u"Line 1, Column 1", u"additional six characters expected to parse unicode surrogate pair.")},
      {u"\"\\ud83dxxxxxx\"", false,
       errorText(u"Line 1, Column 1",
                 u"expecting another \\u token to begin the second half of a unicode surrogate pair")},
      {u"{\"k\":\"\\x\"}", false,
       errorText(u"Line 1, Column 6", u"Bad escape sequence in string", u"Line 1, Column 9")},
      {std::u16string(u"[1\0,2]", 6), false,
       errorText(u"Line 1, Column 3", u"Missing ',' or ']' in array declaration")},
  };
  for (const ParseCase& c : cases) {
    Reader reader;
    Value root;
    EXPECT_EQ(reader.parse(c.text, root, false), c.ok) << c.text.size();
    std::u16string errors = reader.formatErrors();
    EXPECT_EQ(errors.substr(0, c.firstError.size()), c.firstError);
    EXPECT_EQ(errors.empty(), c.ok);
  }
}

TEST(JsonReader, ErrorsInsideContainersRecoverToTheirClosingToken)
{
  Reader reader;
  Value root;
  std::u16string text = u"{\"list\":[1,{\"a\" 2},3],\"after\":4}";
  EXPECT_FALSE(reader.parse(text, root, false));
  EXPECT_EQ(reader.formatErrors(), errorText(u"Line 1, Column 17", u"Missing ':' after object member name"));
  EXPECT_EQ(root[u"list"][0].asInt(), 1) << "what was built before the error stays";
}

struct NumberCase {
  std::u16string text;
  Json::ValueType type;
  double value;
};

TEST(JsonReader, TypesNumbersByTheirDigits)
{
  const NumberCase cases[] = {
      {u"2147483647", Json::intValue, 2147483647.0},
      {u"2147483648", Json::uintValue, 2147483648.0},
      {u"4294967289", Json::uintValue, 4294967289.0},
      {u"4294967295", Json::realValue, 4294967295.0},
      {u"-2147483647", Json::realValue, -2147483647.0},
      {u"-214748363", Json::intValue, -214748363.0},
      {u"-0", Json::intValue, 0.0},
      {u"01", Json::intValue, 1.0},
      {u"-", Json::intValue, 0.0},
      {u"1e3", Json::realValue, 1000.0},
      {u"1E+3", Json::realValue, 1000.0},
      {u"0.5", Json::realValue, 0.5},
      {u"1.2.3", Json::realValue, 1.2},
      {u"1-2", Json::realValue, 1.0},
      {u"1e", Json::realValue, 1.0},
      {u"-.5", Json::realValue, -0.5},
      {u"12345678901234567890", Json::realValue, 12345678901234567890.0},
      {u"1e400", Json::realValue, HUGE_VAL},
      {u"-0.0001e-400", Json::realValue, -0.0},
      {u"1e-400", Json::realValue, 0.0},
      {u"0.000000000000000000000000000000000000000000001e-300", Json::realValue, 0.0},
  };
  // Alone, right after a colon, and after spaces inside an array: each way the reader meets a
  // number reads it alike.
  for (const NumberCase& c : cases) {
    const std::u16string texts[] = {c.text, u"{\"n\":" + c.text + u"}", u"[ " + c.text + u" ]"};
    for (const std::u16string& text : texts) {
      Reader reader;
      Value root;
      ASSERT_TRUE(reader.parse(text, root, false)) << c.value;
      const Value& number = root.isObject() ? root[u"n"] : root.isArray() ? root[0] : root;
      EXPECT_EQ(number.type(), c.type) << c.value;
      EXPECT_EQ(number.asDouble(), c.value);
    }
  }
}

struct StringCase {
  std::u16string text;
  std::u16string decoded;
};

TEST(JsonReader, DecodesEscapesIntoUtf16CodeUnits)
{
  const StringCase cases[] = {
      {u"\"\\u4e2d\"", u"\u4E2D"},
      {u"\"\\ud83d\\ude00\"", u"\U0001F600"},
      {u"\"\\udc00\"", std::u16string(1, char16_t(0xDC00))},
      {u"\"\\ud83d\\u0041\"", std::u16string({char16_t(0xD83D), char16_t(0xDC41)})},
      {u"\"\\\"\\\\\\/\\b\\f\\n\\r\\t\"", u"\"\\/\b\f\n\r\t"},
      {u"\"raw\ttab\nline 中文\"", u"raw\ttab\nline 中文"},
      {u"\"a\\u0000b\"", std::u16string(u"a\0b", 3)},
      {u"\"\"", u""},
  };
  for (const StringCase& c : cases) {
    Reader reader;
    Value root;
    ASSERT_TRUE(reader.parse(c.text, root, false)) << c.decoded.size();
    ASSERT_EQ(root.type(), Json::stringValue);
    EXPECT_EQ(std::u16string(root.asCString(), c.decoded.size() + 1), c.decoded + u'\0');
  }
}

// Texts and names of every length up to a few blocks of the scan, with a quote or backslash
// escape at every place, and the same texts left unterminated.
TEST(JsonReader, FindsTheEndOfEveryTextWhereverItsEscapesFall)
{
  for (size_t length = 0; length <= 20; ++length) {
    for (size_t at = 0; at <= length; ++at) {
      std::u16string raw(length, u'x');
      std::u16string decoded = raw;
      if (at < length) {
        raw.replace(at, 1, at % 2 ? u"\\\"" : u"\\\\");
        decoded[at] = at % 2 ? u'"' : u'\\';
      }
      Reader reader;
      Value root;
      ASSERT_TRUE(reader.parse(u"{\"" + raw + u"\":\"" + raw + u"\"}", root, false)) << length << " " << at;
      ASSERT_EQ(root.size(), 1u);
      EXPECT_EQ(root.getMemberNames()[0], decoded) << length << " " << at;
      EXPECT_EQ(root[decoded].asString(), decoded) << length << " " << at;
      EXPECT_FALSE(reader.parse(u"[\"" + raw, root, false)) << length << " " << at;
      EXPECT_FALSE(reader.parse(u"[\"" + raw + u"\\", root, false)) << length << " " << at;
    }
  }
}

TEST(JsonReader, NamesAreDecodedAndTheLastOccurrenceWins)
{
  Reader reader;
  Value root;
  ASSERT_TRUE(reader.parse(u"{\"a\":1,\"\\u540d\":true,\"a\":2}", root, false));
  EXPECT_EQ(root.size(), 2u);
  EXPECT_EQ(root[u"a"].asInt(), 2);
  EXPECT_TRUE(root[u"名"].asBool());
  // A number or boolean read over a text or container that the name held before.
  ASSERT_TRUE(reader.parse(u"{\"s\":\"text\",\"o\":{\"x\":[\"y\"]},\"s\":-3,\"o\":false,\"s\":2.5}", root, false));
  EXPECT_EQ(root.size(), 2u);
  EXPECT_EQ(root[u"s"].asDouble(), 2.5);
  EXPECT_EQ(root[u"o"].type(), Json::booleanValue);
}

TEST(JsonReader, ReplacesWhatTheRootHeld)
{
  Reader reader;
  Value root;
  root[u"old"] = 1;
  ASSERT_TRUE(reader.parse(u"5", root, false));
  EXPECT_EQ(root.type(), Json::intValue);
  EXPECT_FALSE(reader.parse(u"", root, false));
  EXPECT_TRUE(root.isNull());
}

TEST(JsonReader, PlacesCollectedComments)
{
  Reader reader;
  Value root;
  std::u16string text =
      u"// before\n"
      u"{\n"
      u"  // note\n"
      u"  \"list\": [\n"
      u"    1, // one\n"
      u"    2 /* two */\n"
      u"  ]\n"
      u"}\n"
      u"// after";
  ASSERT_TRUE(reader.parse(text, root, true));
  EXPECT_EQ(root.getComment(Json::commentBefore), u"// before\n");
  EXPECT_EQ(root[u"list"].getComment(Json::commentBefore), u"// note\n");
  EXPECT_EQ(root[u"list"][0].getComment(Json::commentAfterOnSameLine), u"// one\n");
  EXPECT_EQ(root[u"list"][1].getComment(Json::commentAfterOnSameLine), u"/* two */");
  EXPECT_EQ(root.getComment(Json::commentAfter), u"// after");

  Value bare;
  ASSERT_TRUE(reader.parse(text, bare, false));
  EXPECT_FALSE(bare.hasComment(Json::commentBefore));
  EXPECT_FALSE(bare[u"list"][0].hasComment(Json::commentAfterOnSameLine));
}

// A member named twice replaces the old content; a comment that follows must not land on a
// value inside the replaced content.
TEST(JsonReader, CommentAfterARepeatedMemberIsSafe)
{
  Reader reader;
  Value root;
  ASSERT_TRUE(reader.parse(u"{\"a\":{\"b\":1}, \"a\":{ /*c*/ \"x\":1}}", root, true));
  EXPECT_EQ(root[u"a"].getMemberNames(), Value::Members{u"x"});
  ASSERT_TRUE(reader.parse(u"{\"a\":[[1]], \"a\":[ /*c*/ 2]}", root, true));
  EXPECT_EQ(root[u"a"][0].asInt(), 2);
}

// Same-line comments land on their own values while long arrays and objects move their entries
// about as they grow and as members are put in name order.
TEST(JsonReader, CommentsFollowTheirValuesInLongArraysAndObjects)
{
  std::u16string array = u"[\n";
  std::u16string object = u"{\n";
  const int count = 300;
  for (int i = 0; i < count; ++i) {
    std::u16string number;
    for (char c : std::to_string(i)) {
      number += static_cast<char16_t>(c);
    }
    array += number + u", // a" + number + u"\n";
    object += u"\"" + std::u16string(1, static_cast<char16_t>(u'z' - i % 26)) + number + u"\": " + number +
              u", /* o" + number + u" */\n";
  }
  Reader reader;
  Value root;
  ASSERT_TRUE(reader.parse(array + u"-1]", root, true)) << reader.formatErrors().size();
  ASSERT_EQ(root.size(), count + 1u);
  for (int i = 0; i < count; ++i) {
    std::u16string expected = u"// a";
    for (char c : std::to_string(i)) {
      expected += static_cast<char16_t>(c);
    }
    ASSERT_EQ(root[i].getComment(Json::commentAfterOnSameLine), expected + u"\n") << i;
  }
  ASSERT_TRUE(reader.parse(object + u"\"end\": 0}", root, true));
  ASSERT_EQ(root.size(), count + 1u);
  for (auto member = root.begin(); member != root.end(); ++member) {
    if (member->asInt() == 0 && std::u16string(member.memberName()) == u"end") {
      continue;
    }
    std::u16string number;
    for (char c : std::to_string(member->asInt())) {
      number += static_cast<char16_t>(c);
    }
    ASSERT_EQ(member->getComment(Json::commentAfterOnSameLine), u"/* o" + number + u" */") << member->asInt();
  }
}

// Reals are read as the wide formatted scan reads them, also where a quicker conversion would
// run out of range or the token is long.
TEST(JsonReader, RealsReadAsTheWideScanReadsThem)
{
  std::mt19937 random(1234);
  const char16_t alphabet[] = u"0123456789012345678901234567890123456789.eE+-";
  for (int i = 0; i < 3000; ++i) {
    std::u16string token = random() % 2 ? u"-" : u"";
    token += static_cast<char16_t>(u'0' + random() % 10);
    for (int length = static_cast<int>(random() % (i % 10 == 0 ? 90 : 12)); length > 0; --length) {
      token += alphabet[random() % 45];
    }
    if (random() % 5 == 0) {
      token += random() % 2 ? u"e400" : u"e-400";
    }
    Reader reader;
    Value root;
    WCHAR* scanEnd = nullptr;
    double scanned = wcstod(token.c_str(), &scanEnd);
    bool ok = reader.parse(token, root, false);
    if (!ok || root.type() != Json::realValue) {
      continue;  // an integer, or a token the scan cannot read (checked with the errors)
    }
    EXPECT_NE(scanEnd, token.c_str());
    double read = root.asDouble();
    EXPECT_EQ(std::memcmp(&read, &scanned, sizeof read), 0) << std::string(token.begin(), token.end());
  }
}

std::u16string nested(size_t depth)
{
  return std::u16string(depth, u'[') + std::u16string(depth, u']');
}

TEST(JsonReader, NestingBeyondTheLimitIsASyntaxError)
{
  Reader reader;
  Value root;
  EXPECT_TRUE(reader.parse(nested(Reader::maxNestingDepth), root, false));

  EXPECT_FALSE(reader.parse(nested(Reader::maxNestingDepth + 1), root, false));
  EXPECT_EQ(reader.formatErrors(),
            errorText(u"Line 1, Column 1001", u"Syntax error: arrays and objects nested too deeply."));

  std::u16string objects;
  for (int i = 0; i < 200000; ++i) {
    objects += u"{\"a\":";
  }
  EXPECT_FALSE(reader.parse(objects, root, false));
  EXPECT_FALSE(reader.parse(std::u16string(200000, u'['), root, false));
}

TEST(JsonReader, RangeFormReadsOnlyTheRange)
{
  const WCHAR text[] = u"[1,2] and more";
  Reader reader;
  Value root;
  ASSERT_TRUE(reader.parse(text, text + 3, root, false) == false);
  EXPECT_EQ(reader.formatErrors().substr(0, 20), u"* Line 1, Column 4\n ");
  ASSERT_TRUE(reader.parse(text, text + 5, root, false));
  EXPECT_EQ(root.size(), 2u);
}

}  // namespace
