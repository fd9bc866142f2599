// A strict reader of ASN.1 DER elements: one-byte tags, definite lengths in their shortest form,
// contents inside the input.
#pragma once

#include <cstddef>
#include <cstdint>

namespace crypt_internal {

enum class DerError { kNone, kEndOfData, kCorrupt, kBadTag };

struct DerElement {
  uint8_t tag = 0;
  const uint8_t* content = nullptr;
  size_t length = 0;
  const uint8_t* encoding = nullptr;  // tag, length and content together
  size_t encodingLength = 0;
};

class DerReader {
 public:
  DerReader(const uint8_t* data, size_t size) : data_(data), end_(data + size) {}

  bool AtEnd() const { return data_ == end_; }

  // Reads the next element; kBadTag when its tag differs from `tag` (unless tag is 0: any).
  DerError Read(DerElement& element, uint8_t tag = 0);

 private:
  const uint8_t* data_;
  const uint8_t* end_;
};

// The dotted text of an OBJECT IDENTIFIER's contents ("1.2.840.113549.1.1.1"), written with a
// terminator into out (room for outSize characters); the text length, or 0 when the contents are
// malformed or the text does not fit.
size_t FormatObjectIdentifier(const uint8_t* content, size_t length, char* out, size_t outSize);

}  // namespace crypt_internal
