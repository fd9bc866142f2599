// Ordering and equality: by type number first, then by content.
#include <gtest/gtest.h>

#include <vector>

#include "json/value.h"

namespace {

using Json::Value;

Value array(std::initializer_list<Value> elements)
{
  Value result(Json::arrayValue);
  for (const Value& element : elements) {
    result.append(element);
  }
  return result;
}

TEST(JsonValueCompare, TypesOrderByTheirNumberWhateverTheContent)
{
  // null < int < uint < real < string < boolean < array < object
  const std::vector<Value> ascending = {Value(),           Value(2147483647), Value(0u),
                                        Value(-1e300),     Value(u""),        Value(false),
                                        Value(Json::arrayValue), Value(Json::objectValue)};
  for (size_t i = 0; i < ascending.size(); ++i) {
    for (size_t j = 0; j < ascending.size(); ++j) {
      EXPECT_EQ(ascending[i] < ascending[j], i < j) << i << " " << j;
      EXPECT_EQ(ascending[i] == ascending[j], i == j) << i << " " << j;
    }
  }
}

TEST(JsonValueCompare, IntAndUIntNeverMeet)
{
  EXPECT_TRUE(Value(5) < Value(1u));
  EXPECT_FALSE(Value(5) == Value(5u));
  EXPECT_TRUE(Value(5) != Value(5u));
}

struct OrderCase {
  Value less;
  Value greater;
};

TEST(JsonValueCompare, ValuesOfOneTypeOrderByContent)
{
  Value noText(Json::stringValue);
  const OrderCase cases[] = {
      {Value(-3), Value(2)},
      {Value(2u), Value(4000000000u)},
      {Value(-0.5), Value(0.25)},
      {noText, Value(u"")},
      {Value(u"Z"), Value(u"a")},
      {Value(u"a"), Value(u"ab")},
      {Value(u"\U0001F600"), Value(u"\uFF01")},  // code units, not code points
      {Value(false), Value(true)},
      {array({Value(9)}), array({Value(1), Value(1)})},  // fewer entries first
      {array({Value(1), Value(2)}), array({Value(1), Value(3)})},
  };
  for (const OrderCase& c : cases) {
    EXPECT_TRUE(c.less < c.greater);
    EXPECT_FALSE(c.greater < c.less);
    EXPECT_TRUE(c.greater > c.less);
    EXPECT_TRUE(c.greater >= c.less);
    EXPECT_TRUE(c.less <= c.greater);
    EXPECT_TRUE(c.less != c.greater);
  }
}

TEST(JsonValueCompare, ObjectsCompareKeysBeforeValues)
{
  Value a;
  a[u"a"] = 9;
  Value b;
  b[u"b"] = 1;
  EXPECT_TRUE(a < b);
  Value a2;
  a2[u"a"] = 10;
  EXPECT_TRUE(a < a2);
  EXPECT_FALSE(a == a2);
}

TEST(JsonValueCompare, EqualityOfTextsAndContainers)
{
  Value noText(Json::stringValue);
  EXPECT_TRUE(noText == Value(Json::stringValue));
  EXPECT_FALSE(noText == Value(u""));
  EXPECT_TRUE(noText < Value(u""));
  EXPECT_TRUE(Value(u"支付") == Value(Json::StaticString(u"支付")));
  EXPECT_TRUE(Value() == Value());
  EXPECT_FALSE(Value() < Value());

  Value left = array({Value(1), Value(u"x")});
  Value right = array({Value(1), Value(u"x")});
  EXPECT_TRUE(left == right);
  EXPECT_FALSE(left < right);
  right[1] = u"y";
  EXPECT_FALSE(left == right);

  Value gap(Json::arrayValue);
  gap[2] = 1;
  Value dense = array({Value(), Value(), Value(1)});
  EXPECT_FALSE(gap == dense) << "a gap is no element";
}

}  // namespace
