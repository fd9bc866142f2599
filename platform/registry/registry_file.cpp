#include "registry_file.h"

#include <cstdio>

namespace registry {

namespace {

constexpr std::string_view kHeader = "DEVICE-REGISTRY 1";

bool IsHighSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Decodes one UTF-8 character at text[pos]; false for malformed, overlong or surrogate forms.
bool ReadUtf8(std::string_view text, size_t& pos, char32_t& c) {
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(pos);
  size_t count;
  char32_t minimum;
  if (lead < 0x80) {
    c = lead;
    ++pos;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    count = 1, minimum = 0x80, c = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    count = 2, minimum = 0x800, c = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    count = 3, minimum = 0x10000, c = lead & 0x07;
  } else {
    return false;
  }
  if (text.size() - pos <= count) return false;
  for (size_t i = 1; i <= count; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return false;
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (c < minimum || c > 0x10FFFF || IsHighSurrogate(c) || IsLowSurrogate(c)) return false;
  pos += count + 1;
  return true;
}

void AppendUnit(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
  }
}

void AppendHex(std::string& out, unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*x", digits, value);
  out += text;
}

// Appends UTF-16 text as UTF-8; with escapes, backslashes and quotes are escaped and control
// characters and unpaired surrogates written as \uXXXX, so any text survives.
void AppendText(std::string& out, std::u16string_view text, bool escapes) {
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (escapes && (c == u'\\' || c == u'"')) {
      out += '\\';
      out += static_cast<char>(c);
    } else if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(out, 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00));
      ++i;
    } else if (escapes && (c < 0x20 || c == 0x7F || IsHighSurrogate(c) || IsLowSurrogate(c))) {
      out += "\\u";
      AppendHex(out, c, 4);
    } else {
      AppendUtf8(out, c);
    }
  }
}

void AppendQuoted(std::string& out, std::u16string_view text) {
  out += '"';
  AppendText(out, text, true);
  out += '"';
}

// The text of a REG_SZ value when it is exactly one terminated text.
bool AsSingleText(const Value& value, std::u16string& text) {
  const std::vector<BYTE>& data = value.data;
  if (value.type != 1 || data.size() < 2 || data.size() % 2 != 0) return false;
  text.clear();
  for (size_t i = 0; i + 2 < data.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    if (c == 0) return false;
    text += c;
  }
  return data[data.size() - 2] == 0 && data[data.size() - 1] == 0;
}

void AppendValue(std::string& out, const Value& value) {
  AppendQuoted(out, value.name);
  out += '=';
  std::u16string text;
  if (AsSingleText(value, text)) {
    out += "sz:";
    AppendQuoted(out, text);
  } else if (value.type == 4 && value.data.size() == 4) {
    out += "dword:";
    AppendHex(out, value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) | (static_cast<unsigned>(value.data[3]) << 24), 8);
  } else {
    out += "hex(" + std::to_string(value.type) + "):";
    for (BYTE b : value.data) AppendHex(out, b, 2);
  }
  out += '\n';
}

// Key names hold no backslashes, control characters or unpaired surrogates, so a path needs no
// escapes.
void AppendKey(std::string& out, const Key& key, std::string& path) {
  const size_t mark = path.size();
  if (!path.empty()) path += '\\';
  AppendText(path, key.Name(), false);
  out += '[' + path + "]\n";
  for (const Value& value : key.Values()) AppendValue(out, value);
  for (const auto& subkey : key.Subkeys()) AppendKey(out, *subkey, path);
  path.resize(mark);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Reads a quoted text at line[pos]; pos ends after the closing quote.
bool ReadQuoted(std::string_view line, size_t& pos, std::u16string& text) {
  if (pos >= line.size() || line[pos] != '"') return false;
  ++pos;
  text.clear();
  while (pos < line.size()) {
    const char c = line[pos];
    if (c == '"') {
      ++pos;
      return true;
    }
    if (c == '\\') {
      if (pos + 1 >= line.size()) return false;
      const char escaped = line[pos + 1];
      if (escaped == '\\' || escaped == '"') {
        text += static_cast<char16_t>(escaped);
        pos += 2;
      } else if (escaped == 'u' && pos + 6 <= line.size()) {
        unsigned unit = 0;
        for (size_t i = pos + 2; i < pos + 6; ++i) {
          const int digit = HexDigit(line[i]);
          if (digit < 0) return false;
          unit = unit * 16 + static_cast<unsigned>(digit);
        }
        text += static_cast<char16_t>(unit);
        pos += 6;
      } else {
        return false;
      }
      continue;
    }
    if (static_cast<unsigned char>(c) < 0x20) return false;
    char32_t character;
    if (!ReadUtf8(line, pos, character)) return false;
    AppendUnit(text, character);
  }
  return false;
}

bool ReadHexBytes(std::string_view digits, std::vector<BYTE>& bytes) {
  if (digits.size() % 2 != 0) return false;
  bytes.clear();
  for (size_t i = 0; i < digits.size(); i += 2) {
    const int high = HexDigit(digits[i]);
    const int low = HexDigit(digits[i + 1]);
    if (high < 0 || low < 0) return false;
    bytes.push_back(static_cast<BYTE>(high * 16 + low));
  }
  return true;
}

bool ReadNumber(std::string_view digits, int base, uint32_t& value) {
  if (digits.empty() || digits.size() > (base == 16 ? 8u : 10u)) return false;
  uint64_t number = 0;
  for (char c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0 || digit >= base) return false;
    number = number * base + static_cast<uint64_t>(digit);
  }
  if (number > 0xFFFFFFFFu) return false;
  value = static_cast<uint32_t>(number);
  return true;
}

bool ReadSection(std::string_view path, Tree& tree, Key*& key) {
  std::u16string text;
  for (size_t pos = 0; pos < path.size();) {
    char32_t c;
    if (!ReadUtf8(path, pos, c)) return false;
    AppendUnit(text, c);
  }
  key = &tree.Root();
  size_t start = 0;
  bool first = true;
  while (true) {
    const size_t end = text.find(u'\\', start);
    const std::u16string_view name = std::u16string_view(text).substr(start, end - start);
    if (first ? (!NamesEqual(name, kLocalMachine) && !NamesEqual(name, kCurrentUser)) : !IsValidKeyName(name)) {
      return false;
    }
    key = &key->AddSubkey(name);
    first = false;
    if (end == std::u16string::npos) return true;
    start = end + 1;
  }
}

bool ReadValue(std::string_view line, Key& key) {
  size_t pos = 0;
  std::u16string name;
  if (!ReadQuoted(line, pos, name) || pos >= line.size() || line[pos] != '=') return false;
  const std::string_view data = line.substr(pos + 1);
  std::vector<BYTE> bytes;
  DWORD type;
  if (data.starts_with("sz:")) {
    size_t textPos = 3;
    std::u16string text;
    if (!ReadQuoted(data, textPos, text) || textPos != data.size()) return false;
    for (char16_t c : text) {
      if (c == 0) return false;
      bytes.push_back(static_cast<BYTE>(c & 0xFF));
      bytes.push_back(static_cast<BYTE>(c >> 8));
    }
    bytes.push_back(0);
    bytes.push_back(0);
    type = 1;
  } else if (data.starts_with("dword:")) {
    uint32_t number;
    if (data.size() != 14 || !ReadNumber(data.substr(6), 16, number)) return false;
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<BYTE>(number >> (8 * i)));
    type = 4;
  } else if (data.starts_with("hex(")) {
    const size_t close = data.find("):");
    if (close == std::string_view::npos || !ReadNumber(data.substr(4, close - 4), 10, type) ||
        !ReadHexBytes(data.substr(close + 2), bytes)) {
      return false;
    }
  } else {
    return false;
  }
  if (name.size() > kMaxNameLength || key.FindValue(name) != nullptr) return false;
  key.SetValue(name, type, std::move(bytes));
  return true;
}

}  // namespace

std::string SerializeTree(const Tree& tree) {
  std::string out(kHeader);
  out += '\n';
  std::string path;
  for (const auto& hive : tree.Root().Subkeys()) AppendKey(out, *hive, path);
  return out;
}

bool ParseTree(std::string_view text, Tree& tree) {
  tree = Tree();
  Key* key = nullptr;
  bool header = false;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);

    if (!header) {
      if (line != kHeader) return false;
      header = true;
    } else if (line.empty() || line.front() == ';') {
      continue;
    } else if (line.front() == '[' && line.back() == ']' && line.size() >= 2) {
      if (!ReadSection(line.substr(1, line.size() - 2), tree, key)) return false;
    } else if (key == nullptr || !ReadValue(line, *key)) {
      return false;
    }
  }
  return header || text.empty();
}

}  // namespace registry
