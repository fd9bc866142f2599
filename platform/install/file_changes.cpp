#include "file_changes.h"

#include <algorithm>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/kernel.h"
#include "shell/file_operation.h"
#include "stop_points.h"

namespace install {
namespace {

constexpr char16_t kStagingPrefix[] = u"wceload-";

std::u16string Number(size_t value)
{
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value);
  return text;
}

std::u16string TempFolder()
{
  WCHAR temp[MAX_PATH];
  DWORD length = GetTempPathW(MAX_PATH, temp);
  return length == 0 || length >= MAX_PATH ? u"" : std::u16string(temp, length);
}

bool Exists(const std::u16string& path)
{
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsFolder(const std::u16string& path)
{
  DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// The folders above a path, outermost first.
std::vector<std::u16string> FoldersAbove(std::u16string_view path)
{
  std::vector<std::u16string> folders;
  for (size_t slash = path.find(u'\\', 1); slash != std::u16string_view::npos; slash = path.find(u'\\', slash + 1))
    folders.emplace_back(path.substr(0, slash));
  return folders;
}

// Deletes a folder with everything in it, through the shell's guarded file operation.
void DeleteTree(const std::u16string& folder)
{
  std::u16string list = folder + u'\0';  // the second terminator ends the list
  SHFILEOPSTRUCT operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = list.c_str();
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  SHFileOperation(&operation);
}

}  // namespace

bool FileChanges::Begin()
{
  std::u16string temp = TempFolder();
  if (temp.empty())
    return false;
  std::u16string staging = temp + kStagingPrefix + Number(GetCurrentProcessId());
  if (!CreateDirectoryW(staging.c_str(), nullptr))
    return false;
  staging_ = staging;
  return true;
}

std::u16string FileChanges::Staged(std::u16string_view target) const
{
  return staging_ + u"\\files" + std::u16string(target);
}

std::u16string FileChanges::Aside(std::u16string_view target) const
{
  return staging_ + u"\\old" + std::u16string(target);
}

std::u16string FileChanges::MakeStagingPlace(std::u16string_view path)
{
  std::u16string staged = Staged(path);
  return MakeFolders(FoldersAbove(staged)) ? staged : u"";
}

bool FileChanges::Place(const std::u16string& target)
{
  std::u16string staged = Staged(target);
  if (!Exists(staged))
    return true;
  if (!MakeFolders(FoldersAbove(target)))
    return false;
  if (IsFolder(target)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  std::u16string aside;
  if (Exists(target)) {
    aside = Aside(target);
    if (!MakeFolders(FoldersAbove(aside)) || !MoveFileW(target.c_str(), aside.c_str()))
      return false;
    StopPoint("setting aside");
  }
  if (!MoveFileW(staged.c_str(), target.c_str())) {
    DWORD error = GetLastError();
    if (!aside.empty())
      MoveFileW(aside.c_str(), target.c_str());
    SetLastError(error);
    return false;
  }
  return true;
}

void FileChanges::Unplace(const std::u16string& target)
{
  std::u16string staged = Staged(target), aside = Aside(target);
  if (!Exists(staged) && Exists(target))
    MoveFileW(target.c_str(), staged.c_str());
  if (Exists(aside) && !Exists(target) && MakeFolders(FoldersAbove(target)))
    MoveFileW(aside.c_str(), target.c_str());
}

bool FileChanges::Remove(const std::u16string& target)
{
  if (!Exists(target))
    return true;
  std::u16string aside = Aside(target);
  return MakeFolders(FoldersAbove(aside)) && MoveFileW(target.c_str(), aside.c_str());
}

void FileChanges::Unremove(const std::u16string& target)
{
  std::u16string aside = Aside(target);
  if (Exists(aside) && !Exists(target) && MakeFolders(FoldersAbove(target)))
    MoveFileW(aside.c_str(), target.c_str());
}

std::u16string FileChanges::Current(const std::u16string& target) const
{
  for (const std::u16string& path : {target, Staged(target), Aside(target)})
    if (Exists(path))
      return path;
  return target;
}

void FileChanges::Discard()
{
  if (!staging_.empty())
    DeleteTree(staging_);
}

std::vector<std::u16string> MissingFolders(const std::vector<std::u16string>& files)
{
  std::vector<std::u16string> missing;
  for (const std::u16string& file : files)
    for (const std::u16string& folder : FoldersAbove(file))
      if (!IsFolder(folder) && std::find(missing.begin(), missing.end(), folder) == missing.end())
        missing.push_back(folder);
  return missing;
}

bool MakeFolders(const std::vector<std::u16string>& folders)
{
  for (const std::u16string& folder : folders) {
    if (IsFolder(folder))
      continue;
    if (Exists(folder)) {
      SetLastError(ERROR_PATH_NOT_FOUND);  // a file where a folder must be
      return false;
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr))
      return false;
  }
  return true;
}

void RemoveEmptyFolders(std::vector<std::u16string> folders)
{
  std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
  for (const std::u16string& folder : folders)
    RemoveDirectoryW(folder.c_str());
}

void RemoveStagingFolders()
{
  std::u16string temp = TempFolder();
  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW((temp + kStagingPrefix + u"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE)
    return;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
      DeleteTree(temp + found.cFileName);
  } while (FindNextFileW(search, &found));
  FindClose(search);
}

}  // namespace install
