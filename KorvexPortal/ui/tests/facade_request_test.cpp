// The texts the screens show for a refusal: the memo of a field error after its field name, and
// the network text for a failure without a memo.
#include <gtest/gtest.h>

#include <string>

#include "facade_request.h"
#include "net_transport.h"
#include "testing/ui_harness.h"

namespace {

std::string Narrowed(const CStringW& text)
{
  return kvtest::Narrow(std::u16string(text.GetString(), text.GetLength()));
}

TEST(FacadeTexts, FieldErrorTextKeepsTheMessageAfterTheFieldName)
{
  struct Case {
    const char16_t* memo;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"logonId,账户名不存在", u"账户名不存在"},
      {u"name,a,b", u"a,b"},
      {u"没有字段名", u"没有字段名"},
      {u",leading comma", u",leading comma"},
      {u"trailing,", u""},
      {u"", u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrowed(c.memo));
    EXPECT_EQ(Narrowed(FieldErrorText(c.memo)), Narrowed(c.expected));
  }
}

TEST(FacadeTexts, FailureTextFallsBackToTheNetworkText)
{
  EXPECT_EQ(Narrowed(FailureText(u"余额不足")), Narrowed(u"余额不足"));
  EXPECT_EQ(Narrowed(FailureText(CStringW())), Narrowed(kServerConnectionErrorText));
}

}  // namespace
