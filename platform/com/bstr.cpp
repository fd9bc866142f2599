#include "com/bstr.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

constexpr size_t kPrefix = sizeof(uint32_t);

// The block a BSTR's characters start 4 bytes into (malloc aligns it for the prefix).
char* Block(BSTR text) { return reinterpret_cast<char*>(text) - kPrefix; }

}  // namespace

BSTR SysAllocStringLen(const OLECHAR* strIn, UINT cch)
{
  // The byte length must fit the 32-bit prefix, with room for the terminator.
  if (cch > (std::numeric_limits<uint32_t>::max() - kPrefix - sizeof(OLECHAR)) / sizeof(OLECHAR)) {
    return nullptr;
  }
  uint32_t bytes = cch * sizeof(OLECHAR);
  char* block = static_cast<char*>(std::malloc(kPrefix + bytes + sizeof(OLECHAR)));
  if (!block) {
    return nullptr;
  }
  std::memcpy(block, &bytes, kPrefix);
  auto* text = reinterpret_cast<BSTR>(block + kPrefix);
  if (strIn) {
    std::memcpy(text, strIn, bytes);
  } else {
    std::memset(text, 0, bytes);
  }
  text[cch] = 0;
  return text;
}

BSTR SysAllocString(const OLECHAR* psz)
{
  if (!psz) {
    return nullptr;
  }
  UINT length = 0;
  while (psz[length]) {
    ++length;
  }
  return SysAllocStringLen(psz, length);
}

void SysFreeString(BSTR bstrString)
{
  if (bstrString) {
    std::free(Block(bstrString));
  }
}

UINT SysStringByteLen(BSTR bstr)
{
  if (!bstr) {
    return 0;
  }
  uint32_t bytes;
  std::memcpy(&bytes, Block(bstr), kPrefix);
  return bytes;
}

UINT SysStringLen(BSTR pbstr) { return SysStringByteLen(pbstr) / sizeof(OLECHAR); }
