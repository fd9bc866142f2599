// Markup written from the document: an element's content as scripts read it (innerHTML), and
// the page the view lays out, in which the caller marks the elements it wants to find again.
#pragma once

#include <functional>
#include <string>

#include "document.h"

namespace kv::html::dom {

// The markup of the element's content.
std::string InnerHtml(const Node& element);

// How the layout's markup treats an element.
enum class LayoutRole {
  Plain,     // as it is
  Marked,    // with the mark attribute holding the node's id
  Fill,      // marked, and written without its content: the caller shows it itself
  Left,      // left out with its content
};

struct LayoutMarks {
  std::string attribute;
  std::function<LayoutRole(const Node&)> role;
};

// The whole page for the layout; scripts are left out, and so are attributes the page itself
// gives the mark's name.
std::string LayoutMarkup(const Document& document, const LayoutMarks& marks);

}  // namespace kv::html::dom
