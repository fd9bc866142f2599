// Elements, members, sizes and member lists of arrays and objects.
#include <stdexcept>

#include "containers.h"
#include "json/value.h"

namespace Json {

namespace {

const char* const notAnArray = "Value is not an array";
const char* const notAnObject = "Value is not an object";

}  // namespace

Value& Value::operator[](UInt index)
{
  if (type_ == nullValue) {
    *this = Value(arrayValue);
  } else if (type_ != arrayValue) {
    throw std::runtime_error(notAnArray);
  }
  return value_.array_->grow(index);
}

Value& Value::operator[](const WCHAR* name)
{
  if (type_ == nullValue) {
    *this = Value(objectValue);
  } else if (type_ != objectValue) {
    throw std::runtime_error(notAnObject);
  }
  return value_.object_->grow(MemberKey(name != nullptr ? name : u"", MemberKey::keyDuplicateOnCopy));
}

Value& Value::operator[](const StaticString& name)
{
  if (type_ == nullValue) {
    *this = Value(objectValue);
  } else if (type_ != objectValue) {
    throw std::runtime_error(notAnObject);
  }
  return value_.object_->grow(MemberKey(name.c_str(), MemberKey::keyShared));
}

Value& Value::append(const Value& value)
{
  return (*this)[size()] = value;
}

const Value& Value::operator[](UInt index) const
{
  if (type_ != arrayValue) {
    return null;
  }
  const Value* found = value_.array_->find(index);
  return found != nullptr ? *found : null;
}

const Value& Value::operator[](const WCHAR* name) const
{
  if (type_ != objectValue || name == nullptr) {
    return null;
  }
  const Value* found = value_.object_->find(name);
  return found != nullptr ? *found : null;
}

Value Value::get(UInt index, const Value& defaultValue) const
{
  const Value& found = (*this)[index];
  return &found == &null ? defaultValue : found;
}

Value Value::get(const WCHAR* name, const Value& defaultValue) const
{
  const Value& found = (*this)[name];
  return &found == &null ? defaultValue : found;
}

bool Value::isMember(const WCHAR* name) const
{
  return &(*this)[name] != &null;
}

UInt Value::size() const
{
  switch (type_) {
    case arrayValue:
      return value_.array_->size();
    case objectValue:
      return static_cast<UInt>(value_.object_->count());
    default:
      return 0;
  }
}

bool Value::empty() const
{
  return (type_ == nullValue || type_ == arrayValue || type_ == objectValue) && size() == 0;
}

void Value::clear()
{
  if (type_ == arrayValue) {
    value_.array_->clear();
  } else if (type_ == objectValue) {
    value_.object_->clear();
  }
}

void Value::resize(UInt newSize)
{
  if (type_ == nullValue) {
    *this = Value(arrayValue);
  } else if (type_ != arrayValue) {
    throw std::runtime_error(notAnArray);
  }
  UInt oldSize = size();
  if (newSize == 0) {
    clear();
  } else if (newSize > oldSize) {
    (*this)[newSize - 1];
  } else {
    value_.array_->truncate(newSize);
  }
}

Value Value::removeMember(const WCHAR* name)
{
  if (type_ != objectValue || name == nullptr) {
    return null;
  }
  bool found = false;
  size_t position = value_.object_->lowerBound(name, found);
  if (!found) {
    return null;
  }
  Value removed(value_.object_->memberAt(position).value);
  value_.object_->removeAt(position);
  return removed;
}

Value::Members Value::getMemberNames() const
{
  Members names;
  if (type_ != objectValue) {
    return names;
  }
  const ObjectValues& members = *value_.object_;
  names.reserve(members.count());
  for (size_t position = 0; position < members.count(); ++position) {
    names.emplace_back(members.memberAt(position).key.name());
  }
  return names;
}

Value::const_iterator Value::begin() const
{
  return const_iterator(*this, 0);
}

Value::const_iterator Value::end() const
{
  return const_iterator(*this, containerCount());
}

Value::iterator Value::begin()
{
  return iterator(*this, 0);
}

Value::iterator Value::end()
{
  return iterator(*this, containerCount());
}

size_t Value::containerCount() const
{
  switch (type_) {
    case arrayValue:
      return value_.array_->count();
    case objectValue:
      return value_.object_->count();
    default:
      return 0;
  }
}

}  // namespace Json
