#include "document.h"

#include <gumbo.h>

#include <algorithm>

#include "html/page/nesting_limit.h"
#include "html/page/utf8_text.h"

namespace kv::html::dom {
namespace {

std::string TagName(const GumboElement& element)
{
  if (element.tag != GUMBO_TAG_UNKNOWN)
    return gumbo_normalized_tagname(element.tag);
  GumboStringPiece piece = element.original_tag;
  gumbo_tag_from_original_text(&piece);
  return LowerAscii(std::string_view(piece.data, piece.length));
}

int DepthOf(const Node& node)
{
  int depth = 0;
  for (const Node* n = &node; n; n = n->parent)
    depth += n->IsElement();
  return depth;
}

}  // namespace

Document::Document(std::string_view html) : root_(NewNode(NodeKind::Document))
{
  Parse(*root_, html, false);
}

Document::~Document() = default;

std::unique_ptr<Node> Document::NewNode(NodeKind kind)
{
  auto node = std::make_unique<Node>(kind, nextId_++);
  nodes_[node->id] = node.get();
  return node;
}

void Document::Adopt(Node& parent, std::unique_ptr<Node> child)
{
  child->parent = &parent;
  parent.children.push_back(std::move(child));
}

void Document::Parse(Node& parent, std::string_view html, bool fragment)
{
  const std::string limited = WithNestingLimited(html);
  GumboOptions options = kGumboDefaultOptions;
  options.max_errors = 0;
  if (fragment) {
    const GumboTag context = parent.IsElement() ? gumbo_tag_enum(parent.name.c_str()) : GUMBO_TAG_BODY;
    options.fragment_context = context == GUMBO_TAG_UNKNOWN ? GUMBO_TAG_DIV : context;
  }
  GumboOutput* output = gumbo_parse_with_options(&options, limited.data(), limited.size());
  if (!output)
    return;

  // Gumbo's tree is as deep as the limited markup; ours stops at kMaxDepth.
  auto convert = [this](auto& self, const GumboNode* from, Node& into, int depth) -> void {
    switch (from->type) {
    case GUMBO_NODE_ELEMENT:
    case GUMBO_NODE_TEMPLATE: {
      const GumboElement& element = from->v.element;
      Node* target = &into;
      if (depth <= kMaxDepth) {
        std::unique_ptr<Node> node = NewNode(NodeKind::Element);
        node->name = TagName(element);
        for (unsigned i = 0; i < element.attributes.length; ++i) {
          const auto* attribute = static_cast<const GumboAttribute*>(element.attributes.data[i]);
          if (!node->HasAttribute(attribute->name))
            node->attributes.emplace_back(attribute->name, attribute->value);
        }
        target = node.get();
        Adopt(into, std::move(node));
      }
      for (unsigned i = 0; i < element.children.length; ++i)
        self(self, static_cast<const GumboNode*>(element.children.data[i]), *target, std::min(depth, kMaxDepth) + 1);
      break;
    }
    case GUMBO_NODE_TEXT:
    case GUMBO_NODE_WHITESPACE:
    case GUMBO_NODE_CDATA: {
      if (!into.children.empty() && into.children.back()->kind == NodeKind::Text) {
        into.children.back()->text += from->v.text.text;
        break;
      }
      std::unique_ptr<Node> text = NewNode(NodeKind::Text);
      text->text = from->v.text.text;
      Adopt(into, std::move(text));
      break;
    }
    default:  // comments and the document itself
      break;
    }
  };

  if (fragment) {
    const GumboElement& html = output->root->v.element;
    for (unsigned i = 0; i < html.children.length; ++i)
      convert(convert, static_cast<const GumboNode*>(html.children.data[i]), parent, DepthOf(parent) + 1);
  } else {
    const GumboDocument& document = output->document->v.document;
    for (unsigned i = 0; i < document.children.length; ++i)
      convert(convert, static_cast<const GumboNode*>(document.children.data[i]), parent, 1);
  }
  gumbo_destroy_output(&options, output);
}

Node* Document::Find(uint32_t id) const
{
  auto found = nodes_.find(id);
  return found == nodes_.end() ? nullptr : found->second;
}

Node* Document::FindElement(const std::function<bool(const Node&)>& match) const
{
  Node* found = nullptr;
  Walk(*root_, [&](Node& node) {
    if (!found && node.IsElement() && match(node))
      found = &node;
    return !found;
  });
  return found;
}

std::vector<Node*> Document::Elements(const Node& under, const std::function<bool(const Node&)>& match) const
{
  std::vector<Node*> found;
  for (const auto& child : under.children)
    Walk(*child, [&](Node& node) {
      if (node.IsElement() && match(node))
        found.push_back(&node);
      return true;
    });
  return found;
}

Node* Document::ElementById(std::string_view id) const
{
  if (id.empty())
    return nullptr;
  return FindElement([&](const Node& node) {
    const std::string* own = node.Attribute("id");
    return own && *own == id;
  });
}

Node* Document::Body() const
{
  return FindElement([](const Node& node) { return node.name == "body"; });
}

std::string Document::Title() const
{
  const Node* title = FindElement([](const Node& node) { return node.name == "title"; });
  return title ? CollapseBlanks(TextOf(*title)) : std::string();
}

void Document::SetTitle(std::string_view title)
{
  Node* element = FindElement([](const Node& node) { return node.name == "title"; });
  if (!element) {
    Node* head = FindElement([](const Node& node) { return node.name == "head"; });
    Node* into = head ? head : (root_->children.empty() ? root_.get() : root_->children.front().get());
    std::unique_ptr<Node> made = NewNode(NodeKind::Element);
    made->name = "title";
    element = made.get();
    Adopt(*into, std::move(made));
  }
  SetText(*element, title);
}

void Document::SetAttribute(Node& element, std::string_view name, std::string_view value)
{
  const std::string lower = LowerAscii(name);
  for (auto& attribute : element.attributes)
    if (attribute.first == lower) {
      attribute.second = value;
      ++version_;
      return;
    }
  element.attributes.emplace_back(lower, value);
  ++version_;
}

void Document::RemoveAttribute(Node& element, std::string_view name)
{
  const std::string lower = LowerAscii(name);
  auto& attributes = element.attributes;
  auto end = std::remove_if(attributes.begin(), attributes.end(), [&](const auto& a) { return a.first == lower; });
  if (end != attributes.end()) {
    attributes.erase(end, attributes.end());
    ++version_;
  }
}

void Document::RemoveChildren(Node& element)
{
  for (auto& child : element.children)
    Walk(*child, [this](Node& node) {
      nodes_.erase(node.id);
      return true;
    });
  element.children.clear();
}

void Document::SetInnerHtml(Node& element, std::string_view html)
{
  RemoveChildren(element);
  Parse(element, html, true);
  ++version_;
}

void Document::SetText(Node& element, std::string_view text)
{
  RemoveChildren(element);
  if (!text.empty()) {
    std::unique_ptr<Node> node = NewNode(NodeKind::Text);
    node->text = text;
    Adopt(element, std::move(node));
  }
  ++version_;
}

ControlState& Document::Control(Node& element)
{
  if (element.control)
    return *element.control;
  element.control = std::make_unique<ControlState>();
  ControlState& state = *element.control;
  if (element.name == "textarea") {
    state.value = TextOf(element);
  } else if (element.name == "select") {
    std::vector<Node*> options = Elements(element, [](const Node& n) { return n.name == "option"; });
    state.selectedIndex = options.empty() ? -1 : 0;
    for (size_t i = 0; i < options.size(); ++i)
      if (options[i]->HasAttribute("selected")) {
        state.selectedIndex = static_cast<int>(i);
        break;
      }
  } else {
    state.value = element.AttributeOr("value");
    state.checked = element.HasAttribute("checked");
  }
  return state;
}

std::string TextOf(const Node& node)
{
  std::string text;
  Walk(node, [&](const Node& n) {
    if (n.kind == NodeKind::Text)
      text += n.text;
    else if (n.Is("br"))
      text += '\n';
    return !(n.Is("script") || n.Is("style")) || &n == &node;
  });
  return text;
}

}  // namespace kv::html::dom
