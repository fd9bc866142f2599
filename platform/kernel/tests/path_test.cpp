#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "kernel/file_system.h"

#include <sys/stat.h>

namespace {

using PathMapping = DeviceFilesTest;

TEST_F(PathMapping, FindsExistingEntriesOfAnyCaseAndRefusesEscapes)
{
  WriteHost("Program Files/Korvex/KorvexPortal.exe", "x");
  std::filesystem::create_directory_symlink("/etc", Host("Windows"));
  struct Case {
    const char16_t* path;
    DWORD attributes;  // INVALID_FILE_ATTRIBUTES: fails with error
    DWORD error;
  } cases[] = {
      {u"\\Program Files\\Korvex\\KorvexPortal.exe", FILE_ATTRIBUTE_ARCHIVE, 0},
      {u"\\PROGRAM FILES\\korvex\\korvexportal.EXE", FILE_ATTRIBUTE_ARCHIVE, 0},
      {u"program files\\Korvex", FILE_ATTRIBUTE_DIRECTORY, 0},  // taken from the root
      {u"\\Program Files\\\\Korvex\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {u"\\", FILE_ATTRIBUTE_DIRECTORY, 0},
      {u"\\Program Files\\Missing.exe", INVALID_FILE_ATTRIBUTES, ERROR_FILE_NOT_FOUND},
      {u"\\Missing\\Missing.exe", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {u"\\Program Files\\Korvex\\KorvexPortal.exe\\x", INVALID_FILE_ATTRIBUTES, ERROR_PATH_NOT_FOUND},
      {u"\\..\\etc\\passwd", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
      {u"\\Program Files\\..\\..\\x", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
      {u"\\Program Files\\.\\Korvex", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
      {u"/etc/passwd", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
      {u"\\Program Files/Korvex", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
      {u"C:\\Windows", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
      {u"\\Temp\\a*b", INVALID_FILE_ATTRIBUTES, ERROR_INVALID_NAME},
      {u"\\Windows\\passwd", INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED},  // a link leading out
      {u"\\.kernel", INVALID_FILE_ATTRIBUTES, ERROR_ACCESS_DENIED},          // the layer's own state
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::filesystem::path(std::u16string(c.path)).string());
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesW(c.path), c.attributes);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(PathMapping, NewEntriesKeepTheCaseGiven)
{
  WriteHost("Program Files/placeholder", "");
  ASSERT_TRUE(CreateDirectoryW(u"\\program files\\NewFolder", nullptr));
  EXPECT_TRUE(std::filesystem::is_directory(Host("Program Files/NewFolder")));
  HANDLE file = CreateFileW(u"\\PROGRAM FILES\\newfolder\\Data.TXT", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  CloseHandle(file);
  EXPECT_TRUE(std::filesystem::exists(Host("Program Files/NewFolder/Data.TXT")));
}

TEST(DeviceRoot, IsCreatedOwnerOnlyWithTheTemporaryFolderOnDemand)
{
  device::testing::ScopedDeviceRoot parent;
  std::string root = parent.path() + "/nested/device";
  setenv("KORVEX_DEVICE_ROOT", root.c_str(), 1);
  WCHAR temp[MAX_PATH];
  EXPECT_EQ(GetTempPathW(MAX_PATH, temp), 6u);
  EXPECT_EQ(std::u16string(temp), u"\\Temp\\");
  struct stat info {};
  ASSERT_EQ(stat(root.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0700u);
  EXPECT_TRUE(std::filesystem::is_directory(root + "/Temp"));
  EXPECT_EQ(GetTempPathW(6, temp), 7u);  // too small: the size needed
}

}  // namespace
