// The response map: which replies it takes, how it flattens them, how it fails, and the round
// trip of a text written by the streaming writer.
#include "JSonHelper.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "device_files.h"
#include "json/streaming_writer.h"
#include "kernel/file_system.h"
#include "text/codepage.h"

namespace {

std::string Utf8(const CStringW& text)
{
  std::string bytes(static_cast<size_t>(text.GetLength()) * 3, '\0');
  int size = WideCharToMultiByte(CP_UTF8, 0, text, text.GetLength(), bytes.data(), static_cast<int>(bytes.size()),
                                 nullptr, nullptr);
  bytes.resize(static_cast<size_t>(size));
  return bytes;
}

// The whole table as "key=value" words in key order: i:100, r:1.5, s:text, null, true, false.
std::string Dump(const CResponseMap& map, std::initializer_list<const char16_t*> keys)
{
  std::string out;
  for (const char16_t* key : keys) {
    JsonParserValue value;
    if (!map.GetValue(key, value)) {
      continue;
    }
    std::u16string wideKey(key);
    std::string word(wideKey.begin(), wideKey.end());
    word += '=';
    switch (value.type) {
      case kJsonInteger: word += "i:" + std::to_string(value.integer); break;
      case kJsonReal: word += "r:" + std::to_string(value.real); break;
      case kJsonNull: word += "null"; break;
      case kJsonTrue: word += "true"; break;
      case kJsonFalse: word += "false"; break;
      case kJsonString: {
        word += "s:" + Utf8(value.text);
        break;
      }
      default: word += "?"; break;
    }
    out += out.empty() ? word : " " + word;
  }
  return out;
}

struct FlattenCase {
  const char16_t* reply;
  int result;
  std::string table;  // over the keys a, b, c, k, list, memo, resultStatus
};

TEST(CResponseMap, FlattensRepliesIntoOneTable)
{
  const FlattenCase cases[] = {
      // Nested objects: members land under their own names; the object's own key has no entry.
      {u"{\"a\":{\"resultStatus\":100},\"memo\":\"x\"}", 1, "memo=s:x resultStatus=i:100"},
      {u"{\"a\":{\"b\":{\"c\":{\"k\":-7}}}}", 1, "k=i:-7"},
      // Arrays: each element under the array's key in turn, the last remains.
      {u"{\"list\":[1,2,3]}", 1, "list=i:3"},
      {u"{\"list\":[{\"a\":1,\"b\":\"x\"},{\"a\":2}]}", 1, "a=i:2 b=s:x"},
      {u"{\"list\":[]}", 1, ""},
      // The last member of a name wins, whatever its type or depth.
      {u"{\"memo\":\"first\",\"a\":{\"memo\":\"second\"}}", 1, "memo=s:second"},
      {u"{\"k\":1,\"k\":\"t\",\"k\":null}", 1, "k=null"},
      // Literals, reals and texts.
      {u"{\"a\":true,\"b\":false,\"k\":null,\"c\":1.5}", 1, "a=true b=false c=r:1.500000 k=null"},
      {u"{\"c\":2.5e1 ,\"a\":1.}", 1, "a=r:1.000000 c=r:25.000000"},
      {u"{\"memo\":\"中文 \\\"引号\\\" \\\\ \\n\",\"resultStatus\":100}", 1,
       "memo=s:中文 \"引号\" \\ \n resultStatus=i:100"},
      {u"/* note */ {\"a\":1 /* note */}", 1, "a=i:1"},
      {u"{\"A\":1,\"a\":2}", 1, "a=i:2"},
      // Text after the root, a damaged reply, too deep a reply: nothing is kept.
      {u"{\"resultStatus\":100,\"memo\":\"ok\"} x", 0, ""},
      {u"{\"resultStatus\":100,\"memo\":\"ok\"}{}", 0, ""},
      {u"{\"resultStatus\":100,\"memo\":\"ok\",}", 0, ""},
      {u"{\"resultStatus\":100 \"memo\":\"x\"}", 0, ""},
      {u"{\"resultStatus\":100,\"memo\":\"unterminated", 0, ""},
      {u"{\"resultStatus\":100,\"a\":[[[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]]]}", 0, ""},
      {u"", 0, ""},
  };
  for (const FlattenCase& c : cases) {
    CResponseMap map;
    EXPECT_EQ(map.Parse(c.reply), c.result) << std::u16string(c.reply).size();
    EXPECT_EQ(Dump(map, {u"a", u"b", u"c", u"k", u"list", u"memo", u"resultStatus"}), c.table)
        << "reply of " << std::u16string(c.reply).size() << " units";
    EXPECT_EQ(map.IsEmpty(), c.table.empty());
  }
}

TEST(CResponseMap, GetValueLeavesOutAloneForAnAbsentKey)
{
  CResponseMap map;
  ASSERT_EQ(map.Parse(u"{\"k\":null,\"memo\":\"x\"}"), 1);
  JsonParserValue value;
  value.type = kJsonInteger;
  value.integer = 42;
  EXPECT_EQ(map.GetValue(u"absent", value), 0);
  EXPECT_EQ(map.GetValue(nullptr, value), 0);
  EXPECT_EQ(value.type, kJsonInteger);
  EXPECT_EQ(value.integer, 42);
  EXPECT_EQ(map.GetValue(u"k", value), 1);
  EXPECT_EQ(value.type, kJsonNull);
  EXPECT_TRUE(value.text.IsEmpty());
}

TEST(CResponseMap, GetResponseTextTakesOnlyText)
{
  CResponseMap map;
  ASSERT_EQ(map.Parse(u"{\"memo\":\"余额不足\",\"empty\":\"\",\"n\":7,\"k\":null}"), 1);
  struct Case {
    const char16_t* key;
    bool found;
    const char16_t* text;
  } cases[] = {
      {u"memo", true, u"余额不足"}, {u"empty", true, u""},       {u"n", false, u"before"},
      {u"k", false, u"before"},     {u"absent", false, u"before"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.key));
    CStringW text(u"before");
    EXPECT_EQ(GetResponseText(map, c.key, text), c.found);
    EXPECT_EQ(Utf8(text), Utf8(c.text));
  }
}

TEST(CResponseMap, ADamagedReplyIsNeverReadAsSuccess)
{
  // The status arrives before the fault; the reply must not count as a success.
  CResponseMap map;
  EXPECT_EQ(map.Parse(u"{\"resultStatus\":100,\"memo\":\"成功\" garbage \"resultStatus\":200}"), 0);
  JsonParserValue status;
  EXPECT_EQ(map.GetValue(u"resultStatus", status), 0);
  EXPECT_TRUE(map.IsEmpty());
}

TEST(CResponseMap, EscapedAndPlainTextDecodeAsUnicode)
{
  // Chinese as \u escapes and as text, and characters that the ANSI code page lacks.
  CResponseMap map;
  ASSERT_EQ(map.Parse(u"{\"memo\":\"\\u652f\\u4ed8\\u6210\\u529f\",\"名称\":\"商户\",\"a\":\"\\ud83d\\ude00한\"}"), 1);
  JsonParserValue value;
  ASSERT_EQ(map.GetValue(u"memo", value), 1);
  EXPECT_EQ(std::u16string(value.text.GetString()), u"支付成功");
  ASSERT_EQ(map.GetValue(u"名称", value), 1);
  EXPECT_EQ(std::u16string(value.text.GetString()), u"商户");
  ASSERT_EQ(map.GetValue(u"a", value), 1);
  EXPECT_EQ(std::u16string(value.text.GetString()), u"\U0001F600한");
}

class CResponseMapLog : public common_test::DeviceRootTest {
 protected:
  void SetUp() override
  {
    WCHAR temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  }
};

TEST_F(CResponseMapLog, AValueBeforeAnyKeyOfItsOwnParseFails)
{
  // The previous reply's last key must not file the next reply's values.
  CResponseMap first;
  ASSERT_EQ(first.Parse(u"{\"resultStatus\":100}"), 1);
  CResponseMap second;
  EXPECT_EQ(second.Parse(u"[200]"), 0);
  EXPECT_TRUE(second.IsEmpty());
  std::string log = common_test::ReadDeviceFile(u"\\Temp\\common_tests.exe.1.log");
  EXPECT_NE(log.find("JSonHelper.cpp("), std::string::npos) << log;

  // Literals without a key are kept under the empty name, as the parse always did.
  CResponseMap literals;
  EXPECT_EQ(literals.Parse(u"[null,true]"), 1);
  JsonParserValue value;
  EXPECT_EQ(literals.GetValue(u"", value), 1);
  EXPECT_EQ(value.type, kJsonTrue);
}

TEST(CResponseMap, ACustomCallbackTakesTheEventsInsteadOfTheTable)
{
  struct Count {
    int events = 0;
    static int callback(void* context, int, const JsonEventValue*)
    {
      static_cast<Count*>(context)->events++;
      return 1;
    }
  } count;
  CResponseMap map;
  map.SetCustomCallback(Count::callback, &count);
  EXPECT_EQ(map.Parse(u"{\"a\":[1,2]}"), 1);
  EXPECT_EQ(count.events, 7);
  EXPECT_TRUE(map.IsEmpty());
}

TEST(CResponseMap, ReadsBackWhatTheStreamingWriterWrote)
{
  const std::u16string values[] = {
      u"你好，世界",
      u"say \"hi\"",
      u"C:\\path\\to\\file",
      u"line one\nline two\r\nthree\ttab",
      u"\\\"mixed\\\" 中文\n\"",
      u"\U0001F600 end \x01\x1f",
      u"",
  };
  CJsonWriter writer;
  writer.BeginObject(u"operationType", u"message", false);
  for (size_t i = 0; i < std::size(values); ++i) {
    std::u16string key = u"v" + std::u16string(1, static_cast<char16_t>(u'0' + i));
    writer.AddMember(key.c_str(), values[i].c_str(), true);
  }
  writer.AddIntAsString(u"msgId", 12);
  writer.EndObject();

  CResponseMap map;
  ASSERT_EQ(map.Parse(writer.GetText()), 1) << std::u16string(writer.GetText().GetString()).size();
  for (size_t i = 0; i < std::size(values); ++i) {
    std::u16string key = u"v" + std::u16string(1, static_cast<char16_t>(u'0' + i));
    JsonParserValue value;
    ASSERT_EQ(map.GetValue(key.c_str(), value), 1) << i;
    EXPECT_EQ(value.type, kJsonString);
    EXPECT_EQ(std::u16string(value.text.GetString()), values[i]) << i;
  }
  JsonParserValue id;
  ASSERT_EQ(map.GetValue(u"msgId", id), 1);
  EXPECT_EQ(std::u16string(id.text.GetString()), u"12");
}

}  // namespace
