#include "registry_tree.h"

#include <algorithm>

#include "text/widechar.h"

namespace registry {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

bool NamesEqual(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return towupper(x) == towupper(y); });
}

bool IsValidKeyName(std::u16string_view name) {
  if (name.empty() || name.size() > kMaxNameLength) return false;
  for (size_t i = 0; i < name.size(); ++i) {
    const char16_t c = name[i];
    if (c < 0x20 || c == 0x7F || c == u'\\') return false;
    if (IsHighSurrogate(c)) {
      if (i + 1 == name.size() || !IsLowSurrogate(name[i + 1])) return false;
      ++i;
    } else if (IsLowSurrogate(c)) {
      return false;
    }
  }
  return true;
}

Key::Key(const Key& other) : name_(other.name_), values_(other.values_) {
  subkeys_.reserve(other.subkeys_.size());
  for (const auto& subkey : other.subkeys_) subkeys_.push_back(std::make_unique<Key>(*subkey));
}

Key& Key::operator=(const Key& other) {
  if (this != &other) {
    Key copy(other);
    name_ = std::move(copy.name_);
    values_ = std::move(copy.values_);
    subkeys_ = std::move(copy.subkeys_);
  }
  return *this;
}

const Key* Key::FindSubkey(std::u16string_view name) const {
  for (const auto& subkey : subkeys_) {
    if (NamesEqual(subkey->name_, name)) return subkey.get();
  }
  return nullptr;
}

Key* Key::FindSubkey(std::u16string_view name) {
  return const_cast<Key*>(static_cast<const Key*>(this)->FindSubkey(name));
}

Key& Key::AddSubkey(std::u16string_view name) {
  if (Key* existing = FindSubkey(name)) return *existing;
  subkeys_.push_back(std::make_unique<Key>(std::u16string(name)));
  return *subkeys_.back();
}

bool Key::RemoveSubkey(std::u16string_view name) {
  const auto it = std::find_if(subkeys_.begin(), subkeys_.end(),
                               [name](const auto& subkey) { return NamesEqual(subkey->name_, name); });
  if (it == subkeys_.end()) return false;
  subkeys_.erase(it);
  return true;
}

const Value* Key::FindValue(std::u16string_view name) const {
  for (const Value& value : values_) {
    if (NamesEqual(value.name, name)) return &value;
  }
  return nullptr;
}

void Key::SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data) {
  for (Value& value : values_) {
    if (NamesEqual(value.name, name)) {
      value.type = type;
      value.data = std::move(data);
      return;
    }
  }
  values_.push_back(Value{std::u16string(name), type, std::move(data)});
}

bool Key::RemoveValue(std::u16string_view name) {
  const auto it =
      std::find_if(values_.begin(), values_.end(), [name](const Value& value) { return NamesEqual(value.name, name); });
  if (it == values_.end()) return false;
  values_.erase(it);
  return true;
}

Tree::Tree() {
  root_.AddSubkey(kLocalMachine);
  root_.AddSubkey(kCurrentUser);
}

const Key* Tree::Find(const KeyPath& path) const {
  const Key* key = &root_;
  for (const std::u16string& name : path) {
    key = key->FindSubkey(name);
    if (key == nullptr) return nullptr;
  }
  return key;
}

Key* Tree::Find(const KeyPath& path) { return const_cast<Key*>(static_cast<const Tree*>(this)->Find(path)); }

}  // namespace registry
