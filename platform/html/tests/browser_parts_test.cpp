// The browser's parts on their own: addresses resolved as pages write them, the character set
// of a page, the sheets a style sheet imports, the document's depth limits, and the limits page
// scripts run under.
#include <gtest/gtest.h>

#include <chrono>

#include "html/browser/layout_marks.h"
#include "html/browser/page_charset.h"
#include "html/browser/sheet_imports.h"
#include "html/browser/url_text.h"
#include "html/dom/document.h"
#include "html/dom/markup.h"
#include "html/page/utf8_text.h"
#include "html/script/page_script.h"

namespace {

using namespace kv::html;

TEST(BrowserUrls, ReferencesResolveAgainstThePageAddress)
{
  const std::u16string base = u"https://pay.example.cn:8443/puc/web/page.htm?x=1#top";
  struct Case {
    std::u16string reference;
    std::u16string resolved;
  };
  const Case cases[] = {
      {u"next.htm", u"https://pay.example.cn:8443/puc/web/next.htm"},
      {u"../trade_pay.do?korvex_trade_no=1&return_url=a%2Fb", u"https://pay.example.cn:8443/puc/trade_pay.do?korvex_trade_no=1&return_url=a%2Fb"},
      {u"/home/mobile.htm", u"https://pay.example.cn:8443/home/mobile.htm"},
      {u"?y=2", u"https://pay.example.cn:8443/puc/web/page.htm?y=2"},
      {u"#end", u"https://pay.example.cn:8443/puc/web/page.htm?x=1#end"},
      {u"", u"https://pay.example.cn:8443/puc/web/page.htm?x=1"},
      {u"//other.cn/a", u"https://other.cn/a"},
      {u"  HTTP://Other.cn/./a/../b\n", u"http://Other.cn/b"},
      {u"./", u"https://pay.example.cn:8443/puc/web/"},
      {u"../../../../x", u"https://pay.example.cn:8443/x"},
      {u"javascript:go('a/../b')", u"javascript:go('a/../b')"},
      {u"查询.htm?商户=张三", u"https://pay.example.cn:8443/puc/web/查询.htm?商户=张三"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ResolveUrl(base, c.reference), c.resolved) << Narrow(c.reference);
  EXPECT_EQ(ResolveUrl(u"about:blank", u"a.htm"), std::nullopt);

  const std::optional<WebAddress> address = WebAddressOf(u"https://user@Pay.example.cn:8443/a/b?q=1#f");
  ASSERT_TRUE(address);
  EXPECT_TRUE(address->secure);
  EXPECT_EQ(address->host, u"pay.example.cn");
  EXPECT_EQ(address->port, 8443);
  EXPECT_EQ(address->object, u"/a/b?q=1");
  EXPECT_EQ(WebAddressOf(u"http://h")->object, u"/");
  EXPECT_EQ(WebAddressOf(u"http://h")->port, 80);
  for (const char16_t* bad : {u"http://h:99999/", u"http://h:8a/", u"ftp://h/", u"http:///x", u"page.htm"})
    EXPECT_EQ(WebAddressOf(bad), std::nullopt) << Narrow(bad);
}

TEST(BrowserCharset, TheReplyThenTheMetaThenTheBytesDecide)
{
  const std::string title = "中文";        // UTF-8
  const std::string gbk = "\xD6\xD0\xCE\xC4";  // the same in GBK
  struct Case {
    std::string bytes;
    std::string contentType;
    std::string charset;
  };
  const Case cases[] = {
      {title, "text/html; charset=UTF-8", "utf-8"},
      {gbk, "text/html;charset=\"gb2312\"", "gbk"},
      {"<meta charset=GBK>" + gbk, "text/html", "gbk"},
      {"<META content='text/html; charset=GB18030' http-equiv=Content-Type>" + gbk, "", "gbk"},
      {"<meta charset=gbk>" + title, "text/html; charset=utf-8", "utf-8"},  // the reply first
      {gbk, "text/html", "gbk"},                                            // no UTF-8
      {title, "", "utf-8"},
      {"\xEF\xBB\xBF" + title, "text/html; charset=gbk", "utf-8"},         // a byte-order mark wins
      {gbk, "text/html; charset=koi8-r", "gbk"},                            // unknown: the bytes decide
  };
  for (const Case& c : cases) {
    const PageText text = DecodePage(c.bytes, c.contentType);
    EXPECT_EQ(text.charset, c.charset) << c.contentType;
    EXPECT_NE(text.utf8.find(title), std::string::npos) << c.contentType;
  }
}

TEST(BrowserSheets, ImportsAreTheTopLevelRulesOutsideCommentsAndStrings)
{
  struct Case {
    const char* css;
    std::vector<std::string> imports;
  };
  const Case cases[] = {
      {R"(@import url("a.css"); @import url(b.css) screen; @import 'c.css'; @IMPORT "d.css";)", {"a.css", "b.css", "c.css", "d.css"}},
      {"@import url( 'sp ace.css' ) ; @import url(  e.css  );", {"sp ace.css", "e.css"}},
      {R"(@import "q\"uote.css";)", {"q\"uote.css"}},
      {"/* @import 'no.css'; */ p { content: '@import \"no.css\"'; } @media print { @import 'no.css'; }", {}},
      {"@importer 'no.css'; @import; @import 42;", {}},
      {"@import/**/'after-comment.css';", {"after-comment.css"}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(SheetImports(c.css), c.imports) << c.css;
}

TEST(BrowserDocument, NestingIsCutAtTheLimitAndTheContentKept)
{
  std::string deep;
  for (int i = 0; i < 5000; ++i)
    deep += "<div>";
  deep += "底";
  dom::Document document(deep);
  int depth = 0;
  const dom::Node* node = &document.Root();
  while (!node->children.empty()) {
    node = node->children.back().get();
    depth += node->IsElement();
  }
  EXPECT_LE(depth, dom::kMaxDepth);
  EXPECT_EQ(node->text, "底");

  // Markup set into the deepest element does not go deeper either.
  dom::Node* inner = const_cast<dom::Node*>(node->parent);
  document.SetInnerHtml(*inner, deep);
  depth = 0;
  for (const dom::Node* n = inner; n; n = n->parent)
    depth += n->IsElement();
  for (node = inner; !node->children.empty(); node = node->children.back().get())
    depth += node->children.back()->IsElement();
  EXPECT_LE(depth, dom::kMaxDepth);
  EXPECT_EQ(dom::InnerHtml(*inner).find("<div>"), std::string::npos);
}

TEST(BrowserDocument, APageCannotWriteTheLayoutsMarksItself)
{
  dom::Document document(R"(<a href="pay.htm" data-kv-node="1">付款</a><b data-kv-node="2">x</b>)");
  const dom::Node* link = document.FindElement([](const dom::Node& n) { return n.name == "a"; });
  ASSERT_NE(link, nullptr);
  const std::string markup = dom::LayoutMarkup(document, BrowserLayoutMarks());
  EXPECT_NE(markup.find("<a href=\"pay.htm\" data-kv-node=\"" + std::to_string(link->id) + "\">"), std::string::npos)
      << markup;
  EXPECT_EQ(markup.find("<b data-kv-node"), std::string::npos) << markup;
}

class NoHost : public script::ScriptHost {
 public:
  void Navigate(const std::u16string&, bool) override {}
  void GoBack() override {}
  std::u16string Location() override { return u"https://a.cn/"; }
  void Alert(const std::u16string&) override {}
  void Submit(dom::Node&) override {}
  unsigned StartTimer(unsigned) override { return 1; }
  void StopTimer(unsigned) override {}
};

TEST(BrowserScripts, AScriptIsStoppedAtItsTimeAndAtTheHeapsSize)
{
  dom::Document document(R"(<script>
      function grow() { var s = 'x'; for (;;) s = s + s; }
      function hoard() { var a = []; for (;;) a.push({n: a.length}); }
      function spin() { for (;;) {} }
      function regex() { return /(a*)*b/.test('aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa'); }
      function text() { return '\u4e2d\ud83d\ude00' + '\ud83d\ude00'.length; }
    </script>)");
  NoHost host;
  script::PageScript page(document, host, script::ScriptLimits{std::chrono::milliseconds(200), 8u << 20});
  page.RunScripts();
  for (const char16_t* name : {u"grow", u"hoard", u"spin", u"regex"}) {
    const auto start = std::chrono::steady_clock::now();
    const script::CallResult result = page.Call(name);
    EXPECT_EQ(result.outcome, script::CallOutcome::Threw) << Narrow(name);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << Narrow(name);
  }
  // The page goes on working, and text beyond the basic plane keeps its pairs.
  const script::CallResult text = page.Call(u"text");
  EXPECT_EQ(text.outcome, script::CallOutcome::Text);
  EXPECT_EQ(text.text, u"中😀2");
}

TEST(BrowserScripts, ThePagesBlocksShareOneRunsTime)
{
  std::string html = "<title>start</title>";
  for (int i = 0; i < 50; ++i)
    html += "<script>for (;;) {}</script>";
  html += "<script>document.title = 'end';</script>";
  dom::Document document(html);
  NoHost host;
  script::PageScript page(document, host, script::ScriptLimits{std::chrono::milliseconds(200), 8u << 20});
  const auto start = std::chrono::steady_clock::now();
  page.RunScripts();
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  EXPECT_EQ(document.Title(), "start");
}

}  // namespace
