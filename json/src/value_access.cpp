// Elements, members, sizes and member lists of arrays and objects.
#include <stdexcept>

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
  MemberKey key(static_cast<Int>(index));
  auto found = value_.map_->lower_bound(key);
  if (found != value_.map_->end() && found->first == key) {
    return found->second;
  }
  return value_.map_->emplace_hint(found, key, null)->second;
}

namespace {

Value& growMember(Value::ObjectValues& members, const MemberKey& key)
{
  auto found = members.lower_bound(key);
  if (found != members.end() && found->first == key) {
    return found->second;
  }
  return members.emplace_hint(found, key, Value::null)->second;
}

}  // namespace

Value& Value::operator[](const WCHAR* name)
{
  if (type_ == nullValue) {
    *this = Value(objectValue);
  } else if (type_ != objectValue) {
    throw std::runtime_error(notAnObject);
  }
  return growMember(*value_.map_, MemberKey(name != nullptr ? name : u"", MemberKey::keyDuplicateOnCopy));
}

Value& Value::operator[](const StaticString& name)
{
  if (type_ == nullValue) {
    *this = Value(objectValue);
  } else if (type_ != objectValue) {
    throw std::runtime_error(notAnObject);
  }
  return growMember(*value_.map_, MemberKey(name.c_str(), MemberKey::keyShared));
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
  auto found = value_.map_->find(MemberKey(static_cast<Int>(index)));
  return found != value_.map_->end() ? found->second : null;
}

const Value& Value::operator[](const WCHAR* name) const
{
  if (type_ != objectValue || name == nullptr) {
    return null;
  }
  auto found = value_.map_->find(MemberKey(name, MemberKey::keyShared));
  return found != value_.map_->end() ? found->second : null;
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
      return value_.map_->empty() ? 0 : static_cast<UInt>(value_.map_->rbegin()->first.index()) + 1;
    case objectValue:
      return static_cast<UInt>(value_.map_->size());
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
  if (hasContainer()) {
    value_.map_->clear();
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
    value_.map_->erase(value_.map_->lower_bound(MemberKey(static_cast<Int>(newSize))), value_.map_->end());
  }
}

Value Value::removeMember(const WCHAR* name)
{
  if (type_ != objectValue || name == nullptr) {
    return null;
  }
  auto found = value_.map_->find(MemberKey(name, MemberKey::keyShared));
  if (found == value_.map_->end()) {
    return null;
  }
  Value removed(found->second);
  value_.map_->erase(found);
  return removed;
}

Value::Members Value::getMemberNames() const
{
  Members names;
  if (type_ != objectValue) {
    return names;
  }
  names.reserve(value_.map_->size());
  for (const auto& member : *value_.map_) {
    names.emplace_back(member.first.name());
  }
  return names;
}

Value::const_iterator Value::begin() const
{
  return hasContainer() ? const_iterator(value_.map_->begin()) : const_iterator();
}

Value::const_iterator Value::end() const
{
  return hasContainer() ? const_iterator(value_.map_->end()) : const_iterator();
}

Value::iterator Value::begin()
{
  return hasContainer() ? iterator(value_.map_->begin()) : iterator();
}

Value::iterator Value::end()
{
  return hasContainer() ? iterator(value_.map_->end()) : iterator();
}

}  // namespace Json
