// A small XML reader and writer for provisioning documents: elements with attributes, no text
// content. UTF-8 in and out.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace net {

struct XmlElement {
  std::string name;
  std::vector<std::pair<std::string, std::string>> attributes;  // values decoded
  std::vector<XmlElement> children;

  const std::string* Attribute(std::string_view attribute) const;
};

// The document's root element. Accepts an XML declaration, comments and blanks between
// elements, and the predefined and numeric character references in attribute values; nullopt
// for anything else, for text content, and for nesting deeper than 32 elements.
std::optional<XmlElement> ReadXml(std::string_view text);

// The element as text, attribute values escaped; elements without children are written empty
// ("<parm .../>").
std::string WriteXml(const XmlElement& element);

}  // namespace net
