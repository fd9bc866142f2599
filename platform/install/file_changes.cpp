#include "file_changes.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/kernel.h"
#include "shell/file_operation.h"

namespace install {
namespace {

std::u16string Number(size_t value)
{
  std::u16string text;
  do {
    text.insert(text.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value);
  return text;
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

FileChanges::FileChanges()
{
  WCHAR temp[MAX_PATH];
  DWORD length = GetTempPathW(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH)
    return;
  std::u16string staging = std::u16string(temp, length) + u"wceload-" + Number(GetCurrentProcessId());
  if (Exists(staging))
    DeleteTree(staging);  // left by an installer of this id that did not end cleanly
  if (CreateDirectoryW(staging.c_str(), nullptr))
    staging_ = staging;
}

FileChanges::~FileChanges()
{
  Undo();
  if (Ready())
    DeleteTree(staging_);
}

std::u16string FileChanges::MakeStagingPlace(std::u16string_view path)
{
  std::u16string staged = staging_ + u"\\files" + std::u16string(path);
  for (size_t slash = staging_.size() + 1; (slash = staged.find(u'\\', slash)) != std::u16string::npos; ++slash) {
    std::u16string folder = staged.substr(0, slash);
    if (!IsFolder(folder) && !CreateDirectoryW(folder.c_str(), nullptr))
      return u"";
  }
  return staged;
}

std::u16string FileChanges::SetAside(const std::u16string& path)
{
  std::u16string aside = staging_ + u"\\" + Number(count_++) + u"_old";
  return MoveFileW(path.c_str(), aside.c_str()) ? aside : u"";
}

bool FileChanges::MakeFoldersAbove(const std::u16string& path)
{
  for (size_t slash = path.find(u'\\', 1); slash != std::u16string::npos; slash = path.find(u'\\', slash + 1)) {
    std::u16string folder = path.substr(0, slash);
    if (IsFolder(folder))
      continue;
    if (Exists(folder)) {
      SetLastError(ERROR_PATH_NOT_FOUND);  // a file where a folder must be
      return false;
    }
    if (!CreateDirectoryW(folder.c_str(), nullptr))
      return false;
    journal_.push_back({Step::madeFolder, folder, u""});
  }
  return true;
}

bool FileChanges::Place(const std::u16string& staged, const std::u16string& target)
{
  if (!MakeFoldersAbove(target))
    return false;
  if (IsFolder(target)) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  std::u16string aside;
  if (Exists(target) && (aside = SetAside(target)).empty())
    return false;
  if (!MoveFileW(staged.c_str(), target.c_str())) {
    DWORD error = GetLastError();
    if (!aside.empty())
      MoveFileW(aside.c_str(), target.c_str());
    SetLastError(error);
    return false;
  }
  journal_.push_back({Step::placed, target, aside});
  return true;
}

bool FileChanges::Remove(const std::u16string& target)
{
  if (!Exists(target))
    return true;
  std::u16string aside = SetAside(target);
  if (aside.empty())
    return false;
  journal_.push_back({Step::removed, target, aside});
  return true;
}

std::vector<std::u16string> FileChanges::MadeFolders() const
{
  std::vector<std::u16string> folders;
  for (const Change& change : journal_)
    if (change.step == Step::madeFolder)
      folders.push_back(change.path);
  return folders;
}

void FileChanges::Undo()
{
  for (auto change = journal_.rbegin(); change != journal_.rend(); ++change) {
    switch (change->step) {
      case Step::placed:
        DeleteFileW(change->path.c_str());
        if (!change->setAside.empty())
          MoveFileW(change->setAside.c_str(), change->path.c_str());
        break;
      case Step::removed:
        MoveFileW(change->setAside.c_str(), change->path.c_str());
        break;
      case Step::madeFolder:
        RemoveDirectoryW(change->path.c_str());
        break;
    }
  }
  journal_.clear();
}

}  // namespace install
