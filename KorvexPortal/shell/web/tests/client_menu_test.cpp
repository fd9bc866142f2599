// The grammar of the web centre's soft-key menus.
#include <gtest/gtest.h>

#include "client_menu.h"
#include "testing/ui_harness.h"

namespace {

// "name|action|type" per entry, joined by " ".
std::string Describe(const std::vector<ClientMenuEntry>& entries)
{
  std::string out;
  for (const ClientMenuEntry& entry : entries) {
    if (!out.empty())
      out += " ";
    out += kvtest::Narrow(std::u16string(entry.name.GetString())) + "|" +
           kvtest::Narrow(std::u16string(entry.action.GetString())) + "|" + std::to_string(entry.type);
  }
  return out;
}

TEST(ClientMenu, SplitsTheKeysAndReadsEachEntrysType)
{
  struct Case {
    const char16_t* text;
    std::string left;
    std::string right;
  } cases[] = {
      {u"缴费:pay:json1;返回:gotodesktop", "缴费|pay|-1", "返回|gotodesktop|0"},
      {u"刷新:reload:HTML,,查询:query,帮助", "刷新|reload|1 查询|query|0 帮助||1", ""},
      {u";;a:x:Json1,b:y:other", "a|x|-1 b|y|0", ""},
      {u";", "", ""},
      {u"", "", ""},
      {u"a:x:html:extra;,b", "a|x|0", "b||1"},
      {u"获取数据格式错误", "获取数据格式错误||1", ""},
  };
  for (const Case& c : cases) {
    std::vector<ClientMenuEntry> left, right;
    ParseClientMenu(c.text, left, right);
    EXPECT_EQ(c.left, Describe(left)) << kvtest::Narrow(c.text);
    EXPECT_EQ(c.right, Describe(right)) << kvtest::Narrow(c.text);
  }
}

}  // namespace
