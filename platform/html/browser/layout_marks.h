// How the page view lays out a document: which elements it marks to find again (links, those
// with handlers or names a fragment can point at) and which it fills with field windows (form
// controls), by node id.
#pragma once

#include <cstdint>
#include <string_view>

#include "html/dom/markup.h"

namespace kv::html {

const dom::LayoutMarks& BrowserLayoutMarks();
// The node id a mark names (0 for none).
uint32_t MarkedNode(std::string_view mark);

}  // namespace kv::html
