// The registry in memory: a tree of keys, each with its values in the order they were first set
// and its sub-keys in the order they were created. The root's sub-keys are the hives.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/types.h"

namespace registry {

inline constexpr std::u16string_view kLocalMachine = u"HKEY_LOCAL_MACHINE";
inline constexpr std::u16string_view kCurrentUser = u"HKEY_CURRENT_USER";
inline constexpr size_t kMaxNameLength = 255;

// Key and value names match without regard to case.
bool NamesEqual(std::u16string_view a, std::u16string_view b);

// Whether a text may name a key: 1 to 255 characters, no backslash, no control characters and
// no unpaired surrogates.
bool IsValidKeyName(std::u16string_view name);

struct Value {
  std::u16string name;
  DWORD type = 0;
  std::vector<BYTE> data;
};

class Key {
 public:
  explicit Key(std::u16string name = {}) : name_(std::move(name)) {}
  Key(const Key& other);
  Key& operator=(const Key& other);

  const std::u16string& Name() const { return name_; }
  const std::vector<Value>& Values() const { return values_; }
  const std::vector<std::unique_ptr<Key>>& Subkeys() const { return subkeys_; }

  const Key* FindSubkey(std::u16string_view name) const;
  Key* FindSubkey(std::u16string_view name);
  // The sub-key of that name, created last when missing.
  Key& AddSubkey(std::u16string_view name);
  bool RemoveSubkey(std::u16string_view name);

  const Value* FindValue(std::u16string_view name) const;
  // Replaces the data of a value of that name (which keeps its name and place) or appends one.
  void SetValue(std::u16string_view name, DWORD type, std::vector<BYTE> data);
  bool RemoveValue(std::u16string_view name);

 private:
  std::u16string name_;
  std::vector<Value> values_;
  std::vector<std::unique_ptr<Key>> subkeys_;
};

// A key's place: its names from the hive down. Empty names nothing.
using KeyPath = std::vector<std::u16string>;

// The whole registry: a root whose sub-keys are the hives, which always exist.
class Tree {
 public:
  Tree();
  Key& Root() { return root_; }
  const Key& Root() const { return root_; }

  const Key* Find(const KeyPath& path) const;
  Key* Find(const KeyPath& path);

 private:
  Key root_;
};

}  // namespace registry
