// The nesting limit: markup within it passes unchanged, however broken; markup beyond it keeps
// its text and loses the tags that nest too deep.
#include <gtest/gtest.h>

#include "html/page/nesting_limit.h"

namespace {

using kv::html::kMaxElementDepth;
using kv::html::kMaxTableNesting;
using kv::html::WithNestingLimited;

std::string Repeat(std::string_view part, int times)
{
  std::string out;
  for (int i = 0; i < times; ++i)
    out += part;
  return out;
}

int Count(const std::string& text, std::string_view part)
{
  int count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

TEST(NestingLimit, LeavesBrokenButShallowMarkupAlone)
{
  // Each of these is long and sloppy, but the parser closes its elements as it goes.
  const std::string cases[] = {
      "<p>short</p>",
      "<ul>" + Repeat("<li>item", 500) + "</ul>",
      "<table>" + Repeat("<tr><td>cell<td><b>bold</td>", 300) + "</table>",
      Repeat("<table><tr><td>x</table>", 300),
      Repeat("<p>para", 300),
      Repeat("<p><font color=red>red</p>", 300),
      Repeat("<dl><dt>a<dd>b</dl>", 200),
      Repeat("<select>" + Repeat("<option>o", 20) + "</select>", 20),
      "<script>" + Repeat("<div>", 500) + "</script>",
      "<style>" + Repeat("<b>", 500) + "</StYlE >",
      "<!--" + Repeat("<div>", 500) + "-->",
      "<textarea>" + Repeat("<i>", 500) + "</textarea>",
      Repeat("<span title='<div>' data-x=\"<p>\">s</span>", 300),
  };
  for (const std::string& html : cases)
    EXPECT_EQ(html, WithNestingLimited(html)) << html.substr(0, 60);
}

TEST(NestingLimit, LeavesOutTheTagsThatNestTooDeep)
{
  struct Case {
    const char* name;
    std::string html;
    std::string_view tag;  // counted in the result
    int atMost;
  };
  const Case cases[] = {
      {"elements", Repeat("<div>", 500) + "text" + Repeat("</div>", 500), "<div>", kMaxElementDepth - 2},
      {"their end tags too", Repeat("<div>", 500) + "text" + Repeat("</div>", 500), "</div>", kMaxElementDepth - 2},
      {"formatting", Repeat("<b>", 500) + "text", "<b>", kMaxElementDepth - 2},
      {"lists", Repeat("<ul><li>", 500) + "text", "<ul>", kMaxElementDepth / 2},
      {"tables", Repeat("<table><tr><td>", 50) + "text", "<table>", kMaxTableNesting},
      {"rows of tables left out", Repeat("<table><tr><td>", 50) + "text", "<tr>", kMaxTableNesting},
      // The parser opens closed formatting elements again before later content, and cannot
      // close an ordinary element past a special one: both nest deeper than the tags show.
      {"formatting opened again", Repeat("<div><b id=x>", 300) + "text", "<b", kMaxElementDepth},
      {"ordinary end tags", Repeat("<span><div></span>", 300) + "text", "<div>", kMaxElementDepth},
      // What hides markup from the scan hides it from the parser too, and no more.
      {"empty comments", "<!-->" + Repeat("<div>", 500) + "text", "<div>", kMaxElementDepth},
      {"svg", "<svg><style>" + Repeat("<div>", 500) + "text", "<div>", kMaxElementDepth},
  };
  for (const Case& c : cases) {
    const std::string limited = WithNestingLimited(c.html);
    EXPECT_LE(Count(limited, c.tag), c.atMost) << c.name;
    EXPECT_GT(Count(limited, c.tag), 0) << c.name;
    EXPECT_NE(limited.find("text"), std::string::npos) << c.name;
  }
  // Rows and cells of a table left out keep their text apart.
  const std::string rows = WithNestingLimited(Repeat("<table><tr><td>", kMaxTableNesting) +
                                              "<table><tr><td>a<td>b<tr><td>c</table>");
  EXPECT_NE(rows.find("<br> a b<br> c"), std::string::npos) << rows;
}

}  // namespace
