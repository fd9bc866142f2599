#include "check_code_bitmap.h"

#include <vector>

#include "crypt/base64.h"
#include "temp_image.h"

HBITMAP CheckCodeBitmapFromBase64(const CStringW& base64)
{
  CStringA encoded(base64);
  if (encoded.IsEmpty())
    return nullptr;
  std::vector<BYTE> bytes(static_cast<size_t>(Base64DecodeGetRequiredLength(encoded.GetLength())));
  int length = static_cast<int>(bytes.size());
  if (!Base64Decode(encoded, encoded.GetLength(), bytes.data(), &length) || length <= 0)
    return nullptr;
  return SaveTempImageFile(bytes.data(), static_cast<DWORD>(length));
}
