// Wiping secrets (passwords, their encodings) from memory once they are no longer needed, in a
// way the compiler does not remove.
#pragma once

#include <cstddef>

#include "text/cstring.h"

inline void WipeSecret(void* data, size_t size)
{
  volatile unsigned char* bytes = static_cast<volatile unsigned char*>(data);
  for (size_t i = 0; i < size; ++i) {
    bytes[i] = 0;
  }
}

// Wipes a string's text and empties it.
template <class T>
void WipeSecret(CStringT<T>& text)
{
  int length = text.GetLength();
  WipeSecret(text.GetBuffer(length), static_cast<size_t>(length) * sizeof(T));
  text.ReleaseBuffer(0);
}

// Wipes a buffer when it goes out of scope.
class SecretWiper {
 public:
  SecretWiper(void* data, size_t size) : data_(data), size_(size) {}
  ~SecretWiper() { WipeSecret(data_, size_); }
  SecretWiper(const SecretWiper&) = delete;
  SecretWiper& operator=(const SecretWiper&) = delete;

 private:
  void* data_;
  size_t size_;
};
