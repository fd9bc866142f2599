// The formatting engine behind text/format.h, writing to any output. The string class appends
// through it.
#pragma once

#include <cstddef>
#include <string>

#include "text/format.h"

namespace kv::text {

template <class T>
class FormatSink {
 public:
  virtual void Append(const T* units, size_t count) = 0;
  virtual void AppendRepeated(T unit, size_t count) = 0;

 protected:
  ~FormatSink() = default;
};

template <class T>
void FormatTo(FormatSink<T>& sink, const T* format, FormatArgs args);

// Appends the formatted text to a string.
template <class T>
void AppendFormatted(std::basic_string<T>& out, const T* format, FormatArgs args);

}  // namespace kv::text
