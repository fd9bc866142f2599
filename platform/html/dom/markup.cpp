#include "markup.h"

#include <string_view>

namespace kv::html::dom {
namespace {

bool IsVoid(std::string_view name)
{
  static constexpr std::string_view kVoid[] = {"area", "base", "br",   "col",   "embed",  "hr",    "img",
                                               "input", "link", "meta", "param", "source", "track", "wbr"};
  for (std::string_view v : kVoid)
    if (v == name)
      return true;
  return false;
}

bool IsRawText(std::string_view name)
{
  return name == "style" || name == "script" || name == "xmp" || name == "noscript";
}

void Escaped(std::string& out, std::string_view text, bool attribute)
{
  for (char c : text) {
    switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += attribute ? "<" : "&lt;"; break;
    case '>': out += attribute ? ">" : "&gt;"; break;
    case '"': out += attribute ? "&quot;" : "\""; break;
    default: out += c;
    }
  }
}

// Raw text may not hold its own end tag: "</" is broken up.
void RawText(std::string& out, std::string_view text)
{
  for (size_t i = 0; i < text.size(); ++i) {
    out += text[i];
    if (text[i] == '<' && i + 1 < text.size() && text[i + 1] == '/')
      out += ' ';
  }
}

class Writer {
 public:
  Writer(std::string& out, const LayoutMarks* marks) : out_(out), marks_(marks) {}

  void Children(const Node& node)
  {
    const bool raw = node.IsElement() && IsRawText(node.name);
    for (const auto& child : node.children) {
      if (child->kind == NodeKind::Text) {
        if (raw)
          RawText(out_, child->text);
        else
          Escaped(out_, child->text, false);
      } else {
        Element(*child);
      }
    }
  }

 private:
  void Element(const Node& node)
  {
    LayoutRole role = LayoutRole::Plain;
    if (marks_) {
      role = node.name == "script" ? LayoutRole::Left : marks_->role(node);
      if (role == LayoutRole::Left)
        return;
    }
    out_ += '<';
    out_ += node.name;
    for (const auto& [name, value] : node.attributes) {
      if (marks_ && name == marks_->attribute)
        continue;  // the page's own, which would pass for a mark
      out_ += ' ';
      out_ += name;
      out_ += "=\"";
      Escaped(out_, value, true);
      out_ += '"';
    }
    if (role == LayoutRole::Marked || role == LayoutRole::Fill) {
      out_ += ' ';
      out_ += marks_->attribute;
      out_ += "=\"";
      out_ += std::to_string(node.id);
      out_ += '"';
    }
    out_ += '>';
    if (IsVoid(node.name))
      return;
    if (role != LayoutRole::Fill)
      Children(node);
    out_ += "</";
    out_ += node.name;
    out_ += '>';
  }

  std::string& out_;
  const LayoutMarks* marks_;
};

}  // namespace

std::string InnerHtml(const Node& element)
{
  std::string out;
  Writer(out, nullptr).Children(element);
  return out;
}

std::string LayoutMarkup(const Document& document, const LayoutMarks& marks)
{
  std::string out;
  Writer(out, &marks).Children(document.Root());
  return out;
}

}  // namespace kv::html::dom
