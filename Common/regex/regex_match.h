// The result of a whole-text match: an array of integers. Entry 0 is 1 when the text matched,
// entry 1 the pattern's highest group number n, then the start and end of groups 0..n (-1 and
// -1 for a group without a capture). A failed match is an empty array.
#pragma once

#include "regex_buffer.h"

class CRegexMatch {
 public:
  bool IsMatched() const { return m_values.GetSize() > 0 && m_values[0] == 1; }
  // The highest group number of the pattern; 0 when the text did not match.
  int GetGroupCount() const { return m_values.GetSize() > 1 ? m_values[1] : 0; }
  // Start and end of group `group`; -1 when the group has no capture or does not exist.
  int GetStart(int group) const { return Value(2 + 2 * group); }
  int GetEnd(int group) const { return Value(3 + 2 * group); }

  const int* Data() const { return m_values.Data(); }
  int GetSize() const { return m_values.GetSize(); }

  // Used by the engine to fill the result.
  void Append(int value) { m_values.Push(value); }

 private:
  int Value(int index) const { return index >= 2 && index < m_values.GetSize() ? m_values[index] : -1; }

  CRegexBuffer<int, 16> m_values;
};
