// Paths of member names and bracketed indexes, with placeholders.
#include <gtest/gtest.h>

#include "json/path.h"

namespace {

using Json::Path;
using Json::PathArgument;
using Json::Value;

Value sample()
{
  Value root;
  root[u"a"][u"b"][0] = 10;
  root[u"a"][u"b"][2] = 12;
  return root;
}

TEST(JsonPath, ResolvesMembersAndIndexes)
{
  Value root = sample();
  Path path(u".a.b[2]");
  EXPECT_EQ(path.resolve(root).asInt(), 12);
  EXPECT_EQ(&Path(u".a.x[2]").resolve(root), &Value::null);
  EXPECT_EQ(&Path(u"a.b[7]").resolve(root), &Value::null);
  EXPECT_EQ(Path(u"a.b[]").resolve(root).asInt(), 10) << "no digit is index 0";
}

TEST(JsonPath, ResolveWithDefaultFailsOnTheFirstMissingStep)
{
  Value root = sample();
  Value fallback(u"default");
  EXPECT_EQ(Path(u".a.b[2]").resolve(root, fallback).asInt(), 12);
  EXPECT_TRUE(Path(u".a.b[1]").resolve(root, fallback).isNull()) << "a gap below the size is reached";
  EXPECT_EQ(Path(u".a.b[3]").resolve(root, fallback), fallback);
  EXPECT_EQ(Path(u".a.c").resolve(root, fallback), fallback);
  EXPECT_EQ(Path(u".a[0]").resolve(root, fallback), fallback) << "an object is no array";
}

TEST(JsonPath, MakeCreatesTheMissingNodes)
{
  Value root;
  Path(u".a.b[2]").make(root) = u"made";
  EXPECT_EQ(root[u"a"][u"b"].size(), 3u);
  EXPECT_EQ(root[u"a"][u"b"][2].asString(), u"made");
}

TEST(JsonPath, PlaceholdersTakeTheSuppliedArgumentsInOrder)
{
  Value root = sample();
  Path path(u"%.%[%]", PathArgument(u"a"), PathArgument(u"b"), PathArgument(2u));
  EXPECT_EQ(path.resolve(root).asInt(), 12);
  ASSERT_EQ(path.arguments().size(), 3u);

  Path wrongKind(u"%[%]", PathArgument(0u), PathArgument(u"b"));
  EXPECT_TRUE(wrongKind.arguments().empty()) << "arguments of the wrong kind add nothing";
  Path missing(u"a[%]");
  EXPECT_EQ(missing.arguments().size(), 1u);
}

TEST(JsonPath, UnclosedBracketsStayInsideTheText)
{
  EXPECT_EQ(Path(u"a[12").arguments().size(), 2u);
  EXPECT_EQ(Path(u"a[").arguments().size(), 2u);
  EXPECT_EQ(Path(u"[%", PathArgument(1u)).arguments().size(), 1u);
}

}  // namespace
