#include "node.h"

#include <algorithm>

namespace kv::html::dom {
void WipeText(std::string& text)
{
  volatile char* bytes = text.data();
  for (size_t i = 0; i < text.size(); ++i)
    bytes[i] = 0;
  text.clear();
}

ControlState::~ControlState()
{
  WipeText(value);
}

Node::~Node()
{
  // Released one level at a time, so that a deep tree is never released by deep recursion.
  std::vector<std::unique_ptr<Node>> pending = std::move(children);
  while (!pending.empty()) {
    std::unique_ptr<Node> last = std::move(pending.back());
    pending.pop_back();
    for (auto& child : last->children)
      pending.push_back(std::move(child));
    last->children.clear();
  }
}

const std::string* Node::Attribute(std::string_view attribute) const
{
  auto found = std::find_if(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == attribute; });
  return found == attributes.end() ? nullptr : &found->second;
}

std::string Node::AttributeOr(std::string_view attribute, std::string_view otherwise) const
{
  const std::string* value = Attribute(attribute);
  return value ? *value : std::string(otherwise);
}

bool IsInside(const Node* node, const Node& ancestor)
{
  for (; node; node = node->parent)
    if (node == &ancestor)
      return true;
  return false;
}

}  // namespace kv::html::dom
