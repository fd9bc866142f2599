// Writers that turn a value back into JSON text: compact (FastWriter), indented into a string
// (StyledWriter) or indented onto a wide stream (StyledStreamWriter).
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "json/value.h"

namespace Json {

class Writer {
public:
  virtual ~Writer();
  virtual std::u16string write(const Value& root) = 0;
};

// The compact form followed by a line feed; comments are not written.
class FastWriter : public Writer {
public:
  FastWriter() = default;
  // Writes ": " instead of ":" between a member's name and its value.
  void enableYAMLCompatibility() { yamlCompatible_ = true; }
  std::u16string write(const Value& root) override;

private:
  size_t lastLength_ = 0;  // of the last text written: the room that the next one starts with
  bool yamlCompatible_ = false;
};

// An indented form with comments, three blanks a level; a nested array or object opens on its
// member's line, and a short array of scalars stays on one line.
class StyledWriter : public Writer {
public:
  StyledWriter() = default;
  std::u16string write(const Value& root) override;
};

// The indented form onto a wide stream, with the caller's indentation a level; every nested
// array or object opens on a line of its own.
class StyledStreamWriter {
public:
  explicit StyledStreamWriter(const std::u16string& indentation = u"\t");
  void write(std::basic_ostream<char16_t>& out, const Value& root);

private:
  std::u16string indentation_;
};

std::u16string valueToString(Int value);
std::u16string valueToString(UInt value);
// "%#.16g" with the run of trailing zeros cut to one after the last non-zero digit; a text
// ending in the point gets a zero after it.
std::u16string valueToString(double value);
std::u16string valueToString(bool value);
std::u16string valueToQuotedString(const WCHAR* text);
std::u16string valueToQuotedString(const std::u16string& text);

// Writes the value with a StyledStreamWriter indenting by one tab.
std::basic_ostream<char16_t>& operator<<(std::basic_ostream<char16_t>& out, const Value& root);

}  // namespace Json
