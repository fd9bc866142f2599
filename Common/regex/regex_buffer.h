// Growable arrays of the regular-expression engine: integers, characters, node pointers and
// capture records. Appending to a full array doubles its capacity (at least 8 entries). The first
// few entries live inside the object, so the short stacks of a typical match never allocate.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

template <typename T>
class CRegexBufferRef {
 public:
  CRegexBufferRef() = default;
  CRegexBufferRef(const T* data, int length) : m_data(data), m_length(length) {}

  const T* Data() const { return m_data; }
  int GetLength() const { return m_length; }
  const T& operator[](int index) const { return m_data[index]; }

 private:
  const T* m_data = nullptr;
  int m_length = 0;
};

template <typename T, int InlineCount = 8>
class CRegexBuffer {
  static_assert(std::is_trivially_copyable_v<T>, "entries are moved with memcpy");
  static_assert(InlineCount >= 1);

 public:
  CRegexBuffer() = default;
  CRegexBuffer(const CRegexBuffer&) = delete;
  CRegexBuffer& operator=(const CRegexBuffer&) = delete;
  CRegexBuffer(CRegexBuffer&& other) noexcept { TakeFrom(other); }
  CRegexBuffer& operator=(CRegexBuffer&& other) noexcept
  {
    if (this != &other) {
      Free();
      TakeFrom(other);
    }
    return *this;
  }
  ~CRegexBuffer() { Free(); }

  int GetSize() const { return m_size; }
  bool IsEmpty() const { return m_size == 0; }
  T* Data() { return m_data; }
  const T* Data() const { return m_data; }
  T& operator[](int index) { return m_data[index]; }
  const T& operator[](int index) const { return m_data[index]; }
  T& Top() { return m_data[m_size - 1]; }
  CRegexBufferRef<T> View() const { return CRegexBufferRef<T>(m_data, m_size); }

  void Push(const T& value)
  {
    if (m_size == m_capacity) {
      Reserve(m_capacity < 8 ? 8 : Doubled(m_capacity));
    }
    m_data[m_size++] = value;
  }

  // Removes and returns the last entry; an empty buffer yields a zero value.
  T Pop()
  {
    if (m_size == 0) {
      return T{};
    }
    return m_data[--m_size];
  }

  // Cuts the buffer to `size` entries; a larger size leaves it as it is.
  void Truncate(int size)
  {
    if (size >= 0 && size < m_size) {
      m_size = size;
    }
  }

  void Clear() { m_size = 0; }

  // Makes index `index` exist, filling new entries with `fill`.
  void GrowTo(int index, const T& fill)
  {
    if (index < m_size) {
      return;
    }
    if (index >= m_capacity) {
      int capacity = m_capacity < 8 ? 8 : m_capacity;
      while (capacity <= index) {
        capacity = Doubled(capacity);
      }
      Reserve(capacity);
    }
    while (m_size <= index) {
      m_data[m_size++] = fill;
    }
  }

  // Frees any heap storage and empties the buffer.
  void Free()
  {
    if (m_data != m_inline) {
      ::operator delete(m_data);
    }
    m_data = m_inline;
    m_capacity = InlineCount;
    m_size = 0;
  }

 private:
  void TakeFrom(CRegexBuffer& other)
  {
    if (other.m_data == other.m_inline) {
      std::memcpy(static_cast<void*>(m_inline), other.m_inline, sizeof(T) * static_cast<size_t>(other.m_size));
      m_data = m_inline;
      m_capacity = InlineCount;
    } else {
      m_data = other.m_data;
      m_capacity = other.m_capacity;
      other.m_data = other.m_inline;
      other.m_capacity = InlineCount;
    }
    m_size = other.m_size;
    other.m_size = 0;
  }

  static int Doubled(int capacity)
  {
    if (capacity > (1 << 29)) {
      throw std::bad_alloc();
    }
    return capacity * 2;
  }

  void Reserve(int capacity)
  {
    T* grown = static_cast<T*>(::operator new(sizeof(T) * static_cast<size_t>(capacity)));
    if (m_size > 0) {
      std::memcpy(static_cast<void*>(grown), m_data, sizeof(T) * static_cast<size_t>(m_size));
    }
    if (m_data != m_inline) {
      ::operator delete(m_data);
    }
    m_data = grown;
    m_capacity = capacity;
  }

  T m_inline[InlineCount];
  T* m_data = m_inline;
  int m_size = 0;
  int m_capacity = InlineCount;
};
