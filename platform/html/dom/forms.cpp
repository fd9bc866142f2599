#include "forms.h"

#include "html/page/utf8_text.h"

namespace kv::html::dom {
namespace {

bool IsControl(const Node& node)
{
  return node.Is("input") || node.Is("select") || node.Is("textarea") || node.Is("button");
}

}  // namespace

std::string ControlType(const Node& element)
{
  if (element.Is("select"))
    return "select";
  if (element.Is("textarea"))
    return "textarea";
  if (element.Is("button")) {
    const std::string type = LowerAscii(element.AttributeOr("type", "submit"));
    return type == "reset" || type == "button" ? type : "submit";
  }
  if (!element.Is("input"))
    return {};
  static const char* const kKnown[] = {"password", "hidden", "checkbox", "radio", "submit", "reset", "button", "image"};
  const std::string type = LowerAscii(element.AttributeOr("type"));
  for (const char* known : kKnown)
    if (type == known)
      return type;
  return "text";
}

bool IsSubmitButton(const Node& element)
{
  const std::string type = ControlType(element);
  return type == "submit" || type == "image";
}

Node* FormOf(Node& element)
{
  for (Node* node = element.parent; node; node = node->parent)
    if (node->Is("form"))
      return node;
  return nullptr;
}

std::vector<Node*> FormControls(const Document& document, const Node& form)
{
  return document.Elements(form, IsControl);
}

std::vector<Node*> Options(const Document& document, const Node& select)
{
  return document.Elements(select, [](const Node& node) { return node.name == "option"; });
}

std::string OptionText(const Node& option)
{
  return CollapseBlanks(TextOf(option));
}

std::string OptionValue(const Node& option)
{
  const std::string* value = option.Attribute("value");
  return value ? *value : OptionText(option);
}

std::string ControlValue(Document& document, Node& control)
{
  const std::string type = ControlType(control);
  if (type == "select") {
    const int index = document.Control(control).selectedIndex;
    std::vector<Node*> options = Options(document, control);
    return index >= 0 && index < static_cast<int>(options.size()) ? OptionValue(*options[static_cast<size_t>(index)])
                                                                  : std::string();
  }
  if (type == "checkbox" || type == "radio")
    return control.AttributeOr("value", "on");
  if (type == "text" || type == "password" || type == "textarea" || type == "hidden")
    return document.Control(control).value;
  return control.AttributeOr("value");
}

void SetChecked(Document& document, Node& control, bool checked)
{
  document.Control(control).checked = checked;
  if (checked && ControlType(control) == "radio") {
    const std::string name = control.AttributeOr("name");
    Node* form = FormOf(control);
    if (!name.empty()) {
      for (Node* other : document.Elements(document.Root(), [](const Node& n) { return ControlType(n) == "radio"; }))
        if (other != &control && other->AttributeOr("name") == name && FormOf(*other) == form)
          document.Control(*other).checked = false;
    }
  }
  document.ControlChanged();
}

std::vector<std::pair<std::string, std::string>> FormData(Document& document, Node& form, const Node* submitter)
{
  std::vector<std::pair<std::string, std::string>> pairs;
  for (Node* control : FormControls(document, form)) {
    const std::string* name = control->Attribute("name");
    if (!name || name->empty() || control->HasAttribute("disabled"))
      continue;
    const std::string type = ControlType(*control);
    if (type == "submit" || type == "image") {
      if (control == submitter)
        pairs.emplace_back(*name, control->AttributeOr("value"));
    } else if (type == "checkbox" || type == "radio") {
      if (document.Control(*control).checked)
        pairs.emplace_back(*name, ControlValue(document, *control));
    } else if (type == "select") {
      if (document.Control(*control).selectedIndex >= 0)
        pairs.emplace_back(*name, ControlValue(document, *control));
    } else if (type != "reset" && type != "button") {
      pairs.emplace_back(*name, ControlValue(document, *control));
    }
  }
  return pairs;
}

std::string UrlEncodedForm(const std::vector<std::pair<std::string, std::string>>& pairs)
{
  static constexpr char kHex[] = "0123456789ABCDEF";
  auto encode = [](std::string& out, const std::string& text) {
    for (unsigned char c : text) {
      if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '*' || c == '-' || c == '.' || c == '_') {
        out += static_cast<char>(c);
      } else if (c == ' ') {
        out += '+';
      } else {
        out += '%';
        out += kHex[c >> 4];
        out += kHex[c & 15];
      }
    }
  };
  std::string out;
  for (const auto& [name, value] : pairs) {
    if (!out.empty())
      out += '&';
    encode(out, name);
    out += '=';
    encode(out, value);
  }
  return out;
}

}  // namespace kv::html::dom
