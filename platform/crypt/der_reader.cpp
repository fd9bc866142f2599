#include "der_reader.h"

#include <cstdio>

namespace crypt_internal {

DerError DerReader::Read(DerElement& element, uint8_t tag) {
  const uint8_t* p = data_;
  if (end_ - p < 2) return DerError::kEndOfData;
  const uint8_t actualTag = *p++;
  if ((actualTag & 0x1F) == 0x1F) return DerError::kCorrupt;  // multi-byte tags are not used here
  if (tag != 0 && actualTag != tag) return DerError::kBadTag;

  size_t length = *p++;
  if (length & 0x80) {
    const size_t count = length & 0x7F;
    if (count == 0 || count > 4) return DerError::kCorrupt;  // indefinite or absurdly long
    if (static_cast<size_t>(end_ - p) < count) return DerError::kEndOfData;
    if (*p == 0) return DerError::kCorrupt;  // not the shortest form
    length = 0;
    for (size_t i = 0; i < count; ++i) length = (length << 8) | *p++;
    if (length < 0x80) return DerError::kCorrupt;
  }
  if (static_cast<size_t>(end_ - p) < length) return DerError::kEndOfData;

  element.tag = actualTag;
  element.content = p;
  element.length = length;
  element.encoding = data_;
  element.encodingLength = static_cast<size_t>(p + length - data_);
  data_ = p + length;
  return DerError::kNone;
}

size_t FormatObjectIdentifier(const uint8_t* content, size_t length, char* out, size_t outSize) {
  if (length == 0 || outSize == 0) return 0;
  size_t used = 0;
  bool first = true;
  size_t i = 0;
  while (i < length) {
    if (content[i] == 0x80) return 0;  // leading zero group: not the shortest form
    uint64_t arc = 0;
    bool done = false;
    while (i < length && !done) {
      if (arc > (UINT64_MAX >> 7)) return 0;
      arc = (arc << 7) | (content[i] & 0x7F);
      done = (content[i] & 0x80) == 0;
      ++i;
    }
    if (!done) return 0;  // the last group is cut off

    char text[48];
    int n;
    if (first) {
      const uint64_t top = arc < 40 ? 0 : arc < 80 ? 1 : 2;
      n = std::snprintf(text, sizeof text, "%llu.%llu", static_cast<unsigned long long>(top),
                        static_cast<unsigned long long>(arc - top * 40));
      first = false;
    } else {
      n = std::snprintf(text, sizeof text, ".%llu", static_cast<unsigned long long>(arc));
    }
    if (n < 0 || used + static_cast<size_t>(n) + 1 > outSize) return 0;
    for (int k = 0; k < n; ++k) out[used++] = text[k];
  }
  out[used] = '\0';
  return used;
}

}  // namespace crypt_internal
