// The hand-off's contract on both sides: the objects' name, the writer's checks and its
// replacement of what does not fit, and the reader's refusal of a header that points outside
// the block.
#include "handoff/order_pay_handoff.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "dovrel_test_support.h"
#include "handoff_channel.h"
#include "windows.h"

namespace {

using Handoff = common_test::DeviceRootTest;

TEST(HandoffName, IsKorvexAndTheProcessIdInHexPaddedWithBlanks)
{
  EXPECT_EQ(std::u16string(HandoffObjectName(0x1a2b)), u"KORVEX    1a2b");
  EXPECT_EQ(std::u16string(HandoffObjectName(0x12345678)), u"KORVEX12345678");
  EXPECT_EQ(std::u16string(HandoffObjectName(0)), u"KORVEX       0");
}

std::vector<BYTE> Block(OrderPayHandoffHeader header, const std::u16string& payload, DWORD at = 16)
{
  std::vector<BYTE> block(kHandoffBlockSize);
  std::memcpy(block.data(), &header, sizeof header);
  std::memcpy(block.data() + at, payload.data(), payload.size() * 2);
  return block;
}

TEST(HandoffBlock, TheReaderTakesOnlyAPayloadInsideTheBlock)
{
  struct Case {
    const char* what;
    OrderPayHandoffHeader header;
    DWORD payloadAt;
    DWORD capacity;
    bool read;
    std::u16string text;
  } cases[] = {
      {"paid with trade data", {0, 0, 16, 14}, 16, 4095, true, u"trade=1"},
      {"the payload where the header says", {0, 0, 20, 4}, 20, 4095, true, u"ok"},
      {"failed, empty", {0, 4, 16, 0}, 16, 4095, true, u""},
      {"the largest payload", {0, 0, 16, 4078}, 16, 4095, true, std::u16string(2039, u'x')},
      {"a payload past the end", {0, 0, 16, 4080}, 16, 4095, false, u""},
      {"an offset past the end", {0, 0, 4096, 0}, 16, 4095, false, u""},
      {"an offset and length that wrap", {0, 0, 0xFFFFFFF0u, 0x20}, 16, 4095, false, u""},
      {"a header shorter than the header", {0, 0, 8, 4}, 16, 4095, false, u""},
      {"an odd length", {0, 0, 16, 5}, 16, 4095, false, u""},
      {"more than the caller's room", {0, 0, 16, 14}, 16, 6, false, u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::u16string stored = c.read ? c.text : std::u16string(7, u'y');
    std::vector<BYTE> block = Block(c.header, stored, c.payloadAt);
    std::vector<WCHAR> text(c.capacity + 1, u'z');
    OrderPayHandoffHeader header = {};
    EXPECT_EQ(ReadHandoffBlock(block.data(), kHandoffBlockSize, &header, text.data(), c.capacity), c.read);
    EXPECT_EQ(std::u16string(text.data()), c.text);
  }
}

// What this process's write leaves in a block the test made for it.
struct Taken {
  BOOL written;
  OrderPayHandoffHeader header;
  std::u16string text;
};

Taken WriteAndTake(DWORD status, const std::u16string& payload)
{
  HandoffChannel channel;
  EXPECT_TRUE(channel.Create(GetCurrentProcessId()));
  OrderPayHandoffHeader header = {7, status, 16, static_cast<DWORD>(payload.size() * 2)};
  Taken taken = {WriteHandoff(header, reinterpret_cast<const BYTE*>(payload.data())), {}, {}};
  EXPECT_EQ(WaitForSingleObject(channel.Event(), 0), taken.written ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
  std::vector<WCHAR> text(4096);
  EXPECT_TRUE(channel.Take(&taken.header, text.data(), 4095));
  EXPECT_EQ(WaitForSingleObject(channel.Event(), 0), WAIT_TIMEOUT) << "taking resets the event";
  taken.text = text.data();
  return taken;
}

TEST_F(Handoff, TheWriterFillsTheServicesBlockAndSetsItsEvent)
{
  struct Case {
    const char* what;
    DWORD status;
    std::u16string payload;
    std::u16string handedBack;
  } cases[] = {
      {"paid with trade data", 0, u"out_trade_no=1&支付=是", u"out_trade_no=1&支付=是"},
      {"the largest payload that fits", 0, std::u16string(2039, u'x'), std::u16string(2039, u'x')},
      {"paid with more than fits", 0, std::u16string(2040, u'x'), u"result=successed"},
      {"failed", 4, u"", u""},
      {"failed with more than fits", 4, std::u16string(3000, u'x'), u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Taken taken = WriteAndTake(c.status, c.payload);
    EXPECT_TRUE(taken.written);
    EXPECT_EQ(taken.header.reserved, 0u);
    EXPECT_EQ(taken.header.status, c.status);
    EXPECT_EQ(taken.header.headerLength, 16u);
    EXPECT_EQ(taken.header.payloadLength, c.handedBack.size() * 2);
    EXPECT_EQ(taken.text, c.handedBack);
  }
}

TEST_F(Handoff, TheWriterUsesOnlyABlockTheServiceMade)
{
  std::u16string payload = u"result=successed";
  OrderPayHandoffHeader header = {0, 0, 16, static_cast<DWORD>(payload.size() * 2)};
  EXPECT_FALSE(WriteHandoff(header, reinterpret_cast<const BYTE*>(payload.data())));
  // Its attempt left nothing behind: the service's next block is new.
  HandoffChannel channel;
  EXPECT_TRUE(channel.Create(GetCurrentProcessId()));

  OrderPayHandoffHeader wrongLength = {0, 0, 12, 0};
  OrderPayHandoffHeader oddPayload = {0, 0, 16, 3};
  OrderPayHandoffHeader missingPayload = {0, 0, 16, 4};
  for (const OrderPayHandoffHeader& bad : {wrongLength, oddPayload, missingPayload}) {
    EXPECT_FALSE(WriteHandoff(bad, bad.payloadLength == 4 ? nullptr : reinterpret_cast<const BYTE*>(u"ab")));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
  EXPECT_EQ(WaitForSingleObject(channel.Event(), 0), WAIT_TIMEOUT);
}

TEST_F(Handoff, TheServiceRefusesObjectsItDidNotMake)
{
  // A signalled event someone left under the client's name would read as an outcome.
  HANDLE stale = CreateEventW(nullptr, TRUE, TRUE, HandoffObjectName(0x4242));
  HandoffChannel channel;
  EXPECT_FALSE(channel.Create(0x4242));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  CloseHandle(stale);

  HANDLE block = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, HandoffObjectName(0x4243));
  EXPECT_FALSE(channel.Create(0x4243));
  CloseHandle(block);
  EXPECT_TRUE(channel.Create(0x4243));
}

}  // namespace
