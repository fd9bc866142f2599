// A reply parser that runs out of memory part-way: this program's allocator fails the one
// allocation of a chosen size, and the test reads what the listener would be told.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "list_results.h"
#include "reply_command.h"
#include "reply_operations.h"
#include "service_response.h"

namespace {

// The size of the next allocation to fail; 0 for none. It is cleared when that allocation fails.
std::atomic<size_t> g_failingSize{0};

void* Allocate(size_t size)
{
  size_t armed = size;
  if (size != 0 && g_failingSize.compare_exchange_strong(armed, 0))
    throw std::bad_alloc();
  if (void* block = std::malloc(size != 0 ? size : 1))
    return block;
  throw std::bad_alloc();
}

}  // namespace

// Every allocation of this program, and its release, goes through here.
void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept
{
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { std::free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { std::free(block); }

namespace {

TEST(ReplyOutOfMemory, AnOrderThatCannotBeHeldEndsWithTheOrdersOwnMemo)
{
  CheckedReply reply;
  ASSERT_TRUE(CheckServiceResponse(u"{\"resultStatus\":100,\"orderValidate\":1,\"outTradeNo\":\"A1\","
                                   u"\"totalFee\":\"2.00\",\"rsaPK\":\"K\",\"rsaTS\":\"T\"}",
                                   reply.json));
  ReplyOutcome out;
  g_failingSize = sizeof(OrderDetail);
  kPreOrderPayReply.parse(kPreOrderPayReply, reply, out);
  ASSERT_EQ(0u, g_failingSize.load()) << "the order was never allocated";
  EXPECT_EQ(55, out.Code());
  EXPECT_EQ(E_OUTOFMEMORY, out.Hr());
  EXPECT_EQ(0, out.TakeValue().Get()) << "no half-built record";
  ASSERT_NE(nullptr, out.Memo());
  EXPECT_EQ(std::u16string(u"内存不足！"), out.Memo());
}

}  // namespace
