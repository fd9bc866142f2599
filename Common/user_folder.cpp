#include "user_folder.h"

#include "kernel/file_system.h"
#include "text/widechar.h"

namespace {

constexpr WCHAR kProgramFolder[] = u"KorvexPortal\\";

}  // namespace

BOOL GetUsersFolder(CStringW& folder)
{
  folder.Empty();
  WCHAR temp[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, temp);
  if (length == 0 || length > MAX_PATH) {
    return FALSE;
  }
  folder = temp;
  if (folder[folder.GetLength() - 1] != u'\\') {
    folder += u'\\';
  }
  folder += kProgramFolder;
  return TRUE;
}

BOOL IsValidLogonId(const WCHAR* logonId)
{
  if (logonId == nullptr || *logonId == u'\0' || wcscmp(logonId, u".") == 0 || wcscmp(logonId, u"..") == 0) {
    return FALSE;
  }
  for (const WCHAR* p = logonId; *p != u'\0'; ++p) {
    if (iswcntrl(*p) || wcschr(u"\\/:*?\"<>|", *p) != nullptr) {
      return FALSE;
    }
  }
  return TRUE;
}

BOOL GetUserFolder(const WCHAR* logonId, CStringW& folder)
{
  folder.Empty();
  CStringW programFolder;
  if (!IsValidLogonId(logonId) || !GetUsersFolder(programFolder)) {
    return FALSE;
  }
  folder = programFolder + logonId + u"\\";
  return TRUE;
}

BOOL CreateUserFolder(const WCHAR* logonId, CStringW& folder)
{
  if (!GetUserFolder(logonId, folder)) {
    return FALSE;
  }
  CStringW programFolder;
  GetUsersFolder(programFolder);
  CreateDirectoryW(programFolder, nullptr);
  CreateDirectoryW(folder, nullptr);
  DWORD attributes = GetFileAttributesW(folder);
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
    folder.Empty();
    return FALSE;
  }
  return TRUE;
}
