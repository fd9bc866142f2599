// Appending scalars and quoted texts to a wide text; shared by the writers, which append to a
// std::u16string or to a TextSink.
#pragma once

#include <algorithm>
#include <cstring>
#include <ostream>
#include <string>

#include "json/value.h"

namespace Json {

// Appends to a wide string or a wide stream through a buffer of its own: a character costs a
// store, and the target takes the text in whole buffers, so it grows by copies of what was
// written and never by room filled in advance. What is still buffered reaches the target only
// through flush(), which the writer calls when its text is done.
class TextSink {
public:
  explicit TextSink(std::u16string& text) : text_(&text) {}
  explicit TextSink(std::basic_ostream<WCHAR>& stream) : stream_(&stream) {}
  TextSink(const TextSink&) = delete;
  TextSink& operator=(const TextSink&) = delete;

  // Whether nothing has been written, and the last character written (0 when none).
  bool empty() const { return used_ == 0 && !flushed_; }
  WCHAR back() const { return used_ != 0 ? buffer_[used_ - 1] : last_; }

  void push_back(WCHAR c)
  {
    if (used_ == kRoom) {
      flush();
    }
    buffer_[used_++] = c;
  }
  void append(const WCHAR* text, size_t count)
  {
    if (kRoom - used_ < count) {
      flush();
      if (count > kRoom) {
        put(text, count);
        return;
      }
    }
    WCHAR* out = buffer_ + used_;
    if (count < 4) {
      for (size_t i = 0; i < count; ++i) {
        out[i] = text[i];
      }
    } else if (count <= 8) {
      // Names and short texts: two overlapping copies of four units, no call.
      std::memcpy(out, text, 4 * sizeof(WCHAR));
      std::memcpy(out + count - 4, text + count - 4, 4 * sizeof(WCHAR));
    } else {
      std::copy_n(text, count, out);
    }
    used_ += count;
  }
  TextSink& operator+=(const WCHAR* text)
  {
    append(text, std::char_traits<WCHAR>::length(text));
    return *this;
  }
  TextSink& operator+=(const std::u16string& text)
  {
    append(text.data(), text.size());
    return *this;
  }

  // Hands the buffered text to the target.
  void flush()
  {
    if (used_ != 0) {
      put(buffer_, used_);
      used_ = 0;
    }
  }

private:
  static constexpr size_t kRoom = 2048;
  // A growing string takes room four times as large at each step: few copies, and the blocks
  // it gave up stay small beside the last, which the C library's heap then keeps for the next
  // text instead of handing the memory back and faulting it in again. No step goes beyond 30
  // MB, the size from which the heap maps every block afresh.
  static constexpr size_t kLargestStep = (30u << 20) / sizeof(WCHAR);

  void put(const WCHAR* text, size_t count)
  {
    if (text_ != nullptr) {
      const size_t room = text_->capacity();
      if (room - text_->size() < count) {
        text_->reserve(std::max(text_->size() + count, std::min(room * 4, kLargestStep)));
      }
      text_->append(text, count);
    } else {
      stream_->write(text, static_cast<std::streamsize>(count));
    }
    last_ = count != 0 ? text[count - 1] : last_;
    flushed_ = true;
  }

  std::u16string* text_ = nullptr;
  std::basic_ostream<WCHAR>* stream_ = nullptr;
  size_t used_ = 0;
  bool flushed_ = false;  // some text has reached the target
  WCHAR last_ = 0;        // the last character that reached it
  WCHAR buffer_[kRoom];
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
