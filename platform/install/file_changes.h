// Changes of the device's files made through the staging folder of one run of the installer,
// "\Temp\wceload-<process id>": files wait there to be put in place (below "files"), and what a
// change replaces or takes away is set aside there (below "old"), each at its device path below
// that folder. Every change is a rename on one file system, so the folder itself tells how far
// a run got: a file still staged was not put in place, a file set aside was there before. That
// lets a later run finish the changes, or undo them, after the installer was stopped midway.
#pragma once

#include <string>
#include <vector>

#include "base/types.h"

namespace install {

class FileChanges {
 public:
  FileChanges() = default;
  // The staging folder of an earlier run.
  explicit FileChanges(std::u16string folder) : staging_(std::move(folder)) {}

  // Makes a fresh staging folder for this process; false (last error set) when it cannot.
  bool Begin();

  const std::u16string& Folder() const { return staging_; }

  // Makes the folders above a file's place in the staging folder and answers that place
  // ("\Temp\wceload-7\files\Program Files\App\App.exe"), so a file staged there sees the
  // package's other files around it as they will lie once installed (a setup library its
  // resource library); empty (last error set) when it cannot.
  std::u16string MakeStagingPlace(std::u16string_view path);

  // Moves the staged file of target in place, making the folders above it that are missing and
  // setting aside a file that is there; nothing to do when it was put in place already. False
  // (last error set) when it cannot or a folder is in the way.
  bool Place(const std::u16string& target);
  // Takes a file put in place back to the staging folder and puts back what it replaced.
  void Unplace(const std::u16string& target);

  // Sets aside a file (or folder); one that is missing already is no matter. False (last error
  // set) when it cannot.
  bool Remove(const std::u16string& target);
  // Puts back a file that was set aside.
  void Unremove(const std::u16string& target);

  // Where the file of that device path is now: in place, staged or set aside.
  std::u16string Current(const std::u16string& target) const;

  // Removes the staging folder with everything in it.
  void Discard();

 private:
  std::u16string Staged(std::u16string_view target) const;
  std::u16string Aside(std::u16string_view target) const;

  std::u16string staging_;
};

// The folders above the files that are missing, outermost first: what putting them in place
// makes.
std::vector<std::u16string> MissingFolders(const std::vector<std::u16string>& files);

// Makes each folder of the list that is missing, in its order. False (last error set) when one
// cannot be made or a file is in the way.
bool MakeFolders(const std::vector<std::u16string>& folders);

// Removes each empty folder of the list, the deepest first; folders that hold something stay.
void RemoveEmptyFolders(std::vector<std::u16string> folders);

// Removes every staging folder in "\Temp": left by runs that ended before they could.
void RemoveStagingFolders();

}  // namespace install
