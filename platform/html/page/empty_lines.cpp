#include "empty_lines.h"

#include <litehtml/el_text.h>

#include <string_view>

namespace kv::html {
namespace {

bool IsBreak(const litehtml::element::ptr& element)
{
  const char* tag = element->get_tagName();
  return tag && std::string_view(tag) == "br";
}

// Walks a block's content in order; `lineHasContent` tells whether the current line holds
// anything yet.
void Walk(const litehtml::document::ptr& document, const litehtml::element::ptr& block, bool& lineHasContent)
{
  const size_t count = block->get_children_count();
  for (size_t i = 0; i < count; ++i) {
    const litehtml::element::ptr child = block->get_child(static_cast<int>(i));
    if (child->is_comment() || child->get_display() == litehtml::display_none)
      continue;
    if (IsBreak(child)) {
      if (!lineHasContent) {
        // A no-break space: a character of no size to see, kept where white space collapses.
        auto holder = std::make_shared<litehtml::el_text>("\xC2\xA0", document);
        child->appendChild(holder);
        holder->parse_styles(false);
      }
      lineHasContent = false;
      continue;
    }
    const litehtml::style_display display = child->get_display();
    const bool inlineLevel = display == litehtml::display_inline || display == litehtml::display_inline_text ||
                             display == litehtml::display_inline_block || display == litehtml::display_inline_table;
    if (child->get_children_count() == 0) {
      // Words and images fill the line; an empty block (a rule) ends it.
      lineHasContent = inlineLevel ? lineHasContent || !child->is_white_space() : false;
      continue;
    }
    if (display == litehtml::display_inline) {
      Walk(document, child, lineHasContent);
      continue;
    }
    // A box of its own: its lines are its own; after it a block starts a new line, while an
    // inline block stands on the current line.
    bool inner = false;
    Walk(document, child, inner);
    lineHasContent = display == litehtml::display_inline_block || display == litehtml::display_inline_table;
  }
}

}  // namespace

void OpenEmptyLines(const litehtml::document::ptr& document)
{
  if (litehtml::element::ptr root = document->root()) {
    bool lineHasContent = false;
    Walk(document, root, lineHasContent);
  }
}

}  // namespace kv::html
