// Keys of the shared array/object container: indexes order as signed numbers, names by
// UTF-16 code unit.
#include <utility>

#include "containers.h"
#include "json/value.h"
#include "tree_pool.h"

namespace Json {

MemberKey::MemberKey(const WCHAR* name, Ownership ownership)
    : name_(ownership == keyOwned ? valueAllocator()->makeMemberName(name) : name), word_(ownership)
{
}

MemberKey::MemberKey(const MemberKey& other)
    : name_(other.name_ != nullptr && other.word_ != keyShared ? valueAllocator()->makeMemberName(other.name_)
                                                                : other.name_),
      word_(other.name_ == nullptr ? other.word_ : (other.word_ != keyShared ? keyOwned : keyShared))
{
}

MemberKey& MemberKey::operator=(const MemberKey& other)
{
  MemberKey temporary(other);
  std::swap(name_, temporary.name_);
  std::swap(word_, temporary.word_);
  return *this;
}

void MemberKey::releaseName() noexcept
{
  if (word_ == keyOwned) {
    valueAllocator()->releaseMemberName(const_cast<WCHAR*>(name_));
  } else if (word_ == keyPooled) {
    TreePool::release(const_cast<WCHAR*>(name_));
  }
}

bool MemberKey::operator<(const MemberKey& other) const
{
  // One container never mixes the two kinds; should two meet, indexes come first.
  if (name_ == nullptr || other.name_ == nullptr) {
    if (name_ == nullptr && other.name_ == nullptr) {
      return word_ < other.word_;
    }
    return name_ == nullptr;
  }
  return compareNames(name_, other.name_) < 0;
}

bool MemberKey::operator==(const MemberKey& other) const
{
  if (name_ == nullptr || other.name_ == nullptr) {
    return name_ == other.name_ && word_ == other.word_;
  }
  return compareNames(name_, other.name_) == 0;
}

}  // namespace Json
