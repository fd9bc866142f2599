#include "registry_file.h"

#include <cstdio>

#include "text/codepage.h"

namespace registry {

namespace {

constexpr std::string_view kHeader = "DEVICE-REGISTRY 1";

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// Appends UTF-16 text without unpaired surrogates as UTF-8.
void AppendUtf8(std::string& out, std::u16string_view text) {
  if (text.empty()) return;
  const int length = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(bytes));
  WideCharToMultiByte(CP_UTF8, 0, text.data(), length, out.data() + at, bytes, nullptr, nullptr);
}

// Appends UTF-8 text as UTF-16; false when it is not valid UTF-8.
bool AppendUtf16(std::u16string& out, std::string_view text) {
  if (text.empty()) return true;
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
  if (units == 0) return false;
  const size_t at = out.size();
  out.resize(at + static_cast<size_t>(units));
  MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), length, out.data() + at, units);
  return true;
}

void AppendHex(std::string& out, unsigned value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*x", digits, value);
  out += text;
}

// Appends quoted text as UTF-8 with backslashes and quotes escaped, and control characters and
// unpaired surrogates written as \uXXXX, so any text survives.
void AppendEscaped(std::string& out, std::u16string_view text) {
  size_t run = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsHighSurrogate(c) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      ++i;
      continue;
    }
    const bool quoted = c == u'\\' || c == u'"';
    if (!quoted && c >= 0x20 && c != 0x7F && !IsHighSurrogate(c) && !IsLowSurrogate(c)) continue;
    AppendUtf8(out, text.substr(run, i - run));
    if (quoted) {
      out += '\\';
      out += static_cast<char>(c);
    } else {
      out += "\\u";
      AppendHex(out, c, 4);
    }
    run = i + 1;
  }
  AppendUtf8(out, text.substr(run));
}

void AppendQuoted(std::string& out, std::u16string_view text) {
  out += '"';
  AppendEscaped(out, text);
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
  AppendUtf8(path, key.Name());
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
  size_t run = pos;
  while (pos < line.size()) {
    const char c = line[pos];
    if (c != '"' && c != '\\') {
      if (static_cast<unsigned char>(c) < 0x20) return false;
      ++pos;
      continue;
    }
    if (!AppendUtf16(text, line.substr(run, pos - run))) return false;
    if (c == '"') {
      ++pos;
      return true;
    }
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
    run = pos;
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
  if (!AppendUtf16(text, path)) return false;
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
