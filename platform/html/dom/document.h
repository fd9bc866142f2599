// A parsed page as the browser keeps it. Comments are dropped; elements nested deeper than the
// layout takes are left out with their content kept, so every walk of the tree stays shallow.
// Every change goes through the document, which counts changes for the view to lay the page
// out again.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "node.h"

namespace kv::html::dom {

// Elements nested deeper than this (html and body counted) are left out, their content kept.
inline constexpr int kMaxDepth = 96;

class Document {
 public:
  // Parses UTF-8 markup as a whole page.
  explicit Document(std::string_view html);
  ~Document();
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  Node& Root() { return *root_; }
  const Node& Root() const { return *root_; }
  // The node of an id; null once it has left the document.
  Node* Find(uint32_t id) const;
  // Counts the changes made through the calls below.
  uint64_t Version() const { return version_; }

  // The first element in document order for which `match` holds; null when none does.
  Node* FindElement(const std::function<bool(const Node&)>& match) const;
  std::vector<Node*> Elements(const Node& under, const std::function<bool(const Node&)>& match) const;
  Node* ElementById(std::string_view id) const;
  Node* Body() const;
  // The text of the first <title>, its blanks collapsed; setting it makes one when there is none.
  std::string Title() const;
  void SetTitle(std::string_view title);

  void SetAttribute(Node& element, std::string_view name, std::string_view value);
  void RemoveAttribute(Node& element, std::string_view name);
  // Replaces the element's content with the nodes of a fragment of markup.
  void SetInnerHtml(Node& element, std::string_view html);
  // Replaces the element's content with one text.
  void SetText(Node& element, std::string_view text);
  // The state of a form control (input, select, textarea), made from its attributes when first
  // asked for.
  ControlState& Control(Node& element);
  // A change of a control's state that shows (its value, check or choice).
  void ControlChanged() { ++version_; }

 private:
  std::unique_ptr<Node> NewNode(NodeKind kind);
  void Adopt(Node& parent, std::unique_ptr<Node> child);
  void RemoveChildren(Node& element);
  void Parse(Node& parent, std::string_view html, bool fragment);

  std::unordered_map<uint32_t, Node*> nodes_;
  uint32_t nextId_ = 1;
  uint64_t version_ = 0;
  std::unique_ptr<Node> root_;  // after the id table, which its making fills
};

// The text of the nodes under `node` in document order (scripts and styles left out); <br> is
// a line break.
std::string TextOf(const Node& node);

}  // namespace kv::html::dom
