// Elements, members, sizes, member lists and iteration, including values of the wrong kind.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "json/value.h"

namespace {

using Json::Value;

TEST(JsonValueAccess, GrowingAccessCreatesOnlyTheElementAskedFor)
{
  Value array;
  array[5] = 1;
  EXPECT_EQ(array.type(), Json::arrayValue);
  EXPECT_EQ(array.size(), 6u);
  EXPECT_EQ(std::distance(array.begin(), array.end()), 1);

  const Value& reading = array;
  EXPECT_EQ(&reading[2], &Value::null);
  EXPECT_EQ(std::distance(array.begin(), array.end()), 1) << "reading adds nothing";
  EXPECT_TRUE(array.isValidIndex(5));
  EXPECT_FALSE(array.isValidIndex(6));

  array.append(u"next");
  EXPECT_EQ(array.size(), 7u);
  EXPECT_EQ(reading[6].asString(), u"next");

  Value fresh;
  fresh.append(3);
  EXPECT_EQ(fresh.size(), 1u);
  EXPECT_EQ(fresh[0].asInt(), 3);
}

TEST(JsonValueAccess, MembersRunInUtf16CodeUnitOrder)
{
  Value object(Json::objectValue);
  object[u"b"] = 1;
  object[u"a"] = 2;
  object[u"ab"] = 3;
  object[u"Z"] = 4;
  object[u"\uFF01"] = 5;
  object[u"\U0001F600"] = 6;  // surrogates sort below U+E000..U+FFFF
  const std::vector<std::u16string> expected = {u"Z", u"a", u"ab", u"b", u"\U0001F600", u"\uFF01"};
  EXPECT_EQ(object.getMemberNames(), expected);

  std::vector<std::u16string> visited;
  for (auto member = object.begin(); member != object.end(); ++member) {
    visited.push_back(member.memberName());
  }
  EXPECT_EQ(visited, expected);
}

TEST(JsonValueAccess, ARepeatedNameAddressesTheSameMember)
{
  Value object;
  object[u"a"] = 1;
  object[std::u16string(u"a")] = 2;
  EXPECT_EQ(object.size(), 1u);
  EXPECT_EQ(object[u"a"].asInt(), 2);
}

TEST(JsonValueAccess, IsMemberAndGetWorkByIdentityWithTheSharedNull)
{
  Value object;
  object[u"present"] = Value();
  const Value& reading = object;
  EXPECT_TRUE(reading.isMember(u"present"));
  EXPECT_FALSE(reading.isMember(u"absent"));
  EXPECT_TRUE(reading.get(u"present", Value(7)).isNull());
  EXPECT_EQ(reading.get(u"absent", Value(7)).asInt(), 7);
  EXPECT_EQ(&reading[u"absent"], &Value::null);
  EXPECT_EQ(object.size(), 1u);

  Value array;
  array[1] = Value();
  EXPECT_TRUE(array.get(1u, Value(7)).isNull());
  EXPECT_EQ(array.get(0u, Value(7)).asInt(), 7) << "a gap reads as the shared null";
}

TEST(JsonValueAccess, RemoveMemberReturnsTheRemovedValue)
{
  Value object;
  object[u"a"] = u"x";
  object[u"b"] = 2;
  Value removed = object.removeMember(u"a");
  EXPECT_EQ(removed.asString(), u"x");
  EXPECT_FALSE(object.isMember(u"a"));
  EXPECT_TRUE(object.removeMember(u"a").isNull());
  EXPECT_EQ(object.size(), 1u);
  Value null;
  EXPECT_TRUE(null.removeMember(u"a").isNull());
  EXPECT_TRUE(null.isNull());
}

TEST(JsonValueAccess, ResizeCreatesOneElementOrRemovesTheTail)
{
  Value array(Json::arrayValue);
  array.resize(3);
  EXPECT_EQ(array.size(), 3u);
  EXPECT_EQ(std::distance(array.begin(), array.end()), 1);
  array.resize(0);
  EXPECT_EQ(array.size(), 0u);
  EXPECT_EQ(array.type(), Json::arrayValue);

  for (int i = 0; i < 6; ++i) {
    array[i] = i;
  }
  array.resize(1);
  EXPECT_EQ(array.size(), 1u);
  EXPECT_EQ(array[0].asInt(), 0);

  Value null;
  null.resize(2);
  EXPECT_EQ(null.type(), Json::arrayValue);
  EXPECT_EQ(null.size(), 2u);
}

TEST(JsonValueAccess, SizesClearAndEmptyPerType)
{
  Value number(5);
  number.clear();
  EXPECT_EQ(number.asInt(), 5);
  EXPECT_FALSE(number.empty());
  EXPECT_EQ(number.size(), 0u);
  EXPECT_TRUE(Value().empty());
  EXPECT_FALSE(Value(u"").empty());

  Value object;
  object[u"a"] = 1;
  object.clear();
  EXPECT_TRUE(object.empty());
  EXPECT_EQ(object.type(), Json::objectValue);
  EXPECT_TRUE(Value().getMemberNames().empty());
}

TEST(JsonValueAccess, IteratorsReportKeysIndexesAndNames)
{
  Value array;
  array[3] = u"x";
  auto element = array.begin();
  EXPECT_EQ(element.key(), Value(3));
  EXPECT_EQ(element.index(), 3u);
  EXPECT_EQ(std::u16string(element.memberName()), u"");
  EXPECT_EQ(element->asString(), u"x");

  Value object;
  object[u"owned"] = 1;
  object[Json::StaticString(u"shared")] = 2;
  auto member = object.begin();
  EXPECT_EQ(member.index(), 4294967295u);
  EXPECT_EQ(member.key().asString(), u"owned");
  ++member;
  EXPECT_EQ(member.key().asCString(), member.memberName()) << "a shared name is not copied";
  EXPECT_EQ(object.begin().distance(object.end()), 2);
  --member;
  EXPECT_EQ(member, object.begin());

  for (const Value& scalar : {Value(1), Value(u"s"), Value()}) {
    EXPECT_TRUE(scalar.begin() == scalar.end());
    EXPECT_EQ(scalar.begin().distance(scalar.end()), 0);
  }
}

// Wrong-kind access never treats a scalar's holder as a container, nor mixes index and name
// keys in one container: reading finds nothing, growing throws and leaves the value alone.
TEST(JsonValueAccess, WrongKindAccessIsSafe)
{
  Value object;
  object[u"a"] = 1;
  Value array;
  array[0] = 1;
  const Value scalars[] = {Value(5), Value(u"text"), Value(2.5), Value(true)};

  const Value& objectReading = object;
  EXPECT_EQ(&objectReading[0], &Value::null);
  EXPECT_EQ(&static_cast<const Value&>(array)[u"a"], &Value::null);
  EXPECT_TRUE(array.getMemberNames().empty());
  EXPECT_FALSE(array.isMember(u"a"));
  EXPECT_TRUE(array.removeMember(u"a").isNull());
  EXPECT_EQ(array.get(u"a", Value(9)).asInt(), 9);
  EXPECT_EQ(object.get(0u, Value(9)).asInt(), 9);
  for (const Value& scalar : scalars) {
    EXPECT_EQ(&scalar[0], &Value::null);
    EXPECT_EQ(&scalar[u"a"], &Value::null);
    EXPECT_TRUE(scalar.getMemberNames().empty());
    EXPECT_EQ(scalar.asCString() == nullptr, !scalar.isString()) << "no holder read as text";
  }

  EXPECT_THROW(object[0] = 2, std::runtime_error);
  EXPECT_THROW(object.append(2), std::runtime_error);
  EXPECT_THROW(object.resize(2), std::runtime_error);
  EXPECT_THROW(array[u"a"] = 2, std::runtime_error);
  EXPECT_THROW(array[Json::StaticString(u"a")] = 2, std::runtime_error);
  for (Value scalar : scalars) {
    Value before(scalar);
    EXPECT_THROW(scalar[0], std::runtime_error);
    EXPECT_THROW(scalar[u"a"], std::runtime_error);
    EXPECT_EQ(scalar, before);
  }
  EXPECT_EQ(object.size(), 1u);
  EXPECT_EQ(array.size(), 1u);
}

}  // namespace
