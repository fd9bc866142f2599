// Texts read by the reader and written back by the compact writer.
#include <gtest/gtest.h>

#include <string>

#include "json/reader.h"
#include "json/writer.h"

namespace {

struct RoundTrip {
  std::u16string text;
  std::u16string written;  // empty: the text itself
};

TEST(JsonRoundTrip, ReaderThenCompactWriter)
{
  const RoundTrip cases[] = {
      {u"{\"a\":[1,-2,3.50,\"x\\ny\",true,false,null],\"b\":{}}\n", u""},
      {u"[\"\\u0001\\t\\\"\\\\/\",\"中文\\ud83d\\ude00\"]\n", u"[\"\\u0001\\t\\\"\\\\/\",\"中文\U0001F600\"]\n"},
      {u" { \"z\" : 1 , \"a\" : [ ] , \"m\" : { \"k\" : \"v\" } } ", u"{\"a\":[],\"m\":{\"k\":\"v\"},\"z\":1}\n"},
      {u"[2147483647,2147483648,4294967295,-2147483648]", u"[2147483647,2147483648,4294967295.0,-2147483648.0]\n"},
      {u"[1e3,0.1,1E-7,\"\\/\"]", u"[1000.0,0.10,1.000000000000000e-07,\"/\"]\n"},
      {u"// comment\n{\"resultStatus\":100,\"memo\":\"成功\"} /* tail */", u"{\"memo\":\"成功\",\"resultStatus\":100}\n"},
  };
  for (const RoundTrip& c : cases) {
    Json::Reader reader;
    Json::Value root;
    ASSERT_TRUE(reader.parse(c.text, root, false)) << c.text.size();
    Json::FastWriter writer;
    std::u16string written = writer.write(root);
    EXPECT_EQ(written, c.written.empty() ? c.text : c.written);

    Json::Value again;
    ASSERT_TRUE(reader.parse(written, again, false));
    EXPECT_EQ(writer.write(again), written) << "the compact form is a fixed point";
  }
}

}  // namespace
