// Iterators over the elements of an array or the members of an object, in container order.
// The iterator of any other value is a null iterator that designates nothing.
#pragma once

#include <cstddef>
#include <iterator>

#include "json/value.h"

namespace Json {

class ValueIteratorBase {
public:
  bool operator==(const ValueIteratorBase& other) const;
  bool operator!=(const ValueIteratorBase& other) const { return !(*this == other); }
  // The number of forward moves from this iterator to `other`; 0 between null iterators.
  int distance(const ValueIteratorBase& other) const;

  // An int value holding the index for an element, a string value with the name for a member.
  Value key() const;
  // The index of an element; 4294967295 for a member.
  UInt index() const;
  // The stored name of a member (no copy); an empty text for an element.
  const WCHAR* memberName() const;

protected:
  ValueIteratorBase() = default;
  // At `position` among the entries of an array or object; a null iterator for any other value.
  ValueIteratorBase(const Value& value, size_t position);
  Value& deref() const;
  void increment() { ++position_; }
  void decrement() { --position_; }
  bool isNull() const { return array_ == nullptr && object_ == nullptr; }

  ArrayValues* array_ = nullptr;
  ObjectValues* object_ = nullptr;
  size_t position_ = 0;
};

class ValueConstIterator : public ValueIteratorBase {
  friend class Value;

public:
  typedef std::bidirectional_iterator_tag iterator_category;
  typedef Value value_type;
  typedef std::ptrdiff_t difference_type;
  typedef const Value* pointer;
  typedef const Value& reference;

  ValueConstIterator() = default;
  const Value& operator*() const { return deref(); }
  const Value* operator->() const { return &deref(); }
  ValueConstIterator& operator++() { increment(); return *this; }
  ValueConstIterator operator++(int) { ValueConstIterator old(*this); increment(); return old; }
  ValueConstIterator& operator--() { decrement(); return *this; }
  ValueConstIterator operator--(int) { ValueConstIterator old(*this); decrement(); return old; }

private:
  ValueConstIterator(const Value& value, size_t position) : ValueIteratorBase(value, position) {}
};

class ValueIterator : public ValueIteratorBase {
  friend class Value;

public:
  typedef std::bidirectional_iterator_tag iterator_category;
  typedef Value value_type;
  typedef std::ptrdiff_t difference_type;
  typedef Value* pointer;
  typedef Value& reference;

  ValueIterator() = default;
  Value& operator*() const { return deref(); }
  Value* operator->() const { return &deref(); }
  ValueIterator& operator++() { increment(); return *this; }
  ValueIterator operator++(int) { ValueIterator old(*this); increment(); return old; }
  ValueIterator& operator--() { decrement(); return *this; }
  ValueIterator operator--(int) { ValueIterator old(*this); decrement(); return old; }

private:
  ValueIterator(const Value& value, size_t position) : ValueIteratorBase(value, position) {}
};

}  // namespace Json
