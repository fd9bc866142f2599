// The settings file: named sections of key/value texts, kept in memory in the order they were
// first met or set, and written back as UTF-16LE text with a byte-order mark:
//
//   FF FE, then for each section: CR LF "[" name "]" CR LF, and for each key: key "=" value CR LF
//
// Reading follows the file's own loose grammar (see Parse); there is no comment syntax.
//
// Nothing the user had is lost: a present file that could not be read, or that lacks the
// byte-order mark, is moved aside to its name with ".bak" appended before it is first replaced,
// and every save writes a temporary file (name + ".tmp") that replaces the file only once it is
// whole. A save interrupted between removing the old file and renaming the new one is completed
// by the next load.
#pragma once

#include <map>
#include <vector>

#include "base/types.h"
#include "text/cstring.h"

// Writes UTF-16 text (two bytes a code unit, no terminator) to a file handle it does not own.
class CIniFileWriter {
 public:
  CIniFileWriter() = default;
  explicit CIniFileWriter(HANDLE file) : file_(file) {}
  virtual ~CIniFileWriter() = default;

  BOOL Write(const WCHAR* text);
  BOOL Write(const CStringW& text);

 private:
  BOOL WriteUnits(const WCHAR* text, int length);

  HANDLE file_ = INVALID_HANDLE_VALUE;
};

// One section: keys in the order they were first set, with their values.
class CIniSection {
 public:
  virtual ~CIniSection() = default;

  // FALSE, value unchanged, when the key is absent.
  BOOL GetValue(const WCHAR* key, CStringW& value) const;
  // A new key goes last; an existing one keeps its place. Always TRUE.
  BOOL SetValue(const WCHAR* key, const WCHAR* value);
  BOOL RemoveKey(const WCHAR* key);
  // Writes the header line and the key lines, stopping at the first failed write.
  BOOL Write(HANDLE file, const WCHAR* name) const;

 private:
  std::vector<CStringW> keyOrder_;
  std::map<CStringW, CStringW> values_;
};

class CIniFile {
 public:
  // With a name, the file is loaded at once (see SetFileName for where it is looked for).
  explicit CIniFile(const WCHAR* name = nullptr);
  // Saves the file (when it has a path) and frees everything.
  virtual ~CIniFile();
  CIniFile(const CIniFile&) = delete;
  CIniFile& operator=(const CIniFile&) = delete;

  // A name with a backslash is the full path; any other is placed in the program's folder. A
  // null name changes nothing; an empty one, or a program folder that cannot be found, is
  // logged and leaves the path unchanged.
  void SetFileName(const WCHAR* name);
  const CStringW& GetFileName() const { return path_; }

  // Clears the contents, then reads the file (name: as SetFileName). FALSE when the file cannot
  // be opened or read; TRUE for a file that was read, even one without the byte-order mark
  // (which yields no sections).
  BOOL Load(const WCHAR* name = nullptr);
  // Writes every section (name: as SetFileName). FALSE when there is no path, the file that
  // could not be read cannot be moved aside, or writing or replacing the file fails; the file
  // on disk is then as it was.
  BOOL Save(const WCHAR* name = nullptr);
  // Empties the path, the sections and the flags.
  void Clear();

  // Parses settings text up to its terminator into the sections, adding to what is there.
  void Parse(const WCHAR* text);

  BOOL GetValue(const WCHAR* section, const WCHAR* key, CStringW& value) const;
  // Creates the section when it is missing. Always TRUE.
  BOOL SetValue(const WCHAR* section, const WCHAR* key, const WCHAR* value);
  // The value read as a decimal number (as _wtoi); FALSE, value unchanged, when absent.
  BOOL GetInt(const WCHAR* section, const WCHAR* key, int& value) const;
  void SetInt(const WCHAR* section, const WCHAR* key, int value);
  // Colours are stored as "red,green,blue".
  BOOL GetColor(const WCHAR* section, const WCHAR* key, COLORREF& color) const;
  void SetColor(const WCHAR* section, const WCHAR* key, COLORREF color);
  // TRUE when it created the section, FALSE when it existed.
  BOOL AddSection(const WCHAR* name);
  // Removes a key, or with a null key the whole section. FALSE when the section (or key) is
  // missing.
  BOOL Remove(const WCHAR* section, const WCHAR* key);
  void SetModified(BOOL modified);

  // "r,g,b" to a colour: digits accumulate into the current part, a comma moves to the next,
  // anything else is ignored, and each part keeps its low 8 bits. Empty text gives 0.
  static COLORREF ParseColor(const WCHAR* text);

 private:
  static constexpr DWORD kModified = 1;

  CIniSection& SectionFor(const CStringW& name);
  BOOL ReadFile();
  BOOL KeepUnreadFileAside();
  BOOL WriteTo(HANDLE file) const;

  CStringW path_;
  std::vector<CStringW> sectionOrder_;
  std::map<CStringW, CIniSection> sections_;
  DWORD flags_ = 0;
  // The path of a present file that Load could not read: moved aside before it is replaced.
  CStringW unreadPath_;
};
