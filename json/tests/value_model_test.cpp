// Arrays and objects against a plain ordered map under long random runs of growing access,
// resizing, removal and reading: the same entries in the same order (indexes as signed numbers,
// names by code unit), the same sizes, and ordering and equality that agree with the maps.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "json/reader.h"
#include "json/value.h"

namespace {

using Json::Value;

// Half the runs start from a container the reader made (which holds its entries in the room it
// was made with until it grows), the other half from an empty one.
Value parsed(const std::u16string& text)
{
  Json::Reader reader;
  Value root;
  EXPECT_TRUE(reader.parse(text, root, false));
  return root;
}

// An array as the map of its present elements, keyed as signed numbers.
using ArrayModel = std::map<int32_t, int>;
using ObjectModel = std::map<std::u16string, int>;

void expectSameArray(const Value& array, const ArrayModel& model)
{
  ASSERT_EQ(array.type(), Json::arrayValue);
  EXPECT_EQ(array.size(), model.empty() ? 0u : static_cast<Json::UInt>(model.rbegin()->first) + 1);
  auto expected = model.begin();
  for (auto element = array.begin(); element != array.end(); ++element, ++expected) {
    ASSERT_NE(expected, model.end());
    EXPECT_EQ(element.index(), static_cast<Json::UInt>(expected->first));
    EXPECT_EQ(element.key().asInt(), expected->first);
    EXPECT_EQ(element->asInt(), expected->second);
  }
  EXPECT_EQ(expected, model.end());
  EXPECT_EQ(std::distance(array.begin(), array.end()), static_cast<ptrdiff_t>(model.size()));
}

void expectSameObject(const Value& object, const ObjectModel& model)
{
  ASSERT_EQ(object.type(), Json::objectValue);
  EXPECT_EQ(object.size(), model.size());
  Value::Members names;
  for (const auto& [name, value] : model) {
    names.push_back(name);
    EXPECT_EQ(object[name].asInt(), value);
  }
  EXPECT_EQ(object.getMemberNames(), names);
  auto expected = model.begin();
  for (auto member = object.begin(); member != object.end(); ++member, ++expected) {
    ASSERT_NE(expected, model.end());
    EXPECT_EQ(std::u16string(member.memberName()), expected->first);
  }
}

TEST(JsonValueModel, ArraysKeepTheirElementsAsAnOrderedMapWould)
{
  std::mt19937 random(812);
  // Mostly small indexes, so that gaps fill up again, and now and then one that orders as a
  // negative number.
  auto index = [&random]() -> Json::UInt {
    switch (random() % 8) {
      case 0: return 0x80000000u + random() % 4;
      case 1: return 0xFFFFFFFFu - random() % 4;
      default: return random() % 40;
    }
  };
  for (int run = 0; run < 40; ++run) {
    Value array(Json::arrayValue);
    ArrayModel model;
    if (run % 2 == 1) {
      std::u16string text = u"[";
      for (int i = 0; i < run; ++i) {
        text += (i == 0 ? u"" : u",") + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        model[i] = i % 10;
      }
      array = parsed(text + u"]");
    }
    for (int step = 0; step < 60; ++step) {
      const int value = static_cast<int>(random() % 1000);
      switch (random() % 6) {
        case 0:
        case 1: {
          Json::UInt at = index();
          array[at] = value;
          model[static_cast<int32_t>(at)] = value;
          break;
        }
        case 2: {
          Json::UInt size = array.size();
          array.append(value);
          model[static_cast<int32_t>(size)] = value;
          break;
        }
        case 3: {
          Json::UInt size = array.size();
          Json::UInt newSize = random() % 2 == 0 ? size / 2 : size + random() % 5;
          array.resize(newSize);
          if (newSize == 0) {
            model.clear();
          } else if (newSize > size) {
            model.emplace(static_cast<int32_t>(newSize - 1), 0);
          } else {
            model.erase(model.lower_bound(static_cast<int32_t>(newSize)), model.end());
          }
          break;
        }
        default: {
          Json::UInt at = index();
          const Value& reading = array;
          auto found = model.find(static_cast<int32_t>(at));
          if (found == model.end()) {
            EXPECT_EQ(&reading[at], &Value::null);
          } else {
            EXPECT_EQ(reading[at].asInt(), found->second);
          }
          break;
        }
      }
      expectSameArray(array, model);
      if (HasFailure()) {
        return;
      }
    }
  }
}

TEST(JsonValueModel, ObjectsKeepTheirMembersAsAnOrderedMapWould)
{
  std::mt19937 random(2010);
  const std::u16string pieces[] = {u"a", u"b", u"Z", u"名", u"\U0001F600", u"\uFF01", u""};
  auto name = [&]() {
    std::u16string text;
    for (int i = static_cast<int>(random() % 4); i > 0; --i) {
      text += pieces[random() % 7];
    }
    return text;
  };
  for (int run = 0; run < 40; ++run) {
    Value object(Json::objectValue);
    ObjectModel model;
    if (run % 2 == 1) {
      std::u16string text = u"{";
      for (int i = 0; i < run; ++i) {
        std::u16string key = name();
        text += (i == 0 ? u"\"" : u",\"") + key + u"\":" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10));
        model[key] = i % 10;
      }
      object = parsed(text + u"}");
    }
    for (int step = 0; step < 60; ++step) {
      const std::u16string key = name();
      const int value = static_cast<int>(random() % 1000);
      if (random() % 4 != 0) {
        object[key] = value;
        model[key] = value;
      } else {
        auto found = model.find(key);
        Value removed = object.removeMember(key);
        if (found == model.end()) {
          EXPECT_TRUE(removed.isNull());
        } else {
          EXPECT_EQ(removed.asInt(), found->second);
          model.erase(found);
        }
      }
      expectSameObject(object, model);
      if (HasFailure()) {
        return;
      }
    }
  }
}

TEST(JsonValueModel, OrderAndEqualityOfContainersFollowTheirEntries)
{
  std::mt19937 random(42);
  auto makeArray = [&random](ArrayModel& model) {
    Value array(Json::arrayValue);
    for (int i = static_cast<int>(random() % 4); i > 0; --i) {
      Json::UInt at = random() % 5;
      int value = static_cast<int>(random() % 3);
      array[at] = value;
      model[static_cast<int32_t>(at)] = value;
    }
    return array;
  };
  for (int i = 0; i < 400; ++i) {
    ArrayModel first, second;
    Value a = makeArray(first), b = makeArray(second);
    // Fewer entries first; then the first (index, value) pair that differs.
    bool less = first.size() != second.size() ? first.size() < second.size() : first < second;
    EXPECT_EQ(a < b, less);
    EXPECT_EQ(a == b, first == second);
    EXPECT_EQ(Value(a) == a, true) << "a copy is equal";
  }
}

}  // namespace
