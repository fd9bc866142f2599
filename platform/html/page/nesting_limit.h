// The layout's time grows steeply with how deep elements nest, and very steeply with tables
// inside tables; the HTML parser's own time and stack grow with nesting too. Markup is cut down
// to what they can take, in one pass over the text before it is parsed: start tags that would
// nest elements deeper than the limits are left out (with their end tags), their content kept.
#pragma once

#include <string>
#include <string_view>

namespace kv::html {

// Elements within elements (html and body included), and tables within tables, that the parser
// is given at most. The nesting is estimated the way the parser builds its tree, erring on the
// deep side where the markup is broken.
inline constexpr int kMaxElementDepth = 100;
inline constexpr int kMaxTableNesting = 4;

// The markup with the start and end tags beyond the limits left out (a row of a table left
// out becomes a line break, a cell a space); the markup itself when it keeps within them.
std::string WithNestingLimited(std::string_view html);

}  // namespace kv::html
