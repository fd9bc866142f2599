// The browser's document model: a tree of elements and texts that scripts read and change and
// that the page is laid out from. Every node has an id of its own, never reused within its
// document, by which scripts and the page view name it without holding it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kv::html::dom {

enum class NodeKind { Document, Element, Text };

// The live state of a form control: what the user typed or chose. The value, checked and
// selected attributes only give its start.
struct ControlState {
  ControlState() = default;
  ControlState(const ControlState&) = delete;
  ControlState& operator=(const ControlState&) = delete;
  ~ControlState();  // the value is wiped: it may be a password

  std::string value;       // text fields and text areas (UTF-8)
  bool checked = false;    // check boxes and radio buttons
  int selectedIndex = -1;  // lists: the chosen option, -1 for none
};

struct Node {
  Node(NodeKind kind, uint32_t id) : kind(kind), id(id) {}
  Node(const Node&) = delete;
  Node& operator=(const Node&) = delete;
  ~Node();

  bool IsElement() const { return kind == NodeKind::Element; }
  bool Is(std::string_view tag) const { return kind == NodeKind::Element && name == tag; }
  // The value of an attribute (names are lower case); null when the element has none.
  const std::string* Attribute(std::string_view attribute) const;
  bool HasAttribute(std::string_view attribute) const { return Attribute(attribute) != nullptr; }
  // The attribute's value, or `otherwise`.
  std::string AttributeOr(std::string_view attribute, std::string_view otherwise = {}) const;

  const NodeKind kind;
  const uint32_t id;
  std::string name;  // an element's tag name, lower case
  std::vector<std::pair<std::string, std::string>> attributes;
  std::string text;  // a text's characters (UTF-8)
  Node* parent = nullptr;
  std::vector<std::unique_ptr<Node>> children;
  std::unique_ptr<ControlState> control;  // a form control's state, once it has been asked for
};

// Calls `visit` for the node and every node below it, in document order; `visit` returns false
// to skip the node's children.
template <class Visit>
void Walk(Node& node, Visit&& visit)
{
  if (!visit(node))
    return;
  for (size_t i = 0; i < node.children.size(); ++i)
    Walk(*node.children[i], visit);
}
template <class Visit>
void Walk(const Node& node, Visit&& visit)
{
  if (!visit(node))
    return;
  for (const auto& child : node.children)
    Walk(static_cast<const Node&>(*child), visit);
}

// Overwrites the text's bytes with zeros and empties it: for what may hold a password.
void WipeText(std::string& text);

// Whether `node` lies inside `ancestor` (or is it).
bool IsInside(const Node* node, const Node& ancestor);

}  // namespace kv::html::dom
