#include "ini_file.h"

#include <algorithm>
#include <bit>
#include <new>
#include <vector>

#include "base/errors.h"
#include "base/lasterror.h"
#include "file_replace.h"
#include "kernel/file.h"
#include "log_writer.h"
#include "module_helpers.h"
#include "scoped_file_handle.h"
#include "text/widechar.h"
#include "text_helpers.h"

static_assert(std::endian::native == std::endian::little, "the settings file is written from UTF-16LE memory");

namespace {

constexpr WCHAR kByteOrderMark = 0xFEFF;

}  // namespace

BOOL CIniFileWriter::Write(const WCHAR* text)
{
  return WriteUnits(text, text != nullptr ? static_cast<int>(wcslen(text)) : 0);
}

BOOL CIniFileWriter::Write(const CStringW& text)
{
  return WriteUnits(text.GetString(), text.GetLength());
}

BOOL CIniFileWriter::WriteUnits(const WCHAR* text, int length)
{
  DWORD written = 0;
  return ::WriteFile(file_, text, static_cast<DWORD>(length) * sizeof(WCHAR), &written, nullptr);
}

BOOL CIniSection::GetValue(const WCHAR* key, CStringW& value) const
{
  auto found = values_.find(CStringW(key));
  if (found == values_.end()) {
    return FALSE;
  }
  value = found->second;
  return TRUE;
}

BOOL CIniSection::SetValue(const WCHAR* key, const WCHAR* value)
{
  CStringW name(key);
  auto [entry, added] = values_.insert_or_assign(name, CStringW(value));
  if (added) {
    keyOrder_.push_back(name);
  }
  return TRUE;
}

BOOL CIniSection::RemoveKey(const WCHAR* key)
{
  CStringW name(key);
  if (values_.erase(name) == 0) {
    return FALSE;
  }
  std::erase(keyOrder_, name);
  return TRUE;
}

BOOL CIniSection::Write(HANDLE file, const WCHAR* name) const
{
  CIniFileWriter writer(file);
  if (!writer.Write(CStringW(u"\r\n[") + name + u"]\r\n")) {
    return FALSE;
  }
  for (const CStringW& key : keyOrder_) {
    if (!writer.Write(key + u"=" + values_.at(key) + u"\r\n")) {
      return FALSE;
    }
  }
  return TRUE;
}

CIniFile::CIniFile(const WCHAR* name)
{
  if (name != nullptr) {
    Load(name);
  }
}

CIniFile::~CIniFile()
{
  Save();
}

void CIniFile::SetFileName(const WCHAR* name)
{
  if (name == nullptr) {
    return;
  }
  if (*name == u'\0') {
    WRITE_LOG_ENTRY(u"");
    return;
  }
  if (wcschr(name, u'\\') != nullptr) {
    path_ = name;
    return;
  }
  CStringW directory = GetModuleDirectory(nullptr);
  if (directory.IsEmpty()) {
    WRITE_LOG_ENTRY(u"");
    return;
  }
  if (directory[directory.GetLength() - 1] != u'\\') {
    WRITE_LOG_ENTRY(u"");
    return;
  }
  path_ = directory + name;
}

BOOL CIniFile::Load(const WCHAR* name)
{
  CStringW path = path_;
  Clear();
  path_ = path;
  SetFileName(name);
  if (path_.IsEmpty()) {
    return FALSE;
  }
  return ReadFile();
}

BOOL CIniFile::ReadFile()
{
  CompleteInterruptedWrite(path_);
  ScopedFileHandle file(CreateFileW(path_, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.IsValid()) {
    DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
      unreadPath_ = path_;
    }
    return FALSE;
  }
  unreadPath_ = path_;
  DWORD size = GetFileSize(file.Get(), nullptr);
  if (size == INVALID_FILE_SIZE) {
    return FALSE;
  }
  std::vector<BYTE> bytes;
  try {
    bytes.resize(size);
  } catch (const std::bad_alloc&) {
    return FALSE;
  }
  DWORD read = 0;
  BOOL result = ::ReadFile(file.Get(), bytes.data(), size, &read, nullptr);
  if (!result) {
    return FALSE;
  }
  std::vector<WCHAR> text(read / sizeof(WCHAR) + 1, u'\0');
  std::copy_n(bytes.begin(), (read / sizeof(WCHAR)) * sizeof(WCHAR), reinterpret_cast<BYTE*>(text.data()));
  if (text[0] == kByteOrderMark) {
    Parse(text.data());
    unreadPath_.Empty();
  }
  return result;
}

BOOL CIniFile::Save(const WCHAR* name)
{
  SetFileName(name);
  if (path_.IsEmpty()) {
    return FALSE;
  }
  if (!KeepUnreadFileAside()) {
    return FALSE;
  }
  BOOL saved = WriteFileWhole(path_, [this](HANDLE file) {
    BOOL written = WriteTo(file);
    flags_ &= ~kModified;
    return written;
  });
  if (!saved) {
    WRITE_LOG_ENTRY(u"");
  }
  return saved;
}

BOOL CIniFile::KeepUnreadFileAside()
{
  if (unreadPath_.IsEmpty() || unreadPath_.CompareNoCase(path_) != 0) {
    return TRUE;
  }
  if (!KeepFileAside(path_)) {
    WRITE_LOG_ENTRY(u"");
    return FALSE;
  }
  unreadPath_.Empty();
  return TRUE;
}

BOOL CIniFile::WriteTo(HANDLE file) const
{
  const WCHAR mark[] = {kByteOrderMark, u'\0'};
  if (!CIniFileWriter(file).Write(mark)) {
    return FALSE;
  }
  for (const CStringW& name : sectionOrder_) {
    auto section = sections_.find(name);
    if (section == sections_.end() || !section->second.Write(file, name)) {
      return FALSE;
    }
  }
  return TRUE;
}

void CIniFile::Clear()
{
  path_.Empty();
  sectionOrder_.clear();
  sections_.clear();
  flags_ = 0;
}

CIniSection& CIniFile::SectionFor(const CStringW& name)
{
  auto [section, added] = sections_.try_emplace(name);
  if (added) {
    sectionOrder_.push_back(name);
  }
  return section->second;
}

void CIniFile::Parse(const WCHAR* text)
{
  enum State { BeforeSections, InSectionName, BetweenLines, InKey, AfterEquals, InValue };
  State state = BeforeSections;
  CIniSection* section = nullptr;
  const WCHAR* start = nullptr;  // of the name, key or value being read
  CStringW key;
  const WCHAR* p = text;
  for (; *p != u'\0'; ++p) {
    WCHAR c = *p;
    switch (state) {
      case BeforeSections:
        if (c == u'[') {
          start = p + 1;
          state = InSectionName;
        }
        break;
      case InSectionName:
        if (c == u']') {
          section = &SectionFor(CStringW(start, static_cast<int>(p - start)));
          state = BetweenLines;
        }
        break;
      case BetweenLines:
        if (c == u'[') {
          start = p + 1;
          state = InSectionName;
        } else if (IsAsciiAlnum(c)) {
          start = p;
          state = InKey;
        }
        break;
      case InKey:
        if (c == u'=') {
          key = CStringW(start, static_cast<int>(p - start));
          state = AfterEquals;
        }
        break;
      case AfterEquals:
        if (IsLineBreak(c)) {
          section->SetValue(key, u"");
          state = BetweenLines;
        } else if (!IsBlank(c)) {
          start = p;
          state = InValue;
        }
        break;
      case InValue:
        if (IsLineBreak(c)) {
          section->SetValue(key, CStringW(start, static_cast<int>(p - start)));
          state = BetweenLines;
        }
        break;
    }
  }
  if (state == InValue) {
    section->SetValue(key, CStringW(start, static_cast<int>(p - start)));
  }
}

BOOL CIniFile::GetValue(const WCHAR* section, const WCHAR* key, CStringW& value) const
{
  auto found = sections_.find(CStringW(section));
  return found != sections_.end() && found->second.GetValue(key, value);
}

BOOL CIniFile::SetValue(const WCHAR* section, const WCHAR* key, const WCHAR* value)
{
  SectionFor(CStringW(section)).SetValue(key, value);
  flags_ |= kModified;
  return TRUE;
}

BOOL CIniFile::GetInt(const WCHAR* section, const WCHAR* key, int& value) const
{
  CStringW text;
  if (!GetValue(section, key, text)) {
    return FALSE;
  }
  value = _wtoi(text);
  return TRUE;
}

void CIniFile::SetInt(const WCHAR* section, const WCHAR* key, int value)
{
  CStringW text;
  text.Format(u"%d", value);
  SetValue(section, key, text);
}

BOOL CIniFile::GetColor(const WCHAR* section, const WCHAR* key, COLORREF& color) const
{
  CStringW text;
  if (!GetValue(section, key, text)) {
    return FALSE;
  }
  color = ParseColor(text);
  return TRUE;
}

void CIniFile::SetColor(const WCHAR* section, const WCHAR* key, COLORREF color)
{
  CStringW text;
  text.Format(u"%d,%d,%d", GetRValue(color), GetGValue(color), GetBValue(color));
  SetValue(section, key, text);
}

BOOL CIniFile::AddSection(const WCHAR* name)
{
  CStringW sectionName(name);
  if (sections_.count(sectionName) != 0) {
    return FALSE;
  }
  SectionFor(sectionName);
  flags_ |= kModified;
  return TRUE;
}

BOOL CIniFile::Remove(const WCHAR* section, const WCHAR* key)
{
  CStringW sectionName(section);
  auto found = sections_.find(sectionName);
  if (found == sections_.end()) {
    return FALSE;
  }
  flags_ |= kModified;
  if (key != nullptr) {
    return found->second.RemoveKey(key);
  }
  sections_.erase(found);
  std::erase(sectionOrder_, sectionName);
  return TRUE;
}

void CIniFile::SetModified(BOOL modified)
{
  flags_ = modified ? (flags_ | kModified) : (flags_ & ~kModified);
}

COLORREF CIniFile::ParseColor(const WCHAR* text)
{
  uint32_t parts[3] = {0, 0, 0};
  int part = 0;
  for (const WCHAR* p = text; p != nullptr && *p != u'\0'; ++p) {
    if (*p == u',') {
      if (++part == 3) {
        break;
      }
    } else if (IsAsciiDigit(*p)) {
      parts[part] = parts[part] * 10 + static_cast<uint32_t>(*p - u'0');
    }
  }
  return RGB(parts[0] & 0xFF, parts[1] & 0xFF, parts[2] & 0xFF);
}
