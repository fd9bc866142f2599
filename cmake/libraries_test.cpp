// The outside libraries link and work: each does one small real thing.
#include <duktape.h>
#include <gumbo.h>
#include <litehtml.h>
#include <tinyxml.h>

#include <gtest/gtest.h>

#include <string>

TEST(Libraries, GumboParsesAPage)
{
  GumboOutput* output = gumbo_parse("<title>t</title><p id=x>text");
  ASSERT_NE(output, nullptr);
  ASSERT_EQ(output->root->type, GUMBO_NODE_ELEMENT);
  EXPECT_EQ(output->root->v.element.tag, GUMBO_TAG_HTML);
  gumbo_destroy_output(&kGumboDefaultOptions, output);
}

TEST(Libraries, DuktapeRunsAScript)
{
  duk_context* context = duk_create_heap_default();
  ASSERT_NE(context, nullptr);
  duk_eval_string(context, "[1, 2, 3].map(function (n) { return n * 2; }).join('-')");
  EXPECT_STREQ(duk_get_string(context, -1), "2-4-6");
  duk_destroy_heap(context);
}

TEST(Libraries, TinyXmlReadsAnAttribute)
{
  TiXmlDocument document;
  document.Parse("<contacts><contact name=\"a\" mobile=\"13800138000\"/></contacts>");
  ASSERT_FALSE(document.Error());
  TiXmlElement* contact = document.RootElement()->FirstChildElement("contact");
  ASSERT_NE(contact, nullptr);
  EXPECT_STREQ(contact->Attribute("mobile"), "13800138000");
}

TEST(Libraries, LitehtmlSplitsValueLists)
{
  EXPECT_EQ(litehtml::value_index("block", "inline;block;none"), 1);
  EXPECT_EQ(litehtml::value_index("grid", "inline;block;none"), -1);
}
