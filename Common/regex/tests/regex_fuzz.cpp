// Fuzz target: compile any pattern and match a text against it, in either engine.
// Input: one byte of flags (bit 6 chooses the wide engine), then the pattern, a NUL, the text.
// The wide engine reads the bytes after the flags as little-endian 16-bit units.
#include <cstddef>
#include <cstdint>
#include <string>

#include "regex/regex_pattern.h"

namespace {

template <typename CharT>
void CompileAndMatch(const std::basic_string<CharT>& units, int flags)
{
  const size_t separator = units.find(CharT(0));
  const std::basic_string<CharT> pattern = units.substr(0, separator);
  const std::basic_string<CharT> text =
      separator == std::basic_string<CharT>::npos ? std::basic_string<CharT>() : units.substr(separator + 1);

  CRegexPattern<CharT> compiled(pattern.c_str(), flags);
  CMatchState<CharT> state;
  state.SetStepLimit(50000);  // keeps every input quick; the bound itself is under test too
  const CRegexMatch match = compiled.MatchWhole(text.c_str(), &state);
  if (match.IsMatched()) {
    const int length = static_cast<int>(text.find(CharT(0)) == std::basic_string<CharT>::npos
                                            ? text.size()
                                            : text.find(CharT(0)));
    for (int group = 0; group <= match.GetGroupCount(); ++group) {
      // Every reported span lies inside the text, in order.
      if (match.GetStart(group) < -1 || match.GetEnd(group) > length || match.GetStart(group) > match.GetEnd(group)) {
        __builtin_trap();
      }
    }
  }
  // A second compile of the same object replaces the first tree.
  compiled.Compile(text.c_str(), static_cast<int>(text.size()), flags);
  compiled.MatchWhole(pattern.c_str(), &state);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
  if (size < 1) {
    return 0;
  }
  const int flags = data[0] & 63;
  if (data[0] & 64) {
    std::u16string units;
    for (size_t i = 1; i + 1 < size; i += 2) {
      units += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    }
    CompileAndMatch(units, flags);
  } else {
    CompileAndMatch(std::string(reinterpret_cast<const char*>(data) + 1, size - 1), flags);
  }
  return 0;
}
