// A gateway reply parsed whole: success only for the number 100, and the failure's kind in the
// thread's last error.
#include <gtest/gtest.h>

#include <iterator>

#include "base/lasterror.h"
#include "service_errors.h"
#include "service_reply.h"

namespace {

TEST(ParseServiceReply, SucceedsOnlyForStatus100AndTellsWhyOtherwise)
{
  struct Case {
    const char16_t* text;
    BOOL parsed;
    HRESULT error;
  };
  const Case cases[] = {
      {u"{\"resultStatus\":100,\"tradeTableList\":[{\"tradeNo\":\"T1\"}]}", TRUE, 0},
      {nullptr, FALSE, E_SERVICE_EMPTY_REPLY},
      {u"", FALSE, E_SERVICE_EMPTY_REPLY},
      {u"{oops", FALSE, E_SERVICE_BAD_REPLY},
      {u"[100]", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"memo\":\"无状态\"}", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":\"100\"}", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":true}", FALSE, E_SERVICE_BAD_REPLY},
      {u"{\"resultStatus\":500,\"memo\":\"系统繁忙\"}", FALSE, E_SERVICE_BUSINESS},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(i);
    Json::Value value;
    SetLastError(0);
    EXPECT_EQ(c.parsed, ParseServiceReply(c.text, value));
    if (!c.parsed) {
      EXPECT_EQ(static_cast<DWORD>(c.error), GetLastError());
    }
  }
  Json::Value value;
  ASSERT_TRUE(ParseServiceReply(u"{\"resultStatus\":100,\"tradeTableList\":[{\"tradeNo\":\"T1\"}]}", value));
  EXPECT_EQ(1u, value[u"tradeTableList"].size());
}

}  // namespace
