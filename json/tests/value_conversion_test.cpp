// Conversions of every type, with the exact failure texts callers and logs rely on.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "json/value.h"

namespace {

using Json::Int;
using Json::UInt;
using Json::Value;

// The message of the runtime error a conversion raises, or "" when it succeeds.
template <class Conversion>
std::string failureOf(Conversion conversion)
{
  try {
    conversion();
  } catch (const std::runtime_error& error) {
    return error.what();
  }
  return "";
}

Value arrayOfOne()
{
  Value array(Json::arrayValue);
  array.append(Value(1));
  return array;
}

struct IntCase {
  Value value;
  Int expected;
  const char* failure;
};

TEST(JsonValueConversion, AsIntFollowsTheTypeAndRangeRules)
{
  const IntCase cases[] = {
      {Value(), 0, ""},
      {Value(-7), -7, ""},
      {Value(2147483647u), 2147483647, ""},
      {Value(2147483648u), 0, "integer out of signed integer range"},
      {Value(-2147483648.0), -2147483647 - 1, ""},
      {Value(-0.9), 0, ""},
      {Value(2147483647.0), 2147483647, ""},
      {Value(2147483647.5), 0, "Real out of signed integer range"},
      {Value(-2147483649.0), 0, "Real out of signed integer range"},
      {Value(true), 1, ""},
      {Value(false), 0, ""},
      {Value(u"5"), 0, "Type is not convertible to int"},
      {Value(Json::arrayValue), 0, "Type is not convertible to int"},
      {Value(Json::objectValue), 0, "Type is not convertible to int"},
  };
  for (const IntCase& c : cases) {
    Int result = 0;
    EXPECT_EQ(failureOf([&] { result = c.value.asInt(); }), c.failure) << c.expected;
    EXPECT_EQ(result, c.expected);
  }
}

struct UIntCase {
  Value value;
  UInt expected;
  const char* failure;
};

TEST(JsonValueConversion, AsUIntFollowsTheTypeAndRangeRules)
{
  const UIntCase cases[] = {
      {Value(), 0, ""},
      {Value(7), 7, ""},
      {Value(-1), 0, "Negative integer can not be converted to unsigned integer"},
      {Value(4294967295u), 4294967295u, ""},
      {Value(4294967295.0), 4294967295u, ""},
      {Value(0.0), 0, ""},
      {Value(-0.5), 0, "Real out of unsigned integer range"},
      {Value(4294967296.0), 0, "Real out of unsigned integer range"},
      {Value(true), 1, ""},
      {Value(u"1"), 0, "Type is not convertible to uint"},
      {Value(Json::arrayValue), 0, "Type is not convertible to uint"},
  };
  for (const UIntCase& c : cases) {
    UInt result = 0;
    EXPECT_EQ(failureOf([&] { result = c.value.asUInt(); }), c.failure) << c.expected;
    EXPECT_EQ(result, c.expected);
  }
}

TEST(JsonValueConversion, AsDoubleIsExactForIntegersAndFailsForContainersAndText)
{
  EXPECT_EQ(Value().asDouble(), 0.0);
  EXPECT_EQ(Value(-3).asDouble(), -3.0);
  EXPECT_EQ(Value(4294967295u).asDouble(), 4294967295.0);
  EXPECT_EQ(Value(2.5).asDouble(), 2.5);
  EXPECT_EQ(Value(true).asDouble(), 1.0);
  EXPECT_EQ(failureOf([] { Value(u"1").asDouble(); }), "Type is not convertible to double");
  EXPECT_EQ(failureOf([] { Value(Json::objectValue).asDouble(); }), "Type is not convertible to double");
}

TEST(JsonValueConversion, AsStringOnlyForNullTextAndBooleans)
{
  EXPECT_EQ(Value().asString(), u"");
  EXPECT_EQ(Value(u"文本").asString(), u"文本");
  EXPECT_EQ(Value(Json::stringValue).asString(), u"");
  EXPECT_EQ(Value(true).asString(), u"true");
  EXPECT_EQ(Value(false).asString(), u"false");
  const Value refused[] = {Value(5), Value(5u), Value(1.5), Value(Json::arrayValue), Value(Json::objectValue)};
  for (const Value& value : refused) {
    EXPECT_EQ(failureOf([&] { value.asString(); }), "Type is not convertible to string");
  }
}

TEST(JsonValueConversion, AsBoolNeverFails)
{
  EXPECT_FALSE(Value().asBool());
  EXPECT_FALSE(Value(0).asBool());
  EXPECT_TRUE(Value(4294967295u).asBool());
  EXPECT_FALSE(Value(0.0).asBool());
  EXPECT_TRUE(Value(0.1).asBool());
  EXPECT_FALSE(Value(u"").asBool());
  EXPECT_FALSE(Value(Json::stringValue).asBool());
  EXPECT_TRUE(Value(u"0").asBool());
  EXPECT_FALSE(Value(Json::arrayValue).asBool());
  EXPECT_TRUE(arrayOfOne().asBool());
  EXPECT_FALSE(Value(Json::objectValue).asBool());
}

TEST(JsonValueConversion, AFailedConversionLeavesTheValueAsItWas)
{
  Value value(2147483648u);
  EXPECT_THROW(value.asInt(), std::runtime_error);
  EXPECT_EQ(value.type(), Json::uintValue);
  EXPECT_EQ(value.asUInt(), 2147483648u);
}

struct ConvertibleCase {
  Value value;
  const char* targets;  // one letter per target type, in type order: n i u r s b a o
};

TEST(JsonValueConversion, IsConvertibleToAnswersPerSourceAndTarget)
{
  const ConvertibleCase cases[] = {
      {Value(), "niursbao"},
      {Value(0), "niursb"},
      {Value(-1), ".i.rsb"},
      {Value(0u), "niursb"},
      {Value(2147483648u), "..ursb"},
      {Value(0.0), "niursb"},
      {Value(-2147483648.0), ".i.rsb"},
      {Value(4294967295.0), "..ursb"},
      {Value(4294967296.0), "...rsb"},
      {Value(Json::stringValue), "n...s"},
      {Value(u""), "n...s"},
      {Value(u"x"), "....s"},
      {Value(false), "niursb"},
      {Value(true), ".iursb"},
      {Value(Json::arrayValue), "n.....a"},
      {arrayOfOne(), "......a"},
      {Value(Json::objectValue), "n......o"},
  };
  const char letters[] = "niursbao";
  for (const ConvertibleCase& c : cases) {
    std::string answered;
    for (int target = Json::nullValue; target <= Json::objectValue; ++target) {
      answered += c.value.isConvertibleTo(static_cast<Json::ValueType>(target)) ? letters[target] : '.';
    }
    std::string expected(c.targets);
    expected.resize(8, '.');
    EXPECT_EQ(answered, expected);
  }
}

TEST(JsonValueConversion, TypeTestsPerType)
{
  struct Case {
    Value value;
    const char* answers;  // null bool int uint integral double numeric string array object
  };
  const Case cases[] = {
      {Value(), "n.......ao"},
      {Value(1), "..i.I.N..."},
      {Value(1u), "...uI.N..."},
      {Value(1.0), ".....dN..."},
      {Value(u"x"), ".......s.."},
      {Value(true), ".b..I.N..."},
      {Value(Json::arrayValue), "........a."},
      {Value(Json::objectValue), ".........o"},
  };
  for (const Case& c : cases) {
    const Value& v = c.value;
    std::string answered;
    answered += v.isNull() ? 'n' : '.';
    answered += v.isBool() ? 'b' : '.';
    answered += v.isInt() ? 'i' : '.';
    answered += v.isUInt() ? 'u' : '.';
    answered += v.isIntegral() ? 'I' : '.';
    answered += v.isDouble() ? 'd' : '.';
    answered += v.isNumeric() ? 'N' : '.';
    answered += v.isString() ? 's' : '.';
    answered += v.isArray() ? 'a' : '.';
    answered += v.isObject() ? 'o' : '.';
    EXPECT_EQ(answered, c.answers);
    EXPECT_EQ(!v, v.isNull());
  }
}

}  // namespace
