#include "message_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "device_files.h"
#include "message_file.h"

namespace {

using common_test::DeviceFileExists;
using common_test::ReadDeviceFile;
using common_test::WriteDeviceFile;

constexpr const WCHAR* kLogonId = u"demo@korvex.cn";
constexpr const WCHAR* kFolder = u"\\Temp\\KorvexPortal\\demo@korvex.cn\\MsgList\\Readed\\";

MsgRecord Message(int id, const WCHAR* topic = u"标题", const WCHAR* content = u"内容")
{
  return MsgRecord{id, topic, content, u"Korvex", u"1", u"2010-07-12 10:00:00"};
}

void Store(const WCHAR* logonId, const MsgRecord& message)
{
  ASSERT_EQ(SaveMessageFile(logonId, message.msgId, FormatMessageFile(message)), 0);
}

void ExpectSameMessage(const MsgRecord& actual, const MsgRecord& expected)
{
  EXPECT_EQ(actual.msgId, expected.msgId);
  EXPECT_EQ(actual.topic, expected.topic);
  EXPECT_EQ(actual.content, expected.content);
  EXPECT_EQ(actual.sender, expected.sender);
  EXPECT_EQ(actual.type, expected.type);
  EXPECT_EQ(actual.date, expected.date);
}

std::u16string Path(int id)
{
  return std::u16string(kFolder) + std::u16string(CStringW(std::to_string(id).c_str()).GetString());
}

using MessageStore = common_test::DeviceRootTest;

TEST_F(MessageStore, WritesOneObjectInTheStoredOrderAndCodePage)
{
  MsgRecord message = Message(12, u"通知", u"您好");
  EXPECT_EQ(FormatMessageFile(message),
            u"{\"operatoinType\":\"viewMsg\",\"msgId\":\"12\",\"msgTopic\":\"通知\",\"msgContent\":\"您好\","
            u"\"msgFrom\":\"Korvex\",\"MsgType\":\"1\",\"msgDate\":\"2010-07-12 10:00:00\"}");
  Store(kLogonId, message);
  EXPECT_EQ(ReadDeviceFile(Path(12).c_str()),
            "{\"operatoinType\":\"viewMsg\",\"msgId\":\"12\",\"msgTopic\":\"\xCD\xA8\xD6\xAA\",\"msgContent\":\"\xC4\xFA\xBA\xC3\","
            "\"msgFrom\":\"Korvex\",\"MsgType\":\"1\",\"msgDate\":\"2010-07-12 10:00:00\"}");
}

TEST_F(MessageStore, TextsRoundTripWithoutLoss)
{
  // Quotes, backslashes, line breaks, Chinese, a question mark, and characters code page 936
  // lacks: an emoji (beyond U+FFFF) and Hangul.
  MsgRecord message = Message(7, u"\"引号\" \\ 和 ?", u"第一行\r\n第二行\t😀 한국어 <a href=\"http://x/?a=1&b=2\">链接</a>");
  message.sender = u"发件人 😀";
  Store(kLogonId, message);

  std::string bytes = ReadDeviceFile(Path(7).c_str());
  EXPECT_NE(bytes.find("\\uD83D\\uDE00"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("\xEF\xBB\xBF"), std::string::npos) << "no byte-order mark";

  CStringW text;
  EXPECT_EQ(LoadPrevMessage(kLogonId, 0, text), 0);
  MsgRecord loaded;
  ASSERT_TRUE(ParseMessageFile(text, loaded)) << CStringA(text).GetString();
  ExpectSameMessage(loaded, message);
}

TEST_F(MessageStore, StepsThroughTheStoredIdsInNumericOrder)
{
  for (int id : {9, 12, 5}) {
    Store(kLogonId, Message(id));
  }
  EXPECT_EQ(GetNewestMessageId(kLogonId), 12);

  struct Step {
    int from;
    int next;
    int previous;
  };
  for (Step step : {Step{-1, 5, 12}, Step{0, 5, 12}, Step{5, 9, 0}, Step{9, 12, 5}, Step{12, 0, 9}, Step{10, 12, 9},
                    Step{100, 0, 12}}) {
    SCOPED_TRACE(step.from);
    EXPECT_EQ(GetNextMessageId(kLogonId, step.from), step.next);
    EXPECT_EQ(GetPrevMessageId(kLogonId, step.from), step.previous);

    CStringW next, previous = u"left over";
    LoadNextMessage(kLogonId, step.from, next);
    LoadPrevMessage(kLogonId, step.from, previous);
    MsgRecord loaded;
    EXPECT_EQ(ParseMessageFile(next, loaded) ? loaded.msgId : 0, step.next);
    EXPECT_EQ(ParseMessageFile(previous, loaded) ? loaded.msgId : 0, step.previous);
  }
}

// Names that are no number count as 0 and are never shown; 10 sorts after 9, not after 1.
TEST_F(MessageStore, NonNumericNamesCountAsZero)
{
  Store(kLogonId, Message(9));
  Store(kLogonId, Message(10));
  WriteDeviceFile((std::u16string(kFolder) + u"readme").c_str(), "not a message");
  ASSERT_TRUE(CreateDirectoryW((std::u16string(kFolder) + u"77").c_str(), nullptr));

  std::vector<int> ids;
  EXPECT_EQ(ListMessageIds(kLogonId, ids), 3);
  std::sort(ids.begin(), ids.end());
  EXPECT_EQ(ids, (std::vector<int>{0, 9, 10}));
  EXPECT_EQ(GetNewestMessageId(kLogonId), 10);
  EXPECT_EQ(GetPrevMessageId(kLogonId, 9), 0);
  EXPECT_EQ(GetNextMessageId(kLogonId, -1), 9);
}

TEST_F(MessageStore, DeletesOnlyTheShownMessage)
{
  for (int id : {5, 9, 12}) {
    Store(kLogonId, Message(id));
  }
  EXPECT_TRUE(DeleteMessageFile(kLogonId, 9));
  EXPECT_FALSE(DeleteMessageFile(kLogonId, 9));
  EXPECT_EQ(GetNextMessageId(kLogonId, 5), 12);
  EXPECT_EQ(GetPrevMessageId(kLogonId, 12), 5);
}

TEST_F(MessageStore, SavingAgainReplacesTheFile)
{
  Store(kLogonId, Message(5, u"一个很长的旧标题，比新的长得多"));
  Store(kLogonId, Message(5, u"新"));
  CStringW text;
  LoadPrevMessage(kLogonId, 0, text);
  MsgRecord loaded;
  ASSERT_TRUE(ParseMessageFile(text, loaded));
  EXPECT_EQ(loaded.topic, u"新");
  EXPECT_FALSE(DeviceFileExists((Path(5) + u".tmp").c_str()));
}

TEST_F(MessageStore, EachUserSeesOnlyTheirOwnMessages)
{
  Store(kLogonId, Message(5));
  Store(u"13800138000", Message(9));
  EXPECT_EQ(GetNewestMessageId(kLogonId), 5);
  EXPECT_EQ(GetNewestMessageId(u"13800138000"), 9);
  EXPECT_EQ(GetNewestMessageId(u"other@korvex.cn"), 0);
  EXPECT_FALSE(DeleteMessageFile(u"13800138000", 5));
}

TEST_F(MessageStore, RefusedLogonIdsReadAndWriteNothing)
{
  Store(kLogonId, Message(5));
  for (const WCHAR* refused : {u"", u".", u"..", u"..\\demo@korvex.cn", u"demo@korvex.cn\\..", u"a/b", u"a\nb"}) {
    SCOPED_TRACE(CStringA(refused).GetString());
    EXPECT_EQ(SaveMessageFile(refused, 6, FormatMessageFile(Message(6))), -1);
    std::vector<int> ids;
    EXPECT_EQ(ListMessageIds(refused, ids), 0);
    EXPECT_EQ(GetNewestMessageId(refused), 0);
    CStringW text = u"left over";
    LoadPrevMessage(refused, 0, text);
    EXPECT_TRUE(text.IsEmpty());
    EXPECT_FALSE(DeleteMessageFile(refused, 5));
  }
  EXPECT_FALSE(DeviceFileExists(Path(6).c_str()));
  EXPECT_TRUE(DeviceFileExists(Path(5).c_str()));
  EXPECT_EQ(SaveMessageFile(kLogonId, 0, u"{}"), -1) << "an id below 1 is never stored";
}

TEST(MessageFile, ReadsWhatItCanOfAnyObject)
{
  MsgRecord message = Message(3);
  EXPECT_FALSE(ParseMessageFile(u"{\"msgId\":\"4\"", message));
  EXPECT_FALSE(ParseMessageFile(u"", message));
  EXPECT_EQ(message.msgId, 3) << "unchanged";

  ASSERT_TRUE(ParseMessageFile(u"{\"msgId\":4,\"msgTopic\":\"t\",\"msgCount\":2}", message));
  EXPECT_EQ(message.msgId, 4);
  EXPECT_EQ(message.topic, u"t");
  EXPECT_TRUE(message.content.IsEmpty());
  EXPECT_TRUE(message.date.IsEmpty());
}

}  // namespace
