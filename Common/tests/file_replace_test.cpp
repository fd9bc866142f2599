#include "file_replace.h"

#include <gtest/gtest.h>

#include "device_files.h"

namespace {

using common_test::DeviceFileExists;
using common_test::ReadDeviceFile;
using common_test::WriteDeviceFile;

constexpr const WCHAR* kPath = u"\\list.dat";
constexpr const WCHAR* kPending = u"\\list.dat.tmp";
constexpr const WCHAR* kKeptAside = u"\\list.dat.bak";

using FileReplace = common_test::DeviceRootTest;

TEST_F(FileReplace, WritesANewFileAndReplacesAnOldOne)
{
  EXPECT_TRUE(WriteFileWhole(kPath, CStringA("first")));
  EXPECT_EQ(ReadDeviceFile(kPath), "first");
  EXPECT_TRUE(WriteFileWhole(kPath, CStringA("")));
  EXPECT_EQ(ReadDeviceFile(kPath), "");
  EXPECT_TRUE(WriteFileWhole(kPath, CStringA("second, longer")));
  EXPECT_EQ(ReadDeviceFile(kPath), "second, longer");
  EXPECT_FALSE(DeviceFileExists(kPending));
}

// Whatever stops a save, the old file stays whole and no temporary file is left behind.
TEST_F(FileReplace, FailedWriteLeavesTheOldFile)
{
  WriteDeviceFile(kPath, "old");
  EXPECT_FALSE(WriteFileWhole(kPath, [](HANDLE file) {
    DWORD written = 0;
    WriteFile(file, "partial", 7, &written, nullptr);
    return FALSE;
  }));
  EXPECT_EQ(ReadDeviceFile(kPath), "old");
  EXPECT_FALSE(DeviceFileExists(kPending));

  ASSERT_TRUE(CreateDirectoryW(kPending, nullptr));  // the temporary file cannot be created
  EXPECT_FALSE(WriteFileWhole(kPath, CStringA("new")));
  EXPECT_EQ(ReadDeviceFile(kPath), "old");

  EXPECT_FALSE(WriteFileWhole(u"\\missing\\list.dat", CStringA("new")));
}

TEST_F(FileReplace, KeepsAFileAsideReplacingAnEarlierOne)
{
  EXPECT_TRUE(KeepFileAside(kPath)) << "nothing to keep";
  EXPECT_FALSE(DeviceFileExists(kKeptAside));

  WriteDeviceFile(kKeptAside, "earlier");
  WriteDeviceFile(kPath, "damaged");
  EXPECT_TRUE(KeepFileAside(kPath));
  EXPECT_FALSE(DeviceFileExists(kPath));
  EXPECT_EQ(ReadDeviceFile(kKeptAside), "damaged");
}

TEST_F(FileReplace, ReadCompletesOnlyAWriteThatLostItsOldFile)
{
  WriteDeviceFile(kPending, "whole");
  CompleteInterruptedWrite(kPath);
  EXPECT_EQ(ReadDeviceFile(kPath), "whole");
  EXPECT_FALSE(DeviceFileExists(kPending));

  // With the old file still there the temporary file may be half written: it is not taken.
  WriteDeviceFile(kPending, "half");
  CompleteInterruptedWrite(kPath);
  EXPECT_EQ(ReadDeviceFile(kPath), "whole");
}

TEST_F(FileReplace, DeletesTheFileWithWhatAnInterruptedWriteLeft)
{
  EXPECT_FALSE(DeleteFileWhole(kPath)) << "nothing to delete";

  WriteDeviceFile(kPath, "whole");
  WriteDeviceFile(kPending, "half");
  EXPECT_TRUE(DeleteFileWhole(kPath));
  EXPECT_FALSE(DeviceFileExists(kPath));
  EXPECT_FALSE(DeviceFileExists(kPending)) << "it would come back at the next read";

  WriteDeviceFile(kPending, "only copy");
  EXPECT_TRUE(DeleteFileWhole(kPath));
  EXPECT_FALSE(DeviceFileExists(kPending));
}

}  // namespace
