// The entries of one array or object, side by side. A list may start in room that its
// container was allocated with (right after it), so that an array or object read whole costs
// one allocation; growing beyond that room moves the entries to room of their own. Entries
// move by their move operations, which for Element and Member take the comments along.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <utility>

namespace Json {

template <class Entry>
class EntryList {
public:
  EntryList() = default;
  // Starts in `room` for `capacity` entries, which the list does not own.
  EntryList(Entry* room, size_t capacity) : data_(room), capacity_(static_cast<uint32_t>(capacity)), ownsRoom_(false) {}
  EntryList(const EntryList&) = delete;
  EntryList& operator=(const EntryList&) = delete;
  ~EntryList()
  {
    clear();
    release();
  }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  Entry* data() { return data_; }
  const Entry* data() const { return data_; }
  Entry& operator[](size_t position) { return data_[position]; }
  const Entry& operator[](size_t position) const { return data_[position]; }
  Entry& back() { return data_[size_ - 1]; }

  void reserve(size_t capacity)
  {
    if (capacity > capacity_) {
      moveTo(capacity);
    }
  }

  template <class... Args>
  Entry& emplace_back(Args&&... args)
  {
    if (size_ == capacity_) {
      moveTo(capacity_ < 4 ? 4 : size_t{capacity_} * 2);
    }
    Entry* entry = new (data_ + size_) Entry(std::forward<Args>(args)...);
    ++size_;
    return *entry;
  }

  // Inserts at `position`, moving the later entries up by one.
  template <class... Args>
  Entry& emplace(size_t position, Args&&... args)
  {
    Entry entry(std::forward<Args>(args)...);
    if (size_ == capacity_) {
      moveTo(capacity_ < 4 ? 4 : size_t{capacity_} * 2);
    }
    if (position == size_) {
      return emplace_back(std::move(entry));
    }
    emplace_back(std::move(data_[size_ - 1]));
    for (size_t i = size_ - 2; i > position; --i) {
      data_[i] = std::move(data_[i - 1]);
    }
    data_[position] = std::move(entry);
    return data_[position];
  }

  // Removes the entries from `first` up to (not including) `last`.
  void erase(size_t first, size_t last)
  {
    const size_t removed = last - first;
    for (size_t i = first; i + removed < size_; ++i) {
      data_[i] = std::move(data_[i + removed]);
    }
    for (size_t i = size_ - removed; i < size_; ++i) {
      data_[i].~Entry();
    }
    size_ -= static_cast<uint32_t>(removed);
  }

  // Drops entries that hold nothing any more without running their destruction.
  void forgetEmptied() { size_ = 0; }

  void clear()
  {
    for (size_t i = 0; i < size_; ++i) {
      data_[i].~Entry();
    }
    size_ = 0;
  }

private:
  void moveTo(size_t capacity)
  {
    auto* room = static_cast<Entry*>(::operator new(capacity * sizeof(Entry)));
    for (size_t i = 0; i < size_; ++i) {
      new (room + i) Entry(std::move(data_[i]));
      data_[i].~Entry();
    }
    release();
    data_ = room;
    capacity_ = static_cast<uint32_t>(capacity);
    ownsRoom_ = true;
  }
  void release()
  {
    if (ownsRoom_) {
      ::operator delete(data_);
    }
  }

  Entry* data_ = nullptr;
  uint32_t size_ = 0;
  uint32_t capacity_ = 0;
  bool ownsRoom_ = true;
};

}  // namespace Json
