// The containers of arrays and objects: entries side by side in key order. An array's element
// at position p has index p until a gap is made; from then on each element's index is kept
// beside it, ordered as a signed 32-bit number. An object's members are ordered by name, code
// unit by code unit.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <string_view>
#include <vector>

#include "entry_list.h"
#include "json/value.h"
#include "tree_pool.h"

namespace Json {

// Names compare as wcscmp does: by UTF-16 code unit, a name before every longer one it begins.
inline int compareNames(const WCHAR* a, const WCHAR* b)
{
  while (*a != 0 && *a == *b) {
    ++a;
    ++b;
  }
  return static_cast<int>(*a) - static_cast<int>(*b);
}

// A value as a container holds it: moving one onto another takes the comments along (plain
// assignment between values keeps the target's), so that entries can be shifted.
struct Element {
  Value value;

  Element() = default;
  Element(const Element&) = default;
  Element(Element&&) noexcept = default;
  Element& operator=(const Element&) = delete;
  Element& operator=(Element&& other) noexcept
  {
    value.exchangeAll(other.value);
    return *this;
  }

  // Destroys the contents of a value that a container holds and leaves it null. The pieces of
  // a reader's tree go to `batch` directly, and its arrays and objects are walked by this loop
  // instead of through each value's own destruction.
  static void release(Value& value, TreePool::ReleaseBatch& batch) noexcept;
};

struct Member {
  MemberKey key;
  Value value;

  explicit Member(MemberKey&& name) : key(std::move(name)) {}
  Member(const Member&) = default;
  Member(Member&&) noexcept = default;
  Member& operator=(const Member&) = delete;
  Member& operator=(Member&& other) noexcept
  {
    key = std::move(other.key);
    value.exchangeAll(other.value);
    return *this;
  }

  // Releases the name and the value as Element::release does, leaving both empty.
  void release(TreePool::ReleaseBatch& batch) noexcept;
};

// The position of `value` among the entries (Element or Member) of a list that hold it;
// entries.size() when it is none of them.
template <class List>
size_t positionIn(const List& entries, const Value* value)
{
  using Entry = std::remove_cv_t<std::remove_reference_t<decltype(entries[0])>>;
  const auto address = reinterpret_cast<uintptr_t>(value) - offsetof(Entry, value);
  const auto first = reinterpret_cast<uintptr_t>(entries.data());
  if (entries.empty() || address < first || (address - first) % sizeof(Entry) != 0) {
    return entries.size();
  }
  return std::min<size_t>((address - first) / sizeof(Entry), entries.size());
}

// An array's container. It is made with room for a number of elements right after it, so that
// an array read whole costs one allocation.
class ArrayValues {
public:
  static ArrayValues* Create(size_t room);
  // The same, cut from a reader's pool.
  static ArrayValues* CreateIn(TreePool& pool, size_t room);
  static ArrayValues* Copy(const ArrayValues& other);
  static void Destroy(ArrayValues* array);
  static void Destroy(ArrayValues* array, TreePool::ReleaseBatch& batch) noexcept;

  size_t count() const { return elements_.size(); }
  // The highest index plus one; 0 without elements.
  UInt size() const;
  Int indexAt(size_t position) const { return indexes_.empty() ? static_cast<Int>(position) : indexes_[position]; }
  Value& valueAt(size_t position) { return elements_[position].value; }
  const Value& valueAt(size_t position) const { return elements_[position].value; }

  // The element of that index, or null when there is none.
  const Value* find(UInt index) const;
  // The element of that index, added as null when absent.
  Value& grow(UInt index);
  // Removes every element whose index is not below `size` (compared as signed numbers).
  void truncate(UInt size);
  void clear();
  // Takes the elements of an empty array, indexes 0 on, and leaves `elements` empty.
  void adopt(std::vector<Element>& elements);
  // The elements of an array without gaps, for a reader that appends to it.
  EntryList<Element>& denseElements() { return elements_; }

  bool operator==(const ArrayValues& other) const;
  bool operator<(const ArrayValues& other) const;

private:
  ArrayValues(Element* room, size_t capacity) : elements_(room, capacity) {}
  ArrayValues(const ArrayValues&) = delete;
  ArrayValues& operator=(const ArrayValues&) = delete;
  ~ArrayValues() = default;

  bool dense() const { return indexes_.empty(); }
  size_t lowerBound(Int index) const;

  EntryList<Element> elements_;
  std::vector<Int> indexes_;  // empty while every element's index is its position
  bool pooled_ = false;
};

// An object's container, made like an array's with room for its members right after it.
class ObjectValues {
public:
  static ObjectValues* Create(size_t room);
  // The same, cut from a reader's pool.
  static ObjectValues* CreateIn(TreePool& pool, size_t room);
  static ObjectValues* Copy(const ObjectValues& other);
  static void Destroy(ObjectValues* object);
  static void Destroy(ObjectValues* object, TreePool::ReleaseBatch& batch) noexcept;

  size_t count() const { return members_.size(); }
  Member& memberAt(size_t position) { return members_[position]; }
  const Member& memberAt(size_t position) const { return members_[position]; }

  // The first position whose name is not less than `name`, and whether that member has it.
  size_t lowerBound(const WCHAR* name, bool& found) const;
  // The member of that name, or null.
  const Value* find(const WCHAR* name) const;
  // The member of the key's name, added as null with the key when absent.
  Value& grow(const MemberKey& key);
  // Adds a member at a position that keeps the names in order.
  Value& insertAt(size_t position, MemberKey&& key);
  void removeAt(size_t position);
  void clear() { members_.clear(); }
  // Takes the members of an empty object, in name order as `order` gives their positions, and
  // leaves `members` empty.
  void adopt(std::vector<Member>& members, const std::vector<uint32_t>& order);

  bool operator==(const ObjectValues& other) const;
  bool operator<(const ObjectValues& other) const;

private:
  ObjectValues(Member* room, size_t capacity) : members_(room, capacity) {}
  ObjectValues(const ObjectValues&) = delete;
  ObjectValues& operator=(const ObjectValues&) = delete;
  ~ObjectValues() = default;

  EntryList<Member> members_;
  bool pooled_ = false;
};

// The containers of array and object values, for the library's own readers and writers.
struct ContainerAccess {
  static const ArrayValues& elements(const Value& array) { return *array.value_.array_; }
  static const ObjectValues& members(const Value& object) { return *object.value_.object_; }
};

}  // namespace Json
