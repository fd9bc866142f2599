// Construction, copying, conversions, ordering and comments of a value.
#include <stdexcept>
#include <utility>

#include "containers.h"
#include "json/value.h"
#include "json/writer.h"
#include "text/widechar.h"
#include "tree_pool.h"

namespace Json {

const Value Value::null;

namespace {

[[noreturn]] void fail(const char* message)
{
  throw std::runtime_error(message);
}

WCHAR* duplicate(const WCHAR* text, size_t length = ValueAllocator::untilNul)
{
  return valueAllocator()->duplicateStringValue(text, length);
}

void release(WCHAR* text)
{
  if (text != nullptr) {
    valueAllocator()->releaseStringValue(text);
  }
}

}  // namespace

Value::Value(ValueType type) : type_(static_cast<uint8_t>(type)), textOwner_(notOwned), comments_(nullptr)
{
  switch (type) {
    case nullValue:
    case intValue:
    case uintValue:
      value_.uint_ = 0;
      break;
    case realValue:
      value_.real_ = 0.0;
      break;
    case stringValue:
      value_.string_ = nullptr;
      break;
    case booleanValue:
      value_.bool_ = false;
      break;
    case arrayValue:
      value_.array_ = ArrayValues::Create(0);
      break;
    case objectValue:
      value_.object_ = ObjectValues::Create(0);
      break;
  }
}

Value::Value(const WCHAR* text) : type_(stringValue), textOwner_(text != nullptr ? ownedByAllocator : notOwned), comments_(nullptr)
{
  value_.string_ = text != nullptr ? duplicate(text) : nullptr;
}

Value::Value(const std::u16string& text) : type_(stringValue), textOwner_(ownedByAllocator), comments_(nullptr)
{
  value_.string_ = duplicate(text.data(), text.size());
}

Value::Value(const StaticString& text) : type_(stringValue), textOwner_(notOwned), comments_(nullptr)
{
  value_.string_ = const_cast<WCHAR*>(text.c_str());
}

Value Value::adoptString(WCHAR* text)
{
  Value value(stringValue);
  value.value_.string_ = text;
  value.textOwner_ = ownedByAllocator;
  return value;
}

Value::Value(const Value& other) : type_(other.type_), textOwner_(notOwned), comments_(nullptr)
{
  switch (type_) {
    case stringValue:
      if (other.value_.string_ != nullptr) {
        value_.string_ = duplicate(other.value_.string_);
        textOwner_ = ownedByAllocator;
      } else {
        value_.string_ = nullptr;
      }
      break;
    case arrayValue:
      value_.array_ = ArrayValues::Copy(*other.value_.array_);
      break;
    case objectValue:
      value_.object_ = ObjectValues::Copy(*other.value_.object_);
      break;
    default:
      value_ = other.value_;
      break;
  }
  if (other.comments_ != nullptr) {
    try {
      for (int slot = 0; slot < numberOfCommentPlacement; ++slot) {
        if (other.comments_[slot] != nullptr) {
          setComment(other.comments_[slot], static_cast<CommentPlacement>(slot));
        }
      }
    } catch (...) {
      this->~Value();
      throw;
    }
  }
}

void Value::releaseContents() noexcept
{
  switch (type_) {
    case stringValue:
      if (textOwner_ == ownedByAllocator) {
        release(value_.string_);
      } else if (textOwner_ == ownedByPool) {
        TreePool::release(value_.string_);
      }
      break;
    case arrayValue:
      ArrayValues::Destroy(value_.array_);
      break;
    case objectValue:
      ObjectValues::Destroy(value_.object_);
      break;
    default:
      break;
  }
  if (comments_ != nullptr) {
    for (int slot = 0; slot < numberOfCommentPlacement; ++slot) {
      release(comments_[slot]);
    }
    delete[] comments_;
  }
}

Value& Value::operator=(const Value& other)
{
  Value temporary(other);
  swap(temporary);
  return *this;
}

bool Value::isIntegral() const
{
  return type_ == intValue || type_ == uintValue || type_ == booleanValue;
}

bool Value::isNumeric() const
{
  return isIntegral() || type_ == realValue;
}

const WCHAR* Value::asCString() const
{
  return type_ == stringValue ? value_.string_ : nullptr;
}

std::u16string Value::asString() const
{
  switch (type_) {
    case nullValue:
      return std::u16string();
    case stringValue:
      return value_.string_ != nullptr ? std::u16string(value_.string_) : std::u16string();
    case booleanValue:
      return value_.bool_ ? u"true" : u"false";
    default:
      fail("Type is not convertible to string");
  }
}

Int Value::asInt() const
{
  switch (type_) {
    case nullValue:
      return 0;
    case intValue:
      return value_.int_;
    case uintValue:
      if (value_.uint_ > 2147483647u) {
        fail("integer out of signed integer range");
      }
      return static_cast<Int>(value_.uint_);
    case realValue:
      if (!(value_.real_ >= -2147483648.0 && value_.real_ <= 2147483647.0)) {
        fail("Real out of signed integer range");
      }
      return static_cast<Int>(value_.real_);
    case booleanValue:
      return value_.bool_ ? 1 : 0;
    default:
      fail("Type is not convertible to int");
  }
}

UInt Value::asUInt() const
{
  switch (type_) {
    case nullValue:
      return 0;
    case intValue:
      if (value_.int_ < 0) {
        fail("Negative integer can not be converted to unsigned integer");
      }
      return static_cast<UInt>(value_.int_);
    case uintValue:
      return value_.uint_;
    case realValue:
      if (!(value_.real_ >= 0.0 && value_.real_ <= 4294967295.0)) {
        fail("Real out of unsigned integer range");
      }
      return static_cast<UInt>(value_.real_);
    case booleanValue:
      return value_.bool_ ? 1 : 0;
    default:
      fail("Type is not convertible to uint");
  }
}

double Value::asDouble() const
{
  switch (type_) {
    case nullValue:
      return 0.0;
    case intValue:
      return value_.int_;
    case uintValue:
      return value_.uint_;
    case realValue:
      return value_.real_;
    case booleanValue:
      return value_.bool_ ? 1.0 : 0.0;
    default:
      fail("Type is not convertible to double");
  }
}

bool Value::asBool() const
{
  switch (type_) {
    case intValue:
    case uintValue:
      return value_.uint_ != 0;
    case realValue:
      return value_.real_ != 0.0;
    case stringValue:
      return value_.string_ != nullptr && value_.string_[0] != 0;
    case booleanValue:
      return value_.bool_;
    case arrayValue:
      return value_.array_->count() != 0;
    case objectValue:
      return value_.object_->count() != 0;
    default:
      return false;
  }
}

bool Value::isConvertibleTo(ValueType other) const
{
  switch (type_) {
    case nullValue:
      return true;
    case intValue:
      return (other == nullValue && value_.int_ == 0) || other == intValue ||
             (other == uintValue && value_.int_ >= 0) || other == realValue || other == stringValue ||
             other == booleanValue;
    case uintValue:
      return (other == nullValue && value_.uint_ == 0) || (other == intValue && value_.uint_ <= 2147483647u) ||
             other == uintValue || other == realValue || other == stringValue || other == booleanValue;
    case realValue:
      return (other == nullValue && value_.real_ == 0.0) ||
             (other == intValue && value_.real_ >= -2147483648.0 && value_.real_ <= 2147483647.0) ||
             (other == uintValue && value_.real_ >= 0.0 && value_.real_ <= 4294967295.0) || other == realValue ||
             other == stringValue || other == booleanValue;
    case stringValue:
      return (other == nullValue && (value_.string_ == nullptr || value_.string_[0] == 0)) || other == stringValue;
    case booleanValue:
      return (other == nullValue && !value_.bool_) || other == intValue || other == uintValue ||
             other == realValue || other == stringValue || other == booleanValue;
    case arrayValue:
      return (other == nullValue && value_.array_->count() == 0) || other == arrayValue;
    case objectValue:
      return (other == nullValue && value_.object_->count() == 0) || other == objectValue;
  }
  return false;
}

bool Value::operator<(const Value& other) const
{
  if (type_ != other.type_) {
    return type_ < other.type_;
  }
  switch (type_) {
    case intValue:
      return value_.int_ < other.value_.int_;
    case uintValue:
      return value_.uint_ < other.value_.uint_;
    case realValue:
      return value_.real_ < other.value_.real_;
    case booleanValue:
      return value_.bool_ < other.value_.bool_;
    case stringValue:
      if (value_.string_ == nullptr || other.value_.string_ == nullptr) {
        return other.value_.string_ != nullptr;
      }
      return wcscmp(value_.string_, other.value_.string_) < 0;
    case arrayValue:
      return *value_.array_ < *other.value_.array_;
    case objectValue:
      return *value_.object_ < *other.value_.object_;
    default:
      return false;
  }
}

bool Value::operator==(const Value& other) const
{
  if (type_ != other.type_) {
    return false;
  }
  switch (type_) {
    case intValue:
      return value_.int_ == other.value_.int_;
    case uintValue:
      return value_.uint_ == other.value_.uint_;
    case realValue:
      return value_.real_ == other.value_.real_;
    case booleanValue:
      return value_.bool_ == other.value_.bool_;
    case stringValue:
      if (value_.string_ == other.value_.string_) {
        return true;
      }
      if (value_.string_ == nullptr || other.value_.string_ == nullptr) {
        return false;
      }
      return wcscmp(value_.string_, other.value_.string_) == 0;
    case arrayValue:
      return *value_.array_ == *other.value_.array_;
    case objectValue:
      return *value_.object_ == *other.value_.object_;
    default:
      return true;
  }
}

void Value::setComment(const WCHAR* comment, CommentPlacement placement)
{
  if (comments_ == nullptr) {
    comments_ = new WCHAR*[numberOfCommentPlacement]();
  }
  WCHAR*& slot = comments_[placement];
  release(slot);
  slot = nullptr;
  if (comment == nullptr) {
    comment = u"";
  }
  if (comment[0] != 0 && comment[0] != u'/') {
    fail("Comments must start with /");
  }
  slot = duplicate(comment);
}

const WCHAR* Value::commentText(CommentPlacement placement) const
{
  return comments_ != nullptr ? comments_[placement] : nullptr;
}

std::u16string Value::getComment(CommentPlacement placement) const
{
  const WCHAR* text = commentText(placement);
  return text != nullptr ? std::u16string(text) : std::u16string();
}

std::u16string Value::toStyledString() const
{
  StyledWriter writer;
  return writer.write(*this);
}

}  // namespace Json
