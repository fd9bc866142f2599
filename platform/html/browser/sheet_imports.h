// The sheets a style sheet imports: the targets of its @import rules (url(...) or a string), as
// written and in order. Comments and strings are skipped, and rules inside blocks are not
// @import rules.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kv::html {

std::vector<std::string> SheetImports(std::string_view css);

}  // namespace kv::html
