// Line breaks that begin a line (a <br> after another, or first in its block) make an empty line
// of their own, as readers of HTML expect; the layout library gives them no height. Each such
// break gets an invisible character to hold its line open.
#pragma once

#include <litehtml/litehtml.h>

namespace kv::html {

// For a parsed document whose styles are known, before it is laid out.
void OpenEmptyLines(const litehtml::document::ptr& document);

}  // namespace kv::html
