#include "xml_document.h"

#include <charconv>

namespace net {
namespace {

constexpr int kMaxDepth = 32;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool IsNameChar(char c)
{
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
         c == '.' || c == ':';
}

void AppendUtf8(std::string& out, unsigned long code)
{
  if (code < 0x80) {
    out += static_cast<char>(code);
  } else if (code < 0x800) {
    out += static_cast<char>(0xC0 | (code >> 6));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    out += static_cast<char>(0xE0 | (code >> 12));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (code >> 18));
    out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (code & 0x3F));
  }
}

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {}

  std::optional<XmlElement> Document()
  {
    SkipMisc();
    if (text_.substr(pos_, 5) == "<?xml") {
      size_t end = text_.find("?>", pos_);
      if (end == std::string_view::npos) {
        return std::nullopt;
      }
      pos_ = end + 2;
    }
    SkipMisc();
    std::optional<XmlElement> root = Element(0);
    SkipMisc();
    if (!root || !ok_ || pos_ != text_.size()) {
      return std::nullopt;
    }
    return root;
  }

 private:
  // Blanks and comments.
  void SkipMisc()
  {
    for (;;) {
      while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
      }
      if (text_.substr(pos_, 4) != "<!--") {
        return;
      }
      size_t end = text_.find("-->", pos_ + 4);
      if (end == std::string_view::npos) {
        ok_ = false;
        pos_ = text_.size();
        return;
      }
      pos_ = end + 3;
    }
  }

  bool Take(char c)
  {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  std::string Name()
  {
    size_t start = pos_;
    while (pos_ < text_.size() && IsNameChar(text_[pos_])) {
      ++pos_;
    }
    return std::string(text_.substr(start, pos_ - start));
  }

  std::optional<std::string> Value()
  {
    if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
      return std::nullopt;
    }
    char quote = text_[pos_++];
    std::string value;
    while (pos_ < text_.size() && text_[pos_] != quote) {
      char c = text_[pos_++];
      if (c == '<') {
        return std::nullopt;
      }
      if (c != '&') {
        value += c;
        continue;
      }
      size_t end = text_.find(';', pos_);
      if (end == std::string_view::npos || end - pos_ > 10) {
        return std::nullopt;
      }
      std::string_view entity = text_.substr(pos_, end - pos_);
      pos_ = end + 1;
      if (entity == "lt") {
        value += '<';
      } else if (entity == "gt") {
        value += '>';
      } else if (entity == "amp") {
        value += '&';
      } else if (entity == "quot") {
        value += '"';
      } else if (entity == "apos") {
        value += '\'';
      } else if (entity.size() > 1 && entity[0] == '#') {
        bool hex = entity[1] == 'x';
        std::string_view digits = entity.substr(hex ? 2 : 1);
        unsigned long code = 0;
        auto [last, error] = std::from_chars(digits.data(), digits.data() + digits.size(), code, hex ? 16 : 10);
        if (digits.empty() || error != std::errc() || last != digits.data() + digits.size() || code == 0 ||
            code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
          return std::nullopt;
        }
        AppendUtf8(value, code);
      } else {
        return std::nullopt;
      }
    }
    if (!Take(quote)) {
      return std::nullopt;
    }
    return value;
  }

  std::optional<XmlElement> Element(int depth)
  {
    if (depth >= kMaxDepth || !Take('<')) {
      return std::nullopt;
    }
    XmlElement element;
    element.name = Name();
    if (element.name.empty()) {
      return std::nullopt;
    }
    for (;;) {
      size_t before = pos_;
      while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
      }
      if (Take('/')) {
        return Take('>') ? std::optional<XmlElement>(std::move(element)) : std::nullopt;
      }
      if (Take('>')) {
        break;
      }
      bool separated = pos_ != before;
      std::string attribute = Name();
      if (attribute.empty() || !separated) {
        return std::nullopt;
      }
      while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
      }
      if (!Take('=')) {
        return std::nullopt;
      }
      while (pos_ < text_.size() && IsBlank(text_[pos_])) {
        ++pos_;
      }
      std::optional<std::string> value = Value();
      if (!value) {
        return std::nullopt;
      }
      element.attributes.emplace_back(std::move(attribute), std::move(*value));
    }
    for (;;) {
      SkipMisc();
      if (text_.substr(pos_, 2) == "</") {
        pos_ += 2;
        if (Name() != element.name) {
          return std::nullopt;
        }
        while (pos_ < text_.size() && IsBlank(text_[pos_])) {
          ++pos_;
        }
        return Take('>') ? std::optional<XmlElement>(std::move(element)) : std::nullopt;
      }
      std::optional<XmlElement> child = Element(depth + 1);
      if (!child) {
        return std::nullopt;
      }
      element.children.push_back(std::move(*child));
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  bool ok_ = true;
};

void Escape(std::string& out, std::string_view value)
{
  for (char c : value) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
}

void Write(std::string& out, const XmlElement& element)
{
  out += '<';
  out += element.name;
  for (const auto& [name, value] : element.attributes) {
    out += ' ';
    out += name;
    out += "=\"";
    Escape(out, value);
    out += '"';
  }
  if (element.children.empty()) {
    out += "/>";
    return;
  }
  out += '>';
  for (const XmlElement& child : element.children) {
    Write(out, child);
  }
  out += "</";
  out += element.name;
  out += '>';
}

}  // namespace

const std::string* XmlElement::Attribute(std::string_view attribute) const
{
  for (const auto& [name, value] : attributes) {
    if (name == attribute) {
      return &value;
    }
  }
  return nullptr;
}

std::optional<XmlElement> ReadXml(std::string_view text) { return Reader(text).Document(); }

std::string WriteXml(const XmlElement& element)
{
  std::string out;
  Write(out, element);
  return out;
}

}  // namespace net
