// Our reader against nlohmann-json on strict JSON: the same tree, allowing for our typing of
// numbers (int, uint, else real). Our compact output must be strict JSON that reads back to the
// same tree.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdint>
#include <random>
#include <string>

#include <nlohmann/json.hpp>

#include "json/reader.h"
#include "json/writer.h"
#include "text/codepage.h"

namespace {

using nlohmann::json;

std::u16string toUtf16(const std::string& utf8)
{
  int length = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::u16string wide(static_cast<size_t>(length), u'\0');
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), static_cast<int>(utf8.size()), wide.data(), length);
  return wide;
}

std::string toUtf8(const std::u16string& wide)
{
  int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), narrow.data(), length, nullptr, nullptr);
  return narrow;
}

// Where the trees differ, as a path and a reason; empty when they agree.
std::string difference(const Json::Value& ours, const json& theirs, const std::string& path = "$")
{
  switch (theirs.type()) {
    case json::value_t::null:
      return ours.isNull() ? "" : path + ": not null";
    case json::value_t::boolean:
      return ours.isBool() && ours.asBool() == theirs.get<bool>() ? "" : path + ": boolean differs";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float: {
      // Integers in 32 bits are int or uint by sign and size; -2147483647 and below, and
      // 4294967290 and above, read as reals; everything else reads as a real.
      if (theirs.is_number_integer() && !theirs.is_number_float()) {
        if (theirs.is_number_unsigned() || theirs.get<int64_t>() >= 0) {
          uint64_t n = theirs.get<uint64_t>();
          if (n <= 2147483647u) {
            return ours.isInt() && static_cast<uint64_t>(ours.asInt()) == n ? "" : path + ": int expected";
          }
          if (n <= 4294967289u) {
            return ours.isUInt() && ours.asUInt() == n ? "" : path + ": uint expected";
          }
          return ours.isDouble() && ours.asDouble() == static_cast<double>(n) ? "" : path + ": real expected";
        }
        int64_t n = theirs.get<int64_t>();
        if (n >= -2147483639) {
          return ours.isInt() && ours.asInt() == n ? "" : path + ": negative int expected";
        }
        return ours.isDouble() && ours.asDouble() == static_cast<double>(n) ? "" : path + ": real expected";
      }
      return ours.isDouble() && ours.asDouble() == theirs.get<double>() ? "" : path + ": real differs";
    }
    case json::value_t::string: {
      std::string text = theirs.get<std::string>();
      return ours.isString() && toUtf8(ours.asString()) == text.substr(0, text.find('\0')) ? ""
                                                                                            : path + ": text differs";
    }
    case json::value_t::array: {
      if (ours.type() != Json::arrayValue || ours.size() != theirs.size()) {
        return path + ": array differs";
      }
      for (size_t i = 0; i < theirs.size(); ++i) {
        std::string inner = difference(ours[static_cast<Json::UInt>(i)], theirs[i], path + "[" + std::to_string(i) + "]");
        if (!inner.empty()) {
          return inner;
        }
      }
      return "";
    }
    case json::value_t::object: {
      if (ours.type() != Json::objectValue || ours.size() != theirs.size()) {
        return path + ": object differs";
      }
      for (const auto& [name, value] : theirs.items()) {
        std::u16string wideName = toUtf16(name);
        if (!ours.isMember(wideName)) {
          return path + "." + name + ": missing";
        }
        std::string inner = difference(ours[wideName], value, path + "." + name);
        if (!inner.empty()) {
          return inner;
        }
      }
      return "";
    }
    default:
      return path + ": unexpected type";
  }
}

// Reads the text with both, compares, then checks our compact output the same way.
void expectSameTree(const std::string& utf8)
{
  SCOPED_TRACE(utf8.substr(0, 200));
  json theirs = json::parse(utf8);
  Json::Reader reader;
  Json::Value ours;
  ASSERT_TRUE(reader.parse(toUtf16(utf8), ours, false)) << toUtf8(reader.formatErrors());
  EXPECT_EQ(difference(ours, theirs), "");

  std::string written = toUtf8(Json::FastWriter().write(ours));
  json reread = json::parse(written);
  Json::Value oursAgain;
  ASSERT_TRUE(reader.parse(toUtf16(written), oursAgain, false));
  EXPECT_EQ(difference(oursAgain, reread), "");
}

TEST(JsonDifferential, HandPickedDocuments)
{
  const char* documents[] = {
      R"({"resultStatus":100,"memo":"成功","tradeTableList":[{"tradeNo":"001","amount":12.5}]})",
      R"([0,-0,1,-1,2147483647,2147483648,-2147483639,-2147483640,-2147483648,4294967289,4294967290,4294967295])",
      R"([4294967296,18446744073709551615,18446744073709551616,-9223372036854775808,123456789012345678901234567890])",
      R"([0.5,-0.0,1e3,1E+3,1e-3,2.5E-3,1.5e308,5e-324,2.2250738585072014e-308,0.1,123.456e10])",
      R"(["\"\\\/\b\f\n\r\t","\u0041\u4e2d\u00e9","\ud83d\ude00","中文 ü 😀","\u0001\u001f",""])",
      R"({"":1,"Z":2,"a":3,"ab":{"nested":[[],{},[[]],[{}]]},"\u00e9":null,"😀":true,"中":false})",
      "  \t\r\n[ 1 ,\n 2 ]\n ",
      R"("just text")", "42", "-1.5", "true", "null",
  };
  for (const char* document : documents) {
    expectSameTree(document);
  }
}

// Random documents with the shapes and corners that matter: deep mixes of containers, integers
// around the type thresholds, reals of every magnitude, texts with escapes and non-ASCII.
class DocumentMaker {
public:
  explicit DocumentMaker(uint32_t seed) : random_(seed) {}

  json make(int depth)
  {
    switch (pick(depth > 4 ? 6 : 8)) {
      case 0: return nullptr;
      case 1: return pick(2) == 0;
      case 2: return integer();
      case 3: return real();
      case 4:
      case 5: return text();
      case 6: {
        json array = json::array();
        for (int i = pick(6); i > 0; --i) {
          array.push_back(make(depth + 1));
        }
        return array;
      }
      default: {
        json object = json::object();
        for (int i = pick(6); i > 0; --i) {
          object[text()] = make(depth + 1);
        }
        return object;
      }
    }
  }

private:
  int pick(int count) { return static_cast<int>(random_() % static_cast<uint32_t>(count)); }

  json integer()
  {
    const int64_t corners[] = {0, 1, -1, 2147483647, 2147483648LL, -2147483639, -2147483640, -2147483648LL,
                               4294967289LL, 4294967290LL, 4294967295LL, 4294967296LL, INT64_MIN, INT64_MAX};
    switch (pick(3)) {
      case 0: return corners[pick(14)];
      case 1: return static_cast<int64_t>(random_()) - 2147483648LL;
      default: return static_cast<int64_t>(random_() % 100000) * (pick(2) ? 1 : -1);
    }
  }

  json real()
  {
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 308);
    double value = mantissa(random_) * std::pow(10.0, exponent(random_));
    return std::isfinite(value) ? value : 1.5;
  }

  std::string text()
  {
    const char* pieces[] = {"a", "Z", "tradeNo", "金额", "中国移动", "😀", "\"", "\\", "/", "\n", "\t", "\x01",
                            "\x1f", "é", " ", "\xEF\xBF\xBF", "\xEE\x80\x80", "memo"};
    std::string text;
    for (int i = pick(5); i > 0; --i) {
      text += pieces[pick(18)];
    }
    return text;
  }

  std::mt19937 random_;
};

// Objects long enough to be read through an index, names out of order and repeated (the last
// occurrence wins, as in nlohmann-json), and arrays long enough to grow in place.
TEST(JsonDifferential, LongObjectsAndArrays)
{
  std::mt19937 random(7);
  for (int members : {5, 31, 32, 33, 200, 1023, 1024, 1025, 3000}) {
    std::string text = "{";
    for (int i = 0; i < members; ++i) {
      text += (i == 0 ? "\"" : ",\"") + std::to_string(random() % (members * 2 / 3 + 1)) + "k\":" +
              std::to_string(random() % 1000);
    }
    text += ",\"list\":[";
    for (int i = 0; i < members; ++i) {
      text += (i == 0 ? "" : ",") + std::to_string(i) + (i % 7 == 0 ? ".5" : "");
    }
    expectSameTree(text + "]}");
  }
}

// Long lists of objects that name their members alike, and now and then not quite: a member
// fewer at the end or in the middle, one more, two swapped, one named twice, a name whose
// escaped text is the previous object's name, a name cut short; nested alike; enough of them
// that their storage takes many pieces. And a name too long to share a piece of storage.
TEST(JsonDifferential, ListsOfObjectsNamedAlike)
{
  const char* const variants[] = {
      R"({"id":%d,"tradeNo":"T%d","amount":1.5,"memo":"m","seller":{"name":"s","level":%d}})",
      R"({"id":%d,"tradeNo":"T%d","amount":1.5})",
      R"({"id":%d,"tradeNo":"T%d","amount":1.5,"memo":"m","seller":{"name":"s","level":%d},"extra":true})",
      R"({"id":%d,"tradeNo":"T%d","amount":1.5,"seller":{"name":"s","level":%d}})",
      R"({"tradeNo":"T%d","id":%d,"amount":1.5,"memo":"m","seller":{"level":%d,"name":"s"}})",
      R"({"id":%d,"tradeNo":"T%d","amount":1.5,"id":"again","seller":{"name":"s","level":%d,"name":"t"}})",
      R"({"id":%d,"\\u004eo":"T%d","amount":1.5,"memo":"m","seller":{"name":"s","level":%d}})",
      R"({"id":%d,"\u004eo":"T%d","amount":1.5,"memo":"m","seller":{"name":"s","level":%d}})",
      R"({"id":%d,"tradeN":"T%d","amount":1.5,"memo":"m","seller":{"nam":"s","level":%d}})",
  };
  for (int period : {1, 3, 9, 50}) {
    std::string text = "[";
    for (int i = 0; i < 3000; ++i) {
      char record[256];
      std::snprintf(record, sizeof record, variants[i % period < 9 ? i % period : 0], i, i, i % 7);
      text += (i == 0 ? "" : ",") + std::string(record);
    }
    expectSameTree(text + "]");
  }
  const std::string longName(5000, 'n');
  expectSameTree("[{\"" + longName + "\":1},{\"" + longName + "\":2},{\"" + longName + "\":3}]");
}

TEST(JsonDifferential, RandomDocuments)
{
  DocumentMaker maker(20100812);
  for (int i = 0; i < 300; ++i) {
    json document = maker.make(0);
    expectSameTree(document.dump());
    expectSameTree(document.dump(2, ' ', true));  // indented, every non-ASCII character escaped
  }
}

}  // namespace
