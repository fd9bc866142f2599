#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "kernel/file.h"
#include "kernel/file_system.h"

#include <string>

namespace {

using Files = DeviceFilesTest;

TEST_F(Files, CreationDispositions)
{
  struct Case {
    DWORD disposition;
    bool exists;
    bool opens;
    DWORD error;
    const char* contentAfter;  // null: no file
  } cases[] = {
      {CREATE_NEW, false, true, ERROR_SUCCESS, ""},
      {CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
      {CREATE_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
      {OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {OPEN_EXISTING, true, true, ERROR_SUCCESS, "old"},
      {OPEN_ALWAYS, false, true, ERROR_SUCCESS, ""},
      {OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
      {TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
      {TRUNCATE_EXISTING, true, true, ERROR_SUCCESS, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "disposition " << c.disposition << (c.exists ? " on an existing file" : ""));
    std::filesystem::remove(Host("f.txt"));
    if (c.exists) {
      WriteHost("f.txt", "old");
    }
    SetLastError(0xDEAD);
    HANDLE file = CreateFileW(u"\\f.txt", GENERIC_READ | GENERIC_WRITE, 0, nullptr, c.disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens);
    EXPECT_EQ(GetLastError(), c.error);
    CloseHandle(file);
    EXPECT_EQ(std::filesystem::exists(Host("f.txt")), c.contentAfter != nullptr);
    if (c.contentAfter) {
      EXPECT_EQ(ReadHost("f.txt"), c.contentAfter);
    }
  }
}

TEST_F(Files, OpenFailures)
{
  std::filesystem::create_directory(Host("Folder"));
  struct Case {
    const char16_t* path;
    DWORD access;
    DWORD disposition;
    DWORD error;
  } cases[] = {
      {u"\\Missing\\f.txt", GENERIC_WRITE, CREATE_ALWAYS, ERROR_PATH_NOT_FOUND},
      {u"\\Folder", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {u"\\f.txt", GENERIC_READ, TRUNCATE_EXISTING, ERROR_INVALID_PARAMETER},
      {u"\\f.txt", GENERIC_READ, 0, ERROR_INVALID_PARAMETER},
      {u"\\f\\..\\f.txt", GENERIC_READ, OPEN_ALWAYS, ERROR_INVALID_NAME},
  };
  for (const Case& c : cases) {
    SetLastError(0);
    EXPECT_EQ(CreateFileW(c.path, c.access, 0, nullptr, c.disposition, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(Files, ShareModesBetweenHandles)
{
  WriteHost("shared.txt", "data");
  auto open = [](DWORD access, DWORD share) {
    return CreateFileW(u"\\shared.txt", access, share, nullptr, OPEN_EXISTING, 0, nullptr);
  };
  HANDLE exclusive = open(GENERIC_READ, 0);
  ASSERT_NE(exclusive, INVALID_HANDLE_VALUE);
  EXPECT_EQ(open(GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(DeleteFileW(u"\\shared.txt"));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
  EXPECT_FALSE(MoveFileW(u"\\shared.txt", u"\\moved.txt"));
  CloseHandle(exclusive);

  HANDLE reader = open(GENERIC_READ, FILE_SHARE_READ);
  HANDLE secondReader = open(GENERIC_READ, FILE_SHARE_READ);
  EXPECT_NE(secondReader, INVALID_HANDLE_VALUE);
  EXPECT_EQ(open(GENERIC_WRITE, FILE_SHARE_READ), INVALID_HANDLE_VALUE);  // the readers share no writing
  CloseHandle(reader);
  CloseHandle(secondReader);
  HANDLE writer = open(GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
  EXPECT_TRUE(DeleteFileW(u"\\shared.txt"));
  CloseHandle(writer);
}

TEST_F(Files, ReadWriteSeekAndSize)
{
  HANDLE file = CreateFileW(u"\\data.bin", GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  DWORD done = 0;
  ASSERT_TRUE(WriteFile(file, "hello world", 11, &done, nullptr));
  EXPECT_EQ(done, 11u);
  DWORD high = 99;
  EXPECT_EQ(GetFileSize(file, &high), 11u);
  EXPECT_EQ(high, 0u);

  EXPECT_EQ(SetFilePointer(file, 5, nullptr, FILE_BEGIN), 5u);
  ASSERT_TRUE(SetEndOfFile(file));
  EXPECT_EQ(GetFileSize(file, nullptr), 5u);
  EXPECT_EQ(SetFilePointer(file, -2, nullptr, FILE_END), 3u);
  char buffer[16] = {};
  ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
  EXPECT_EQ(std::string(buffer, done), "lo");
  ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));  // at the end: success, nothing read
  EXPECT_EQ(done, 0u);

  EXPECT_EQ(SetFilePointer(file, -10, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
  EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 5u);  // the failed seek moved nothing
  LONG highPart = 1;
  EXPECT_EQ(SetFilePointer(file, 0, &highPart, FILE_BEGIN), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(highPart, 1);  // 4 GiB
  EXPECT_TRUE(FlushFileBuffers(file));
  CloseHandle(file);
  EXPECT_EQ(ReadHost("data.bin"), "hello");

  HANDLE reader = CreateFileW(u"\\data.bin", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_FALSE(WriteFile(reader, "x", 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(SetEndOfFile(reader));
  CloseHandle(reader);
  EXPECT_FALSE(ReadFile(reader, buffer, 1, &done, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

}  // namespace
