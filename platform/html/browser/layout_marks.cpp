#include "layout_marks.h"

#include <charconv>

#include "html/dom/forms.h"

namespace kv::html {
namespace {

dom::LayoutRole RoleOf(const dom::Node& node)
{
  const std::string type = dom::ControlType(node);
  if (type == "hidden")
    return dom::LayoutRole::Left;
  if (!type.empty())
    return dom::LayoutRole::Fill;
  if ((node.Is("a") && (node.HasAttribute("href") || node.HasAttribute("name"))) || node.HasAttribute("onclick") ||
      node.HasAttribute("id"))
    return dom::LayoutRole::Marked;
  return dom::LayoutRole::Plain;
}

}  // namespace

const dom::LayoutMarks& BrowserLayoutMarks()
{
  static const dom::LayoutMarks marks{"data-kv-node", RoleOf};
  return marks;
}

uint32_t MarkedNode(std::string_view mark)
{
  uint32_t id = 0;
  std::from_chars(mark.data(), mark.data() + mark.size(), id);
  return id;
}

}  // namespace kv::html
