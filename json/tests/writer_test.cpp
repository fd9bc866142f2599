// Golden outputs of the compact, styled and stream writers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "json/writer.h"
#include "text/format.h"

namespace {

using Json::Value;

std::u16string compact(const Value& value)
{
  Json::FastWriter writer;
  return writer.write(value);
}

Value digits(int count)
{
  Value array(Json::arrayValue);
  for (int i = 0; i < count; ++i) {
    array.append(i % 10);
  }
  return array;
}

struct RealCase {
  double value;
  std::u16string text;
};

TEST(JsonWriter, RealsKeepOneZeroAfterTheLastNonZeroDigit)
{
  const RealCase cases[] = {
      {1.0, u"1.0"},        {1.5, u"1.50"},   {100.0, u"100.0"},
      {0.1, u"0.10"},       {3.0, u"3.0"},    {2.25, u"2.250"},
      {0.0, u"0.0"},        {-12.5, u"-12.50"}, {1e20, u"1.000000000000000e+20"},
      {1e-5, u"1.000000000000000e-05"}, {123456789.125, u"123456789.1250"},
      {0.30000000000000004, u"0.30"}, {1e15, u"1000000000000000.0"},
      {-5363255000000000.0, u"-5363255000000000.0"},
      {1e16, u"1.000000000000000e+16"}, {1.7976931348623157e308, u"1.797693134862316e+308"},
  };
  for (const RealCase& c : cases) {
    EXPECT_EQ(Json::valueToString(c.value), c.text) << c.value;
  }
}

// The writer makes the digits of "%#.16g" itself; they must be the formatted print's, cut by
// the same rule: every magnitude, the edges of the fixed form, carries that round up to the
// next power of ten, zeros, denormals and what is not finite.
TEST(JsonWriter, RealsAreThePrintedFormCut)
{
  auto printedAndCut = [](double value) {
    WCHAR text[32];
    int length = swprintf(text, u"%#.16g", value);
    if (text[length - 1] == u'0') {
      int lastNonZero = length - 1;
      while (lastNonZero > 0 && text[lastNonZero] == u'0') {
        --lastNonZero;
      }
      int i = lastNonZero;
      while (i >= 0 && text[i] >= u'0' && text[i] <= u'9') {
        --i;
      }
      if (i >= 0 && text[i] == u'.') {
        length = lastNonZero + 2;
      }
    }
    std::u16string cut(text, static_cast<size_t>(length));
    return cut.back() == u'.' ? cut + u"0" : cut;
  };
  std::vector<double> values = {0.0, -0.0, 5e-324, -2.2250738585072014e-308, 1e-4, 9.99999999999999999e-5,
                                0.00009999999999999995, 1e15, 9999999999999999.0, 9.9999999999999999e15, 1e16,
                                123456789012345678.0, 0.5, 1.0 / 3, HUGE_VAL, -HUGE_VAL, NAN};
  std::mt19937_64 random(16);
  for (int i = 0; i < 20000; ++i) {
    uint64_t bits = random();
    double value;
    std::memcpy(&value, &bits, sizeof value);
    values.push_back(value);
    values.push_back(static_cast<double>(random() % 100000000) * std::pow(10.0, static_cast<int>(random() % 40) - 20));
    // Exact binary fractions of seventeen digits and more: halfway cases of the sixteenth digit.
    values.push_back(std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 60)));
  }
  for (double value : values) {
    ASSERT_EQ(Json::valueToString(value), printedAndCut(value)) << value;
  }
}

TEST(JsonWriter, ScalarTexts)
{
  EXPECT_EQ(Json::valueToString(-2147483647 - 1), u"-2147483648");
  EXPECT_EQ(Json::valueToString(4294967295u), u"4294967295");
  // Every digit count, and zeros inside and at the end.
  const std::pair<Json::UInt, std::u16string> integers[] = {{0, u"0"},       {7, u"7"},         {10, u"10"},
                                                            {99, u"99"},     {100, u"100"},     {1005, u"1005"},
                                                            {10203, u"10203"}, {900000, u"900000"}, {1000001, u"1000001"}};
  for (const auto& [value, text] : integers) {
    EXPECT_EQ(Json::valueToString(value), text);
    EXPECT_EQ(Json::valueToString(-static_cast<Json::Int>(value) - 1), u"-" + Json::valueToString(value + 1));
  }
  EXPECT_EQ(Json::valueToString(true), u"true");
  EXPECT_EQ(Json::valueToQuotedString(u"a\tb\x01/中\"\\"), u"\"a\\tb\\u0001/中\\\"\\\\\"");
  EXPECT_EQ(Json::valueToQuotedString(u"\b\f\n\r\x1f\x7f"), u"\"\\b\\f\\n\\r\\u001F\x7f\"");
  EXPECT_EQ(Json::valueToQuotedString(u"\U0001F600"), u"\"\U0001F600\"");
}

TEST(JsonWriter, CompactFormInMemberOrderWithoutBlanks)
{
  Value object;
  object[u"b"] = 1;
  object[u"a"] = u"x";
  EXPECT_EQ(compact(object), u"{\"a\":\"x\",\"b\":1}\n");
  EXPECT_EQ(compact(Value()), u"null\n");
  EXPECT_EQ(compact(Value(Json::arrayValue)), u"[]\n");
  EXPECT_EQ(compact(Value(Json::objectValue)), u"{}\n");

  Value gaps;
  gaps[1] = true;
  gaps[3] = 2.5;
  EXPECT_EQ(compact(gaps), u"[null,true,null,2.50]\n");

  Value nested;
  nested[u"list"].append(Value(Json::objectValue));
  nested[u"list"].append(-1);
  nested[u"name"] = u"支付宝";
  nested[u"none"] = Value(Json::stringValue);
  nested.setComment(u"// not written", Json::commentBefore);
  EXPECT_EQ(compact(nested), u"{\"list\":[{},-1],\"name\":\"支付宝\",\"none\":\"\"}\n");

  Json::FastWriter yaml;
  yaml.enableYAMLCompatibility();
  EXPECT_EQ(yaml.write(object), u"{\"a\": \"x\",\"b\": 1}\n");
}

TEST(JsonWriter, StyledFormIndentsThreeBlanksAndOpensNestedValuesOnTheNameLine)
{
  Value root;
  root[u"name"] = u"x";
  root[u"inner"][u"k"] = 1;
  root[u"list"] = digits(3);
  root[u"empty"] = Value(Json::objectValue);
  EXPECT_EQ(root.toStyledString(),
            u"{\n"
            u"   \"empty\" : {},\n"
            u"   \"inner\" : {\n"
            u"      \"k\" : 1\n"
            u"   },\n"
            u"   \"list\" : [ 0, 1, 2 ],\n"
            u"   \"name\" : \"x\"\n"
            u"}\n");
  EXPECT_EQ(Value(5).toStyledString(), u"5\n");
  EXPECT_EQ(Value(Json::arrayValue).toStyledString(), u"[]\n");
}

TEST(JsonWriter, StyledArraysStayOnOneLineBelowTheRightMargin)
{
  std::u16string line23 = Json::StyledWriter().write(digits(23));
  EXPECT_EQ(line23.substr(0, 6), u"[ 0, 1");
  EXPECT_EQ(line23.size(), 71u + 1u);

  std::u16string multi24 = Json::StyledWriter().write(digits(24));
  EXPECT_EQ(multi24.substr(0, 12), u"[\n   0,\n   1");
  EXPECT_EQ(multi24.substr(multi24.size() - 9), u",\n   3\n]\n");
  std::u16string multi25 = Json::StyledWriter().write(digits(25));
  EXPECT_EQ(multi25.substr(0, 8), u"[\n   0,\n");

  Value withEmpty(Json::arrayValue);
  withEmpty.append(Value(Json::objectValue));
  EXPECT_EQ(Json::StyledWriter().write(withEmpty), u"[ {} ]\n");
  Value withObject(Json::arrayValue);
  withObject[0][u"a"] = 1;
  EXPECT_EQ(Json::StyledWriter().write(withObject),
            u"[\n"
            u"   {\n"
            u"      \"a\" : 1\n"
            u"   }\n"
            u"]\n");
}

TEST(JsonWriter, StyledFormWritesComments)
{
  Value root;
  root[u"a"] = 1;
  root[u"a"].setComment(u"// first\r\nsecond", Json::commentBefore);
  root[u"a"].setComment(u"/* same */", Json::commentAfterOnSameLine);
  root[u"b"] = 2;
  root[u"b"].setComment(u"// after b", Json::commentAfter);
  root.setComment(u"// top", Json::commentBefore);
  EXPECT_EQ(root.toStyledString(),
            u"// top\n"
            u"{// first\n"
            u"second\n"
            u"   \"a\" : 1, /* same */\n"
            u"   \"b\" : 2\n"
            u"// after b\n"
            u"}\n");
}

TEST(JsonWriter, StreamFormOpensNestedValuesOnTheirOwnLine)
{
  Value root;
  root[u"inner"][u"k"] = 1;
  root[u"list"] = digits(2);
  std::basic_ostringstream<char16_t> out;
  Json::StyledStreamWriter(u"  ").write(out, root);
  EXPECT_EQ(out.str(),
            u"\n"
            u"{\n"
            u"  \"inner\" : \n"
            u"  {\n"
            u"    \"k\" : 1\n"
            u"  },\n"
            u"  \"list\" : [ 0, 1 ]\n"
            u"}\n");

  std::basic_ostringstream<char16_t> tabs;
  tabs << digits(1);
  EXPECT_EQ(tabs.str(), u"[ 0 ]\n");
}

// Texts many times longer than the room a writer fills before handing text on: an array of
// objects in all three forms (the compact writer twice, as a kept writer writes again), a
// string longer than that room with an escape inside, and a comment as long before a member.
TEST(JsonWriter, LongTextsComeOutWhole)
{
  Value list(Json::arrayValue);
  std::u16string compactText = u"[", styled = u"[", streamed = u"\n[";
  for (int i = 0; i < 400; ++i) {
    list[i][u"id"] = i;
    const std::u16string id = Json::valueToString(static_cast<Json::Int>(i));
    const std::u16string comma = i == 399 ? u"" : u",";
    compactText += u"{\"id\":" + id + u"}" + comma;
    styled += u"\n   {\n      \"id\" : " + id + u"\n   }" + comma;
    streamed += u"\n\t\n\t{\n\t\t\"id\" : " + id + u"\n\t}" + comma;
  }
  Json::FastWriter kept;
  EXPECT_EQ(kept.write(list), compactText + u"]\n");
  EXPECT_EQ(kept.write(list), compactText + u"]\n");
  EXPECT_EQ(Json::StyledWriter().write(list), styled + u"\n]\n");
  std::basic_ostringstream<char16_t> out;
  out << list;
  EXPECT_EQ(out.str(), streamed + u"\n]\n");

  std::u16string text(5000, u'x');
  text[4000] = u'"';
  const std::u16string quoted = u"\"" + text.substr(0, 4000) + u"\\\"" + text.substr(4001) + u"\"\n";
  EXPECT_EQ(compact(Value(text)), quoted);
  EXPECT_EQ(Json::StyledWriter().write(Value(text)), quoted);

  Value root;
  root[u"a"] = 1;
  // A line comment keeps its line feed, after which the next member needs no other.
  const std::u16string comment = u"//" + std::u16string(3000, u'c') + u"\n";
  root[u"a"].setComment(comment, Json::commentAfterOnSameLine);
  root[u"b"] = 2;
  EXPECT_EQ(Json::StyledWriter().write(root), u"{\n   \"a\" : 1, " + comment + u"   \"b\" : 2\n}\n");
}

}  // namespace
