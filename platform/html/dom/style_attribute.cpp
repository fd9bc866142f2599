#include "style_attribute.h"

#include <cctype>
#include <vector>

#include "html/page/utf8_text.h"

namespace kv::html::dom {
namespace {

std::string_view Trimmed(std::string_view text)
{
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b)
{
  return LowerAscii(a) == LowerAscii(b);
}

// The declarations, split at the semicolons outside quotes and parentheses.
std::vector<std::string_view> Declarations(std::string_view style)
{
  std::vector<std::string_view> parts;
  int depth = 0;
  char quote = 0;
  size_t start = 0;
  for (size_t i = 0; i < style.size(); ++i) {
    const char c = style[i];
    if (quote) {
      if (c == quote)
        quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '(') {
      ++depth;
    } else if (c == ')' && depth > 0) {
      --depth;
    } else if (c == ';' && depth == 0) {
      parts.push_back(style.substr(start, i - start));
      start = i + 1;
    }
  }
  parts.push_back(style.substr(start));
  return parts;
}

std::string_view NameOf(std::string_view declaration)
{
  const size_t colon = declaration.find(':');
  return colon == std::string_view::npos ? std::string_view() : Trimmed(declaration.substr(0, colon));
}

}  // namespace

std::string StyleProperty(std::string_view style, std::string_view property)
{
  std::string value;
  for (std::string_view declaration : Declarations(style))
    if (SameName(NameOf(declaration), property))
      value = Trimmed(declaration.substr(declaration.find(':') + 1));  // the last one holds
  return value;
}

std::string WithStyleProperty(std::string_view style, std::string_view property, std::string_view value)
{
  std::string out;
  for (std::string_view declaration : Declarations(style)) {
    if (Trimmed(declaration).empty() || SameName(NameOf(declaration), property))
      continue;
    out += Trimmed(declaration);
    out += "; ";
  }
  if (!value.empty()) {
    out += property;
    out += ": ";
    out += value;
  } else if (!out.empty()) {
    out.resize(out.size() - 2);
  }
  return out;
}

}  // namespace kv::html::dom
