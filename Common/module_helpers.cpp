#include "module_helpers.h"

#include <vector>

#include "kernel/module.h"
#include "kernel/version.h"
#include "log_writer.h"

namespace {

constexpr DWORD kMaxVersionBlock = 8191;

}  // namespace

CStringW GetModuleDirectory(HMODULE module)
{
  WCHAR path[MAX_PATH + 1] = {};
  if (GetModuleFileNameW(module, path, MAX_PATH) == 0) {
    return CStringW();
  }
  CStringW directory(path);
  int slash = directory.ReverseFind(u'\\');
  return slash < 0 ? directory : directory.Left(slash + 1);
}

BOOL GetFileVersionString(const WCHAR* path, WCHAR* buffer, int length)
{
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  if (size == 0 || size > kMaxVersionBlock) {
    WRITE_LOG_ENTRY(u"");
    return FALSE;
  }
  std::vector<BYTE> block(size);
  VS_FIXEDFILEINFO* info = nullptr;
  UINT infoLength = 0;
  if (!GetFileVersionInfoW(path, handle, size, block.data()) ||
      !VerQueryValueW(block.data(), u"\\", reinterpret_cast<LPVOID*>(&info), &infoLength) || info == nullptr) {
    WRITE_LOG_ENTRY(u"");
    return FALSE;
  }
  if (buffer == nullptr || length <= 0) {
    return FALSE;
  }
  _snwprintf(buffer, static_cast<size_t>(length), u"%d.%d.%d.%d", HIWORD(info->dwFileVersionMS),
             LOWORD(info->dwFileVersionMS), HIWORD(info->dwFileVersionLS), LOWORD(info->dwFileVersionLS));
  return TRUE;
}

HMODULE LoadLibraryWrapper(const WCHAR* name)
{
  return LoadLibraryW(name);
}
