#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "kernel/file_system.h"

#include <vector>

namespace {

using FileSystem = DeviceFilesTest;

std::vector<std::u16string> List(const char16_t* pattern)
{
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(pattern, &data);
  if (search == INVALID_HANDLE_VALUE) {
    return names;
  }
  do {
    names.push_back(data.cFileName);
  } while (FindNextFileW(search, &data));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
  EXPECT_TRUE(FindClose(search));
  return names;
}

TEST_F(FileSystem, FindMatchesWildcardsIgnoringCase)
{
  for (const char* name : {"a.log", "B.LOG", "abc.txt", "readme", "Logs/inner.log"}) {
    WriteHost(std::string("Temp/") + name, "12345");
  }
  using Names = std::vector<std::u16string>;
  EXPECT_EQ(List(u"\\Temp\\*.log"), (Names{u"a.log", u"B.LOG"}));
  EXPECT_EQ(List(u"\\temp\\?.LOG"), (Names{u"a.log", u"B.LOG"}));
  EXPECT_EQ(List(u"\\Temp\\*.*"), (Names{u"a.log", u"abc.txt", u"B.LOG", u"Logs", u"readme"}));
  EXPECT_EQ(List(u"\\Temp\\A*"), (Names{u"a.log", u"abc.txt"}));
  EXPECT_EQ(List(u"\\Temp\\README"), (Names{u"readme"}));
  EXPECT_EQ(List(u"\\*"), (Names{u"Temp"}));  // the layer's own folder stays hidden

  WIN32_FIND_DATAW data{};
  HANDLE search = FindFirstFileW(u"\\Temp\\abc.txt", &data);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_FALSE(CloseHandle(search));  // a search ends with FindClose only
  EXPECT_TRUE(FindClose(search));
  EXPECT_EQ(FindFirstFileW(u"\\Temp\\*.exe", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(FindFirstFileW(u"\\Missing\\*", &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileSystem, MoveKeepsTargetsAndRenamesCase)
{
  WriteHost("a.txt", "A");
  WriteHost("b.txt", "B");
  EXPECT_FALSE(MoveFileW(u"\\a.txt", u"\\B.TXT"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(ReadHost("b.txt"), "B");
  ASSERT_TRUE(MoveFileW(u"\\a.txt", u"\\A.TXT"));  // same entry, new case
  EXPECT_EQ(List(u"\\*.txt"), (std::vector<std::u16string>{u"A.TXT", u"b.txt"}));
  ASSERT_TRUE(MoveFileW(u"\\A.TXT", u"\\c.txt"));
  EXPECT_EQ(ReadHost("c.txt"), "A");
  EXPECT_FALSE(MoveFileW(u"\\A.TXT", u"\\d.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileSystem, CopyIsWholeAndHonoursFailIfExists)
{
  WriteHost("source.bin", std::string(200000, 'x'));
  WriteHost("target.bin", "old");
  EXPECT_FALSE(CopyFileW(u"\\source.bin", u"\\TARGET.bin", TRUE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_EXISTS));
  EXPECT_EQ(ReadHost("target.bin"), "old");
  ASSERT_TRUE(CopyFileW(u"\\source.bin", u"\\TARGET.bin", FALSE));
  EXPECT_EQ(ReadHost("target.bin"), std::string(200000, 'x'));
  ASSERT_TRUE(CopyFileW(u"\\source.bin", u"\\new.bin", TRUE));
  EXPECT_EQ(List(u"\\*"), (std::vector<std::u16string>{u"new.bin", u"source.bin", u"target.bin"}));
  EXPECT_FALSE(CopyFileW(u"\\missing.bin", u"\\x.bin", FALSE));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

TEST_F(FileSystem, FoldersAndDeletes)
{
  struct Step {
    BOOL result;
    DWORD error;
  };
  auto step = [](BOOL result) { return Step{result, result ? 0 : GetLastError()}; };
  auto expect = [](Step actual, BOOL result, DWORD error) {
    EXPECT_EQ(actual.result, result);
    EXPECT_EQ(actual.error, error);
  };
  expect(step(CreateDirectoryW(u"\\Data", nullptr)), TRUE, 0);
  expect(step(CreateDirectoryW(u"\\DATA", nullptr)), FALSE, ERROR_ALREADY_EXISTS);
  expect(step(CreateDirectoryW(u"\\No\\Data", nullptr)), FALSE, ERROR_PATH_NOT_FOUND);
  WriteHost("Data/f.txt", "x");
  EXPECT_EQ(GetFileAttributesW(u"\\data"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
  expect(step(RemoveDirectoryW(u"\\Data")), FALSE, ERROR_DIR_NOT_EMPTY);
  expect(step(RemoveDirectoryW(u"\\Data\\f.txt")), FALSE, ERROR_DIRECTORY);
  expect(step(DeleteFileW(u"\\Data")), FALSE, ERROR_ACCESS_DENIED);
  expect(step(DeleteFileW(u"\\data\\F.TXT")), TRUE, 0);
  expect(step(DeleteFileW(u"\\data\\F.TXT")), FALSE, ERROR_FILE_NOT_FOUND);
  expect(step(RemoveDirectoryW(u"\\Data")), TRUE, 0);
  expect(step(RemoveDirectoryW(u"\\")), FALSE, ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetFileAttributesW(u"\\Data"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
