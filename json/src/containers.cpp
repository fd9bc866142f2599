// Finding, adding, removing and comparing the entries of arrays and objects.
#include "containers.h"

#include <algorithm>
#include <cstdint>
#include <numeric>

#include "tree_pool.h"

namespace Json {

namespace {

// Containers are allocated with room for `room` entries right after them, in one block.
template <class Entry>
void* blockWithRoom(size_t header, size_t room, Entry*& entries, TreePool* pool = nullptr)
{
  const size_t bytes = header + room * sizeof(Entry);
  void* block = pool != nullptr ? pool->allocate(bytes) : ::operator new(bytes);
  entries = reinterpret_cast<Entry*>(static_cast<char*>(block) + header);
  return block;
}

template <class Container>
void releaseBlock(Container* container, bool pooled, TreePool::ReleaseBatch& batch)
{
  if (pooled) {
    batch.add(container);
  } else {
    ::operator delete(container);
  }
}

}  // namespace

void Element::release(Value& value, TreePool::ReleaseBatch& batch) noexcept
{
  if (value.comments_ == nullptr) {
    switch (value.type_) {
      case stringValue:
        if (value.textOwner_ != Value::ownedByPool) {
          break;
        }
        batch.add(value.value_.string_);
        value.textOwner_ = Value::notOwned;
        value.type_ = nullValue;
        return;
      case arrayValue:
        ArrayValues::Destroy(value.value_.array_, batch);
        value.type_ = nullValue;
        return;
      case objectValue:
        ObjectValues::Destroy(value.value_.object_, batch);
        value.type_ = nullValue;
        return;
      default:
        value.type_ = nullValue;
        return;
    }
  }
  Value released;
  released.exchangeAll(value);  // destroyed the usual way
}

void Member::release(TreePool::ReleaseBatch& batch) noexcept
{
  if (key.name_ != nullptr && key.word_ != MemberKey::keyShared) {
    if (key.word_ == MemberKey::keyPooled) {
      batch.add(const_cast<WCHAR*>(key.name_));
    } else {
      key.releaseName();
    }
    key.name_ = nullptr;
  }
  Element::release(value, batch);
}

ArrayValues* ArrayValues::Create(size_t room)
{
  static_assert(sizeof(ArrayValues) % alignof(Element) == 0);
  Element* entries = nullptr;
  void* block = blockWithRoom(sizeof(ArrayValues), room, entries);
  return new (block) ArrayValues(entries, room);
}

ArrayValues* ArrayValues::CreateIn(TreePool& pool, size_t room)
{
  Element* entries = nullptr;
  void* block = blockWithRoom(sizeof(ArrayValues), room, entries, &pool);
  auto* made = new (block) ArrayValues(entries, room);
  made->pooled_ = true;
  return made;
}

ArrayValues* ArrayValues::Copy(const ArrayValues& other)
{
  ArrayValues* copy = Create(other.count());
  try {
    copy->indexes_ = other.indexes_;
    for (size_t position = 0; position < other.count(); ++position) {
      copy->elements_.emplace_back(other.elements_[position]);
    }
  } catch (...) {
    Destroy(copy);
    throw;
  }
  return copy;
}

void ArrayValues::Destroy(ArrayValues* array)
{
  TreePool::ReleaseBatch batch;
  Destroy(array, batch);
}

void ArrayValues::Destroy(ArrayValues* array, TreePool::ReleaseBatch& batch) noexcept
{
  for (size_t position = 0; position < array->elements_.size(); ++position) {
    Element::release(array->elements_[position].value, batch);
  }
  array->elements_.forgetEmptied();
  const bool pooled = array->pooled_;
  array->~ArrayValues();
  releaseBlock(array, pooled, batch);
}

UInt ArrayValues::size() const
{
  if (elements_.empty()) {
    return 0;
  }
  return dense() ? static_cast<UInt>(elements_.size()) : static_cast<UInt>(indexes_.back()) + 1;
}

size_t ArrayValues::lowerBound(Int index) const
{
  return static_cast<size_t>(std::lower_bound(indexes_.begin(), indexes_.end(), index) - indexes_.begin());
}

const Value* ArrayValues::find(UInt index) const
{
  const Int key = static_cast<Int>(index);
  if (index < elements_.size() && key >= 0 && indexAt(index) == key) {
    return &elements_[index].value;
  }
  if (dense()) {
    return nullptr;
  }
  size_t position = lowerBound(key);
  return position < indexes_.size() && indexes_[position] == key ? &elements_[position].value : nullptr;
}

Value& ArrayValues::grow(UInt index)
{
  const Int key = static_cast<Int>(index);
  if (dense()) {
    if (key >= 0 && index < elements_.size()) {
      return elements_[index].value;
    }
    if (key >= 0 && index == elements_.size()) {
      return elements_.emplace_back().value;
    }
    // A gap, or an index that orders before 0: from now on each element keeps its index.
    std::vector<Int> indexes(elements_.size());
    std::iota(indexes.begin(), indexes.end(), 0);
    indexes_ = std::move(indexes);
  }
  size_t position = lowerBound(key);
  if (position < indexes_.size() && indexes_[position] == key) {
    return elements_[position].value;
  }
  // Room first, so that the two insertions cannot fail half way.
  elements_.reserve(elements_.size() + 1);
  indexes_.reserve(indexes_.size() + 1);
  indexes_.insert(indexes_.begin() + static_cast<ptrdiff_t>(position), key);
  return elements_.emplace(position).value;
}

void ArrayValues::truncate(UInt size)
{
  const Int key = static_cast<Int>(size);
  size_t position = dense() ? (key < 0 ? 0 : std::min<size_t>(size, elements_.size())) : lowerBound(key);
  elements_.erase(position, elements_.size());
  if (!dense()) {
    indexes_.erase(indexes_.begin() + static_cast<ptrdiff_t>(position), indexes_.end());
  }
}

void ArrayValues::clear()
{
  elements_.clear();
  indexes_.clear();
}

void ArrayValues::adopt(std::vector<Element>& elements)
{
  elements_.reserve(elements.size());
  for (Element& element : elements) {
    elements_.emplace_back(std::move(element));
  }
  elements.clear();
}

bool ArrayValues::operator==(const ArrayValues& other) const
{
  if (count() != other.count()) {
    return false;
  }
  for (size_t position = 0; position < count(); ++position) {
    if (indexAt(position) != other.indexAt(position) || !(valueAt(position) == other.valueAt(position))) {
      return false;
    }
  }
  return true;
}

// Fewer elements first; then the first (index, value) pair that differs decides.
bool ArrayValues::operator<(const ArrayValues& other) const
{
  if (count() != other.count()) {
    return count() < other.count();
  }
  for (size_t position = 0; position < count(); ++position) {
    Int mine = indexAt(position), theirs = other.indexAt(position);
    if (mine != theirs) {
      return mine < theirs;
    }
    if (valueAt(position) < other.valueAt(position)) {
      return true;
    }
    if (other.valueAt(position) < valueAt(position)) {
      return false;
    }
  }
  return false;
}

ObjectValues* ObjectValues::Create(size_t room)
{
  static_assert(sizeof(ObjectValues) % alignof(Member) == 0);
  Member* entries = nullptr;
  void* block = blockWithRoom(sizeof(ObjectValues), room, entries);
  return new (block) ObjectValues(entries, room);
}

ObjectValues* ObjectValues::CreateIn(TreePool& pool, size_t room)
{
  Member* entries = nullptr;
  void* block = blockWithRoom(sizeof(ObjectValues), room, entries, &pool);
  auto* made = new (block) ObjectValues(entries, room);
  made->pooled_ = true;
  return made;
}

ObjectValues* ObjectValues::Copy(const ObjectValues& other)
{
  ObjectValues* copy = Create(other.count());
  try {
    for (size_t position = 0; position < other.count(); ++position) {
      copy->members_.emplace_back(other.members_[position]);
    }
  } catch (...) {
    Destroy(copy);
    throw;
  }
  return copy;
}

void ObjectValues::Destroy(ObjectValues* object)
{
  TreePool::ReleaseBatch batch;
  Destroy(object, batch);
}

void ObjectValues::Destroy(ObjectValues* object, TreePool::ReleaseBatch& batch) noexcept
{
  for (size_t position = 0; position < object->members_.size(); ++position) {
    object->members_[position].release(batch);
  }
  object->members_.forgetEmptied();
  const bool pooled = object->pooled_;
  object->~ObjectValues();
  releaseBlock(object, pooled, batch);
}

size_t ObjectValues::lowerBound(const WCHAR* name, bool& found) const
{
  size_t low = 0, high = members_.size();
  while (low < high) {
    size_t middle = low + (high - low) / 2;
    if (compareNames(members_[middle].key.name(), name) < 0) {
      low = middle + 1;
    } else {
      high = middle;
    }
  }
  found = low < members_.size() && compareNames(members_[low].key.name(), name) == 0;
  return low;
}

const Value* ObjectValues::find(const WCHAR* name) const
{
  bool found = false;
  size_t position = lowerBound(name, found);
  return found ? &members_[position].value : nullptr;
}

Value& ObjectValues::grow(const MemberKey& key)
{
  bool found = false;
  size_t position = lowerBound(key.name(), found);
  if (found) {
    return members_[position].value;
  }
  return insertAt(position, MemberKey(key));
}

Value& ObjectValues::insertAt(size_t position, MemberKey&& key)
{
  return members_.emplace(position, std::move(key)).value;
}

void ObjectValues::removeAt(size_t position)
{
  members_.erase(position, position + 1);
}

void ObjectValues::adopt(std::vector<Member>& members, const std::vector<uint32_t>& order)
{
  members_.reserve(members.size());
  for (uint32_t position : order) {
    members_.emplace_back(std::move(members[position]));
  }
  members.clear();
}

bool ObjectValues::operator==(const ObjectValues& other) const
{
  if (count() != other.count()) {
    return false;
  }
  for (size_t position = 0; position < count(); ++position) {
    const Member& mine = members_[position];
    const Member& theirs = other.members_[position];
    if (compareNames(mine.key.name(), theirs.key.name()) != 0 || !(mine.value == theirs.value)) {
      return false;
    }
  }
  return true;
}

// Fewer members first; then the first (name, value) pair that differs decides.
bool ObjectValues::operator<(const ObjectValues& other) const
{
  if (count() != other.count()) {
    return count() < other.count();
  }
  for (size_t position = 0; position < count(); ++position) {
    const Member& mine = members_[position];
    const Member& theirs = other.members_[position];
    int names = compareNames(mine.key.name(), theirs.key.name());
    if (names != 0) {
      return names < 0;
    }
    if (mine.value < theirs.value) {
      return true;
    }
    if (theirs.value < mine.value) {
      return false;
    }
  }
  return false;
}

}  // namespace Json
