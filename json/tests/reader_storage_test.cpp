// Where the reader keeps the texts and containers of the trees it makes: values of one tree
// live and die one by one, on any thread, after the reader is gone; a caller's allocator still
// sees every text and name; reals read quickly read as the scan reads them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "json/reader.h"
#include "json/writer.h"
#include "text/widechar.h"

namespace {

using Json::Reader;
using Json::Value;

std::u16string records(int count)
{
  std::u16string text = u"{\"list\":[";
  for (int i = 0; i < count; ++i) {
    std::u16string n(1, static_cast<char16_t>(u'a' + i % 26));
    text += (i == 0 ? u"" : u",") + std::u16string(u"{\"name\":\"名字 ") + n + u"\",\"memo\":\"a\\\"b " + n +
            u"\",\"tags\":[\"x\",\"y\"],\"amount\":1.25}";
  }
  return text + u"],\"memo\":\"完\"}";
}

TEST(JsonReaderStorage, PartsOfATreeOutliveTheReaderAndDieOnAnyThread)
{
  // Enough records for several chunks of storage, and a long array made in pieces.
  const std::u16string text = records(3000);
  Value root;
  {
    Reader reader;
    ASSERT_TRUE(reader.parse(text, root, false));
  }
  const std::u16string written = Json::FastWriter().write(root);
  Value list;
  list.swap(root[u"list"]);
  std::vector<Value> taken(4);
  for (int i = 0; i < 4; ++i) {
    taken[static_cast<size_t>(i)].swap(list[i * 700][u"name"]);
  }
  Value copy = list[5];
  std::thread other([moved = std::move(list)]() mutable { moved = Value(); });
  root = Value();  // the rest of the tree, meanwhile
  other.join();
  EXPECT_EQ(std::u16string(taken[3].asCString()), u"名字 u");  // record 2100
  EXPECT_EQ(copy[u"memo"].asString(), u"a\"b f");
  taken.clear();
  Value again;
  ASSERT_TRUE(Reader().parse(written, again, false));
  EXPECT_EQ(again[u"list"].size(), 3000u);
  EXPECT_EQ(again[u"list"][2999][u"tags"][1].asString(), u"y");
  EXPECT_EQ(Json::FastWriter().write(again), written);
}

TEST(JsonReaderStorage, ACallersAllocatorSeesEveryTextAndName)
{
  struct Counting : Json::ValueAllocator {
    explicit Counting(Json::ValueAllocator* inner) : inner(inner) {}
    WCHAR* makeMemberName(const WCHAR* name) override
    {
      ++names;
      return inner->makeMemberName(name);
    }
    void releaseMemberName(WCHAR* name) override
    {
      --names;
      inner->releaseMemberName(name);
    }
    WCHAR* duplicateStringValue(const WCHAR* text, size_t length) override
    {
      ++texts;
      return inner->duplicateStringValue(text, length);
    }
    void releaseStringValue(WCHAR* text) override
    {
      texts -= text != nullptr ? 1 : 0;
      inner->releaseStringValue(text);
    }
    Json::ValueAllocator* inner;
    int names = 0;
    int texts = 0;
  };
  Json::ValueAllocator* original = Json::valueAllocator();
  Counting counting(original);
  Json::valueAllocator() = &counting;
  {
    Value root;
    ASSERT_TRUE(Reader().parse(records(3), root, false));
    EXPECT_EQ(counting.names, 2 + 3 * 4);
    EXPECT_EQ(counting.texts, 1 + 3 * 4);
  }
  EXPECT_EQ(counting.names, 0);
  EXPECT_EQ(counting.texts, 0);
  Json::valueAllocator() = original;
}

TEST(JsonReaderStorage, ShortRealsReadAsTheScanReadsThem)
{
  const char16_t* const tokens[] = {u"0.1",    u"-0.0",   u"1.",      u"1e22",     u"1e23",   u"1.5e-22", u"7e-23",
                                    u"0.3e+2", u"2.5E3",  u"1e0005",  u"1e",       u"1e+",    u"1.2.3",   u"1-2",
                                    u"123456789012345678.5", u"9007199254740993.0", u"9007199254740992.0",
                                    u"0.000000000000000000001", u"4294967296", u"-2147483649"};
  for (const char16_t* token : tokens) {
    const std::u16string text(token);
    Value root;
    Reader reader;
    reader.parse(text, root, false);
    WCHAR* scanEnd = nullptr;
    const double scanned = wcstod(text.c_str(), &scanEnd);
    const double read = root.asDouble();
    EXPECT_EQ(std::memcmp(&read, &scanned, sizeof read), 0) << std::string(text.begin(), text.end());
  }
}

}  // namespace
