// One JSON value over UTF-16 text: null, signed or unsigned 32-bit integer, real, text,
// boolean, array or object. An array keeps its elements in index order and may have gaps; an
// object keeps its members in name order, names ordered by UTF-16 code unit. Both hold their
// entries side by side, as a vector does: adding or removing an entry may move the others, so
// a reference or iterator into an array or object is good until the next entry is added to or
// removed from that same array or object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/types.h"

namespace Json {

typedef int32_t Int;
typedef uint32_t UInt;

// The number of a type also orders values of different types.
enum ValueType {
  nullValue = 0,
  intValue,
  uintValue,
  realValue,
  stringValue,
  booleanValue,
  arrayValue,
  objectValue
};

enum CommentPlacement {
  commentBefore = 0,
  commentAfterOnSameLine,
  commentAfter,
  numberOfCommentPlacement
};

// The source of every text buffer the library owns. Member names go through
// makeMemberName/releaseMemberName, which by default call the two string operations.
class ValueAllocator {
public:
  // A length of untilNul copies up to the text's terminating NUL.
  static constexpr size_t untilNul = static_cast<size_t>(-1);

  virtual ~ValueAllocator();
  virtual WCHAR* makeMemberName(const WCHAR* name) = 0;
  virtual void releaseMemberName(WCHAR* name) = 0;
  virtual WCHAR* duplicateStringValue(const WCHAR* text, size_t length = untilNul) = 0;
  virtual void releaseStringValue(WCHAR* text) = 0;
};

// The process-wide allocator pointer; it designates the default (malloc) allocator.
ValueAllocator*& valueAllocator();

// A text that outlives every value referring to it (a literal): values and keys keep the
// pointer instead of a copy.
class StaticString {
public:
  explicit constexpr StaticString(const WCHAR* text) : text_(text) {}
  constexpr operator const WCHAR*() const { return text_; }
  constexpr const WCHAR* c_str() const { return text_; }

private:
  const WCHAR* text_;
};

// The key of an entry: an index (no text) or a name with its ownership.
class MemberKey {
public:
  enum Ownership { keyShared = 0, keyOwned = 1, keyDuplicateOnCopy = 2 };
  friend class Reader;
  friend struct Member;

  explicit MemberKey(Int index) : name_(nullptr), word_(index) {}
  MemberKey(const WCHAR* name, Ownership ownership);
  MemberKey(const MemberKey& other);
  // Moving hands the name over as it is: nothing is copied or released.
  MemberKey(MemberKey&& other) noexcept : name_(other.name_), word_(other.word_) { other.name_ = nullptr; }
  MemberKey& operator=(const MemberKey& other);
  MemberKey& operator=(MemberKey&& other) noexcept
  {
    std::swap(name_, other.name_);
    std::swap(word_, other.word_);
    return *this;
  }
  ~MemberKey()
  {
    if (name_ != nullptr && word_ != keyShared) {
      releaseName();
    }
  }

  bool operator<(const MemberKey& other) const;
  bool operator==(const MemberKey& other) const;

  bool isIndex() const { return name_ == nullptr; }
  Int index() const { return word_; }
  const WCHAR* name() const { return name_; }
  bool isShared() const { return name_ != nullptr && word_ == keyShared; }

private:
  // A name that the reader cut from its tree's storage: released there, duplicated on copy.
  static constexpr Int keyPooled = 3;
  struct Pooled {};
  MemberKey(const WCHAR* name, Pooled) : name_(name), word_(keyPooled) {}
  void releaseName() noexcept;

  const WCHAR* name_;
  Int word_;  // the index for an index key, the Ownership for a name key
};

class Value;
class ValueIteratorBase;
class ValueIterator;
class ValueConstIterator;
class Reader;
class ArrayValues;
class ObjectValues;
struct Element;
struct Member;
struct ContainerAccess;

class Value {
  friend class ValueIteratorBase;
  friend class Reader;
  friend struct ContainerAccess;
  friend struct Element;
  friend struct Member;

public:
  typedef std::vector<std::u16string> Members;
  typedef ValueIterator iterator;
  typedef ValueConstIterator const_iterator;

  // The shared null that read-only access yields for anything absent.
  static const Value null;

  Value() : type_(nullValue), textOwner_(notOwned), comments_(nullptr) { value_.uint_ = 0; }
  Value(ValueType type);
  Value(Int value) : type_(intValue), textOwner_(notOwned), comments_(nullptr) { value_.int_ = value; }
  Value(UInt value) : type_(uintValue), textOwner_(notOwned), comments_(nullptr) { value_.uint_ = value; }
  Value(double value) : type_(realValue), textOwner_(notOwned), comments_(nullptr) { value_.real_ = value; }
  Value(bool value) : type_(booleanValue), textOwner_(notOwned), comments_(nullptr) { value_.bool_ = value; }
  Value(const WCHAR* text);
  Value(const std::u16string& text);
  Value(const StaticString& text);
  Value(const char* text) = delete;  // narrow text would silently become a boolean
  Value(const Value& other);
  Value(Value&& other) noexcept
      : value_(other.value_), type_(other.type_), textOwner_(other.textOwner_), comments_(other.comments_)
  {
    other.type_ = nullValue;
    other.textOwner_ = notOwned;
    other.comments_ = nullptr;
  }
  ~Value()
  {
    if (type_ >= stringValue || comments_ != nullptr) {
      releaseContents();
    }
  }

  // The target takes the source's type and contents and keeps its own comments.
  Value& operator=(const Value& other);
  Value& operator=(Value&& other) noexcept
  {
    swap(other);
    return *this;
  }
  void swap(Value& other) noexcept
  {
    Holder value = value_;
    value_ = other.value_;
    other.value_ = value;
    uint8_t type = type_;
    type_ = other.type_;
    other.type_ = type;
    uint8_t textOwner = textOwner_;
    textOwner_ = other.textOwner_;
    other.textOwner_ = textOwner;
  }

  ValueType type() const { return static_cast<ValueType>(type_); }
  bool isNull() const { return type_ == nullValue; }
  bool isBool() const { return type_ == booleanValue; }
  bool isInt() const { return type_ == intValue; }
  bool isUInt() const { return type_ == uintValue; }
  bool isIntegral() const;
  bool isDouble() const { return type_ == realValue; }
  bool isNumeric() const;
  bool isString() const { return type_ == stringValue; }
  bool isArray() const { return type_ == nullValue || type_ == arrayValue; }
  bool isObject() const { return type_ == nullValue || type_ == objectValue; }
  bool operator!() const { return isNull(); }

  // The text a string value holds (not a copy); null for any other value.
  const WCHAR* asCString() const;
  // Conversions throw std::runtime_error with a fixed message for a wrong type or range.
  std::u16string asString() const;
  Int asInt() const;
  UInt asUInt() const;
  double asDouble() const;
  bool asBool() const;
  bool isConvertibleTo(ValueType other) const;

  bool operator<(const Value& other) const;
  bool operator<=(const Value& other) const { return !(other < *this); }
  bool operator>(const Value& other) const { return other < *this; }
  bool operator>=(const Value& other) const { return !(*this < other); }
  bool operator==(const Value& other) const;
  bool operator!=(const Value& other) const { return !(*this == other); }

  // Growing access: a null value becomes an array or object first; a missing element or
  // member is created. On a value of the other kind it throws std::runtime_error.
  Value& operator[](UInt index);
  Value& operator[](int index) { return (*this)[static_cast<UInt>(index)]; }
  Value& operator[](const WCHAR* name);
  Value& operator[](const std::u16string& name) { return (*this)[name.c_str()]; }
  Value& operator[](const StaticString& name);
  Value& append(const Value& value);

  // Read-only access: Value::null for anything absent, also on a value of the other kind.
  const Value& operator[](UInt index) const;
  const Value& operator[](int index) const { return (*this)[static_cast<UInt>(index)]; }
  const Value& operator[](const WCHAR* name) const;
  const Value& operator[](const std::u16string& name) const { return (*this)[name.c_str()]; }
  Value get(UInt index, const Value& defaultValue) const;
  Value get(int index, const Value& defaultValue) const { return get(static_cast<UInt>(index), defaultValue); }
  Value get(const WCHAR* name, const Value& defaultValue) const;
  Value get(const std::u16string& name, const Value& defaultValue) const { return get(name.c_str(), defaultValue); }
  bool isMember(const WCHAR* name) const;
  bool isMember(const std::u16string& name) const { return isMember(name.c_str()); }
  bool isValidIndex(UInt index) const { return index < size(); }

  // An array's size is its highest index plus one; an object's its member count; else 0.
  UInt size() const;
  bool empty() const;
  void clear();
  void resize(UInt size);
  Value removeMember(const WCHAR* name);
  Value removeMember(const std::u16string& name) { return removeMember(name.c_str()); }
  // The member names in member order; empty for anything but an object.
  Members getMemberNames() const;

  const_iterator begin() const;
  const_iterator end() const;
  iterator begin();
  iterator end();

  // A comment must be empty or begin with '/', else std::runtime_error.
  void setComment(const WCHAR* comment, CommentPlacement placement);
  void setComment(const std::u16string& comment, CommentPlacement placement) { setComment(comment.c_str(), placement); }
  bool hasComment(CommentPlacement placement) const { return comments_ != nullptr && comments_[placement] != nullptr; }
  std::u16string getComment(CommentPlacement placement) const;

  std::u16string toStyledString() const;

private:
  // The entries an array or object holds; 0 for any other value.
  size_t containerCount() const;
  const WCHAR* commentText(CommentPlacement placement) const;
  // Takes a NUL-terminated text made by the allocator's duplicateStringValue.
  static Value adoptString(WCHAR* text);
  // Exchanges everything, comments included: how containers move their entries about.
  void exchangeAll(Value& other) noexcept
  {
    swap(other);
    WCHAR** comments = comments_;
    comments_ = other.comments_;
    other.comments_ = comments;
  }
  // Releases an owned text, a container and the comments.
  void releaseContents() noexcept;

  union Holder {
    Int int_;
    UInt uint_;
    double real_;
    bool bool_;
    WCHAR* string_;
    ArrayValues* array_;
    ObjectValues* object_;
  } value_;
  // Who releases the text of a string value.
  enum TextOwner : uint8_t { notOwned, ownedByAllocator, ownedByPool };

  uint8_t type_;
  uint8_t textOwner_;
  WCHAR** comments_;  // three slots, created by the first setComment
};

}  // namespace Json

#include "json/value_iterator.h"
