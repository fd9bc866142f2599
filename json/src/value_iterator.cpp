// Positions, keys and distances of value iterators.
#include "json/value.h"

namespace Json {

bool ValueIteratorBase::operator==(const ValueIteratorBase& other) const
{
  if (isNull_ || other.isNull_) {
    return isNull_ == other.isNull_;
  }
  return current_ == other.current_;
}

int ValueIteratorBase::distance(const ValueIteratorBase& other) const
{
  if (isNull_ || other.isNull_) {
    return 0;
  }
  int moves = 0;
  for (auto position = current_; position != other.current_; ++position) {
    ++moves;
  }
  return moves;
}

Value ValueIteratorBase::key() const
{
  const MemberKey& key = current_->first;
  if (key.isIndex()) {
    return Value(key.index());
  }
  if (key.isShared()) {
    return Value(StaticString(key.name()));
  }
  return Value(key.name());
}

}  // namespace Json
