// Appending scalars and quoted texts to a wide text; shared by the writers, which append to a
// std::u16string or to a TextSink.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "json/value.h"

namespace Json {

// Writes into a wide string used as room that is kept from one text to the next: the string's
// size is the room, `length` what has been written, and appending is a copy into room already
// there.
class TextSink {
public:
  explicit TextSink(std::u16string& room) : room_(room) {}

  size_t length() const { return length_; }
  void push_back(WCHAR c)
  {
    if (length_ == room_.size()) {
      grow(1);
    }
    room_[length_++] = c;
  }
  void append(const WCHAR* text, size_t count)
  {
    if (room_.size() - length_ < count) {
      grow(count);
    }
    WCHAR* out = room_.data() + length_;
    if (count >= 4 && count <= 8) {
      // Names and short texts: two overlapping copies of four units, no call.
      std::memcpy(out, text, 4 * sizeof(WCHAR));
      std::memcpy(out + count - 4, text + count - 4, 4 * sizeof(WCHAR));
    } else {
      std::copy_n(text, count, out);
    }
    length_ += count;
  }
  TextSink& operator+=(const WCHAR* text)
  {
    append(text, std::char_traits<WCHAR>::length(text));
    return *this;
  }

private:
  void grow(size_t count) { room_.resize(std::max(room_.size() * 2, length_ + count + 256)); }

  std::u16string& room_;
  size_t length_ = 0;
};

template <class Out>
void appendInt(Out& out, Int value);
template <class Out>
void appendUInt(Out& out, UInt value);
template <class Out>
void appendReal(Out& out, double value);
template <class Out>
void appendQuoted(Out& out, const WCHAR* text);
// The scalar forms of null, numbers, booleans and strings; nothing for arrays and objects.
template <class Out>
void appendScalar(Out& out, const Value& value);

}  // namespace Json
