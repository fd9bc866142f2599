// Which characters a node's match can begin with, matching left to right. It is a necessary
// condition only: an alternation passes over the branches, and a repeat stops before the
// iterations, that cannot match where they stand, and nothing else changes. A node that may
// match empty, or about which nothing is known, admits every position.
#pragma once

#include <cstdint>

template <typename CharT>
struct CRegexFirst {
  uint64_t codes[4] = {};  // codes 0-255; in the 8-bit engine every byte, by its low 8 bits
  bool wide = false;       // some code of 256 or more (wide engine)
  bool empty = true;       // may begin with nothing: admits every position

  // Consumes nothing: admits every position, adds nothing to what follows.
  static CRegexFirst ZeroWidth() { return CRegexFirst(); }
  static CRegexFirst Anything()
  {
    CRegexFirst first;
    for (uint64_t& word : first.codes) {
      word = ~uint64_t{0};
    }
    first.wide = true;
    return first;
  }
  // Begins with one of the characters added next.
  static CRegexFirst Consuming()
  {
    CRegexFirst first;
    first.empty = false;
    return first;
  }

  void Add(int code)
  {
    if (sizeof(CharT) == 1 || static_cast<unsigned>(code) < 256) {
      const unsigned byte = static_cast<unsigned>(code) & 0xFF;
      codes[byte >> 6] |= uint64_t{1} << (byte & 63);
    } else {
      wide = true;
    }
  }

  // Whether a match may begin at a position whose character has this code (0 at the end).
  bool Admits(int code) const
  {
    if (empty) {
      return true;
    }
    if (sizeof(CharT) == 1 || static_cast<unsigned>(code) < 256) {
      const unsigned byte = static_cast<unsigned>(code) & 0xFF;
      return (codes[byte >> 6] >> (byte & 63)) & 1;
    }
    return wide;
  }

  // This, then `next`.
  CRegexFirst Then(const CRegexFirst& next) const
  {
    if (!empty) {
      return *this;
    }
    CRegexFirst first = Or(next);
    first.empty = next.empty;
    return first;
  }

  // This or `other`.
  CRegexFirst Or(const CRegexFirst& other) const
  {
    CRegexFirst first;
    for (int i = 0; i < 4; ++i) {
      first.codes[i] = codes[i] | other.codes[i];
    }
    first.wide = wide || other.wide;
    first.empty = empty || other.empty;
    return first;
  }
};
