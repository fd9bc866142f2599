#include "message_store.h"

#include <algorithm>

#include "file_helpers.h"
#include "file_replace.h"
#include "kernel/file_system.h"
#include "message_file.h"
#include "text/widechar.h"
#include "user_folder.h"

namespace {

constexpr WCHAR kListFolder[] = u"MsgList\\";
constexpr WCHAR kReadFolder[] = u"MsgList\\Readed\\";

BOOL GetMessageFolder(const WCHAR* logonId, CStringW& folder)
{
  if (!GetUserFolder(logonId, folder)) {
    return FALSE;
  }
  folder += kReadFolder;
  return TRUE;
}

BOOL GetMessagePath(const WCHAR* logonId, int id, CStringW& path)
{
  if (!GetMessageFolder(logonId, path)) {
    return FALSE;
  }
  path.AppendFormat(u"%d", id);
  return TRUE;
}

// The stored ids that can be shown (above 0).
std::vector<int> ShownIds(const WCHAR* logonId)
{
  std::vector<int> ids;
  ListMessageIds(logonId, ids);
  std::erase_if(ids, [](int id) { return id <= 0; });
  return ids;
}

void LoadMessage(const WCHAR* logonId, int id, CStringW& text)
{
  text.Empty();
  CStringW path;
  if (id <= 0 || !GetMessagePath(logonId, id, path)) {
    return;
  }
  CompleteInterruptedWrite(path);
  CStringA bytes;
  if (ReadWholeFile(path, bytes)) {
    text = DecodeMessageFile(bytes);
  }
}

}  // namespace

int SaveMessageFile(const WCHAR* logonId, int id, const WCHAR* text)
{
  CStringW userFolder;
  if (id <= 0 || !CreateUserFolder(logonId, userFolder)) {
    return -1;
  }
  CreateDirectoryW(userFolder + kListFolder, nullptr);
  CreateDirectoryW(userFolder + kReadFolder, nullptr);
  CStringW path;
  GetMessagePath(logonId, id, path);
  return WriteFileWhole(path, EncodeMessageFile(text)) ? 0 : -1;
}

BOOL DeleteMessageFile(const WCHAR* logonId, int id)
{
  CStringW path;
  return GetMessagePath(logonId, id, path) && DeleteFileWhole(path);
}

int ListMessageIds(const WCHAR* logonId, std::vector<int>& ids)
{
  CStringW folder;
  if (!GetMessageFolder(logonId, folder)) {
    return 0;
  }
  WIN32_FIND_DATAW entry;
  HANDLE find = FindFirstFileW(folder + u"*.*", &entry);
  if (find == INVALID_HANDLE_VALUE) {
    return 0;
  }
  int count = 0;
  do {
    if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
      ids.push_back(_wtoi(entry.cFileName));
      ++count;
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return count;
}

int GetNewestMessageId(const WCHAR* logonId)
{
  std::vector<int> ids = ShownIds(logonId);
  return ids.empty() ? 0 : *std::max_element(ids.begin(), ids.end());
}

int GetNextMessageId(const WCHAR* logonId, int id)
{
  int next = 0;
  for (int stored : ShownIds(logonId)) {
    if (stored > id && (next == 0 || stored < next)) {
      next = stored;
    }
  }
  return next;
}

int GetPrevMessageId(const WCHAR* logonId, int id)
{
  if (id == 0 || id == -1) {
    return GetNewestMessageId(logonId);
  }
  int previous = 0;
  for (int stored : ShownIds(logonId)) {
    if (stored < id && stored > previous) {
      previous = stored;
    }
  }
  return previous;
}

int LoadNextMessage(const WCHAR* logonId, int id, CStringW& text)
{
  LoadMessage(logonId, GetNextMessageId(logonId, id), text);
  return 0;
}

int LoadPrevMessage(const WCHAR* logonId, int id, CStringW& text)
{
  LoadMessage(logonId, GetPrevMessageId(logonId, id), text);
  return 0;
}
