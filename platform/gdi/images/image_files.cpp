#include "shell/image_files.h"

#include "internal/gdi/image_bitmap.h"
#include "kernel/file.h"
#include "kernel/handle.h"

#include <vector>

namespace {

// Image files larger than this are refused before reading.
constexpr DWORD kMaxFileBytes = 64u * 1024 * 1024;

}  // namespace

HBITMAP SHLoadImageFile(LPCWSTR path)
{
  if (!path)
    return nullptr;
  HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return nullptr;
  DWORD high = 0;
  const DWORD size = GetFileSize(file, &high);
  std::vector<uint8_t> bytes;
  bool read = false;
  if (size != INVALID_FILE_SIZE && high == 0 && size <= kMaxFileBytes) {
    bytes.resize(size);
    DWORD got = 0;
    read = ReadFile(file, bytes.data(), size, &got, nullptr) && got == size;
  }
  CloseHandle(file);
  if (!read)
    return nullptr;
  return kv::images::CreateBitmapFromImageFile(bytes);
}

HBITMAP SHLoadDIBitmap(LPCWSTR path) { return SHLoadImageFile(path); }
