// Construction, copies, assignment, comments and the allocator of values.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "json/value.h"

namespace {

using Json::Value;

TEST(JsonValueCore, EachTypeStartsAtItsZero)
{
  EXPECT_EQ(Value(Json::intValue).asInt(), 0);
  EXPECT_EQ(Value(Json::uintValue).asUInt(), 0u);
  EXPECT_EQ(Value(Json::realValue).asDouble(), 0.0);
  EXPECT_EQ(Value(Json::stringValue).asCString(), nullptr);
  EXPECT_FALSE(Value(Json::booleanValue).asBool());
  EXPECT_EQ(Value(Json::arrayValue).size(), 0u);
  EXPECT_EQ(Value(Json::objectValue).type(), Json::objectValue);
}

TEST(JsonValueCore, TextWithAnEmbeddedNulIsStoredWholeButReadToTheNul)
{
  std::u16string text(u"ab\0cd", 5);
  Value value(text);
  EXPECT_EQ(std::u16string(value.asCString(), 5), text);
  EXPECT_EQ(value.asString(), u"ab");
  Value copy(value);
  EXPECT_EQ(copy.asString(), u"ab");
}

TEST(JsonValueCore, StaticStringIsSharedAndItsCopyOwnsItsText)
{
  static const WCHAR literal[] = u"常量";
  Value shared{Json::StaticString(literal)};
  EXPECT_EQ(shared.asCString(), literal);
  {
    Value copy(shared);
    EXPECT_NE(copy.asCString(), literal);
    EXPECT_EQ(copy.asString(), u"常量");
  }
  EXPECT_EQ(std::u16string(literal), u"常量");
}

TEST(JsonValueCore, CopiesAreDeep)
{
  Value original;
  original[u"list"][0] = u"x";
  Value copy(original);
  copy[u"list"][0] = u"y";
  EXPECT_EQ(original[u"list"][0].asString(), u"x");
  EXPECT_EQ(copy[u"list"][0].asString(), u"y");
}

TEST(JsonValueCore, AssignmentCarriesContentAndKeepsEachSidesComments)
{
  Value source(5);
  source.setComment(u"// source", Json::commentBefore);
  Value target(u"old");
  target.setComment(u"// target", Json::commentAfter);

  target = source;
  EXPECT_EQ(target.asInt(), 5);
  EXPECT_FALSE(target.hasComment(Json::commentBefore));
  EXPECT_EQ(target.getComment(Json::commentAfter), u"// target");
  EXPECT_EQ(source.getComment(Json::commentBefore), u"// source");

  Value copy(source);
  EXPECT_EQ(copy.getComment(Json::commentBefore), u"// source") << "a copy carries comments";

  target = target;
  EXPECT_EQ(target.asInt(), 5);
}

TEST(JsonValueCore, SwapExchangesContentButNotComments)
{
  Value a(u"a");
  a.setComment(u"/*a*/", Json::commentAfterOnSameLine);
  Value b(2.5);
  a.swap(b);
  EXPECT_EQ(a.asDouble(), 2.5);
  EXPECT_EQ(b.asString(), u"a");
  EXPECT_TRUE(a.hasComment(Json::commentAfterOnSameLine));
  EXPECT_FALSE(b.hasComment(Json::commentAfterOnSameLine));
}

TEST(JsonValueCore, CommentsMustBeEmptyOrBeginWithSlash)
{
  Value value;
  EXPECT_FALSE(value.hasComment(Json::commentBefore));
  value.setComment(u"", Json::commentBefore);
  EXPECT_TRUE(value.hasComment(Json::commentBefore));
  EXPECT_EQ(value.getComment(Json::commentBefore), u"");

  value.setComment(u"// kept", Json::commentAfter);
  try {
    value.setComment(u"# not a comment", Json::commentAfter);
    FAIL() << "no error";
  } catch (const std::runtime_error& error) {
    EXPECT_STREQ(error.what(), "Comments must start with /");
  }
  EXPECT_FALSE(value.hasComment(Json::commentAfter)) << "the slot is left empty";
  EXPECT_EQ(value.getComment(Json::commentAfterOnSameLine), u"");
}

// Counts the buffers it hands out, to show that every text and name goes through it.
class CountingAllocator : public Json::ValueAllocator {
public:
  explicit CountingAllocator(Json::ValueAllocator* inner) : inner_(inner) {}
  WCHAR* makeMemberName(const WCHAR* name) override { return duplicateStringValue(name, untilNul); }
  void releaseMemberName(WCHAR* name) override { releaseStringValue(name); }
  WCHAR* duplicateStringValue(const WCHAR* text, size_t length) override
  {
    ++live;
    return inner_->duplicateStringValue(text, length);
  }
  void releaseStringValue(WCHAR* text) override
  {
    if (text != nullptr) {
      --live;
    }
    inner_->releaseStringValue(text);
  }
  int live = 0;

private:
  Json::ValueAllocator* inner_;
};

TEST(JsonValueCore, EveryTextAndNameGoesThroughTheAllocator)
{
  Json::ValueAllocator* original = Json::valueAllocator();
  CountingAllocator counting(original);
  Json::valueAllocator() = &counting;
  {
    Value value;
    value[u"name"] = u"text";
    value[Json::StaticString(u"shared")] = Json::StaticString(u"literal");
    value.setComment(u"// c", Json::commentBefore);
    EXPECT_EQ(counting.live, 3);
    Value copy(value);
    EXPECT_EQ(counting.live, 7) << "a copy owns a copy of the literal text but shares the literal name";
  }
  EXPECT_EQ(counting.live, 0);
  Json::valueAllocator() = original;
}

TEST(JsonValueCore, DefaultAllocatorCopiesTheGivenLengthAndTerminates)
{
  Json::ValueAllocator* allocator = Json::valueAllocator();
  WCHAR* copy = allocator->duplicateStringValue(u"abc\0def", 5);
  EXPECT_EQ(std::u16string(copy, 6), std::u16string(u"abc\0d\0", 6));
  allocator->releaseStringValue(copy);
  WCHAR* name = allocator->makeMemberName(u"名");
  EXPECT_EQ(std::u16string(name), u"名");
  allocator->releaseMemberName(name);
}

}  // namespace
