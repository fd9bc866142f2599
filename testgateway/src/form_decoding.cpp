#include "form_decoding.h"

namespace testgateway::detail {
namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view trimSpaces(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

std::string decodeFormComponent(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '+') {
      out += ' ';
    } else if (c == '%' && i + 2 < text.size() && hexValue(text[i + 1]) >= 0 && hexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(hexValue(text[i + 1]) * 16 + hexValue(text[i + 2]));
      i += 2;
    } else {
      out += c;
    }
  }
  return out;
}

std::vector<std::pair<std::string, std::string>> decodeForm(std::string_view body) {
  std::vector<std::pair<std::string, std::string>> fields;
  while (!body.empty()) {
    std::string_view field = body.substr(0, body.find('&'));
    body.remove_prefix(field.size() < body.size() ? field.size() + 1 : field.size());
    if (field.empty()) continue;
    auto equals = field.find('=');
    if (equals == std::string_view::npos) {
      fields.emplace_back(decodeFormComponent(field), std::string());
    } else {
      fields.emplace_back(decodeFormComponent(field.substr(0, equals)),
                          decodeFormComponent(field.substr(equals + 1)));
    }
  }
  return fields;
}

void addCookies(std::string_view header, std::map<std::string, std::string>& cookies) {
  while (!header.empty()) {
    std::string_view pair = header.substr(0, header.find(';'));
    header.remove_prefix(pair.size() < header.size() ? pair.size() + 1 : pair.size());
    auto equals = pair.find('=');
    if (equals == std::string_view::npos) continue;
    std::string_view name = trimSpaces(pair.substr(0, equals));
    if (!name.empty()) cookies[std::string(name)] = std::string(trimSpaces(pair.substr(equals + 1)));
  }
}

}  // namespace testgateway::detail
