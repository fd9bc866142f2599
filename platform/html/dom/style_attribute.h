// One property of an element's style attribute ("color: red; display: none"), read and set.
#pragma once

#include <string>
#include <string_view>

namespace kv::html::dom {

// The property's value as written, its blanks trimmed; empty when the style does not set it.
std::string StyleProperty(std::string_view style, std::string_view property);
// The style with the property set to `value`, or taken out when `value` is empty; the other
// declarations are kept as written.
std::string WithStyleProperty(std::string_view style, std::string_view property, std::string_view value);

}  // namespace kv::html::dom
