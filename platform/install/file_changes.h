// Changes of the device's files that can be undone until they are kept: files put in place (a
// file that was there set aside), files taken away (set aside) and the folders made for them.
// Files to be put in place and what is set aside wait in a staging folder of the device's
// temporary folder, on the same file system, so that each step is a rename.
#pragma once

#include <string>
#include <vector>

#include "base/types.h"

namespace install {

class FileChanges {
 public:
  // Makes the staging folder ("\Temp\wceload-<process id>"); Ready tells whether that worked.
  FileChanges();
  // Undoes what was not kept, then removes the staging folder with what it holds.
  ~FileChanges();
  FileChanges(const FileChanges&) = delete;
  FileChanges& operator=(const FileChanges&) = delete;

  bool Ready() const { return !staging_.empty(); }

  // The staging folder.
  const std::u16string& Folder() const { return staging_; }

  // Makes the folders above a file's place in the staging folder, at its device path below it
  // ("\Temp\wceload-7\files\Program Files\App\App.exe"), so a file staged there sees the
  // package's other files around it as they will lie once installed (a setup library its
  // resource library); that place, or empty (last error set).
  std::u16string MakeStagingPlace(std::u16string_view path);

  // Moves a staged file to target, making the folders above it that are missing and setting
  // aside a file that is there. False (last error set) when it cannot, or a folder is in the way.
  bool Place(const std::u16string& staged, const std::u16string& target);

  // Sets aside a file (or folder); one that is missing already is no matter. False (last error
  // set) when it cannot.
  bool Remove(const std::u16string& target);

  // Makes every change final; what was set aside goes with the staging folder.
  void Keep() { journal_.clear(); }

  // The folders made so far, outermost first.
  std::vector<std::u16string> MadeFolders() const;

 private:
  enum class Step { placed, removed, madeFolder };
  struct Change {
    Step step;
    std::u16string path;
    std::u16string setAside;  // empty: nothing was there
  };

  std::u16string SetAside(const std::u16string& path);
  bool MakeFoldersAbove(const std::u16string& path);
  void Undo();

  std::u16string staging_;
  size_t count_ = 0;
  std::vector<Change> journal_;
};

}  // namespace install
