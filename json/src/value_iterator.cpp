// Positions, keys and distances of value iterators.
#include "containers.h"
#include "json/value.h"

namespace Json {

ValueIteratorBase::ValueIteratorBase(const Value& value, size_t position) : position_(position)
{
  if (value.type_ == arrayValue) {
    array_ = value.value_.array_;
  } else if (value.type_ == objectValue) {
    object_ = value.value_.object_;
  }
}

Value& ValueIteratorBase::deref() const
{
  return array_ != nullptr ? array_->valueAt(position_) : object_->memberAt(position_).value;
}

bool ValueIteratorBase::operator==(const ValueIteratorBase& other) const
{
  if (isNull() || other.isNull()) {
    return isNull() == other.isNull();
  }
  return array_ == other.array_ && object_ == other.object_ && position_ == other.position_;
}

int ValueIteratorBase::distance(const ValueIteratorBase& other) const
{
  if (isNull() || other.isNull()) {
    return 0;
  }
  return static_cast<int>(static_cast<ptrdiff_t>(other.position_) - static_cast<ptrdiff_t>(position_));
}

Value ValueIteratorBase::key() const
{
  if (array_ != nullptr) {
    return Value(array_->indexAt(position_));
  }
  const MemberKey& key = object_->memberAt(position_).key;
  if (key.isShared()) {
    return Value(StaticString(key.name()));
  }
  return Value(key.name());
}

UInt ValueIteratorBase::index() const
{
  return array_ != nullptr ? static_cast<UInt>(array_->indexAt(position_)) : 0xFFFFFFFFu;
}

const WCHAR* ValueIteratorBase::memberName() const
{
  return array_ != nullptr ? u"" : object_->memberAt(position_).key.name();
}

}  // namespace Json
