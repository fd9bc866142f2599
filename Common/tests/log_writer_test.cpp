#include "log_writer.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "testing/clock.h"

namespace {

using common_test::DeviceFileExists;
using common_test::ReadDeviceFile;
using common_test::WriteDeviceFile;

// The test program is "\Program Files\Tests\common_tests.exe"; its log lies in "\Temp\".
constexpr const WCHAR* kLog = u"\\Temp\\common_tests.exe.1.log";
constexpr const WCHAR* kOlderLog = u"\\Temp\\common_tests.exe.2.log";

class LogWriter : public common_test::DeviceRootTest {
 protected:
  void SetUp() override
  {
    device::testing::UseVirtualClock(SYSTEMTIME{2024, 5, 3, 1, 9, 30, 7, 0});
    WCHAR temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);  // makes the folder
  }
};

TEST_F(LogWriter, EntryIsHeaderWithSourceTimeAndLastErrorThenTheMessage)
{
  SetLastError(ERROR_FILE_NOT_FOUND);
  int line = __LINE__ + 1;
  WRITE_LOG_ENTRY(u"无法打开 100%d");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND)) << "logging keeps the last error";

  SetLastError(0x80090005u);
  WRITE_LOG_ENTRY(u"");
  WRITE_LOG_ENTRY(u"status %d, memo %s", 100, u"成功");

  std::string header = ".\\log_writer_test.cpp(" + std::to_string(line) + "): 2024/05/01 09:30:07 ";
  std::string next = ".\\log_writer_test.cpp(" + std::to_string(line + 4) + "): 2024/05/01 09:30:07 ";
  std::string last = ".\\log_writer_test.cpp(" + std::to_string(line + 5) + "): 2024/05/01 09:30:07 ";
  EXPECT_EQ(ReadDeviceFile(kLog), header + "00000002\r\n无法打开 100%d\r\n" +  // a lone message is not a format
                                      next + "80090005\r\n\r\n" +
                                      last + "80090005\r\nstatus 100, memo 成功\r\n");
}

TEST_F(LogWriter, AppendsToTheFileAndCutsLongLines)
{
  WriteDeviceFile(kLog, "earlier\r\n");
  WriteLog(u"%s", std::u16string(2000, u'x').c_str());
  EXPECT_EQ(ReadDeviceFile(kLog), "earlier\r\n" + std::string(kLogLineLimit, 'x') + "\r\n");
}

TEST_F(LogWriter, WriteLogLineAppendsAtTheEndOfAnOpenStream)
{
  WriteDeviceFile(kLog, "one\r\n");
  FILE* stream = _wfopen(kLog, u"r+t");
  ASSERT_NE(stream, nullptr);
  EXPECT_TRUE(WriteLogLine(stream, u"two"));
  fclose(stream);
  EXPECT_EQ(ReadDeviceFile(kLog), "one\r\ntwo\r\n");
}

struct RotationCase {
  size_t before;      // bytes in the log before the line
  size_t lineLength;  // characters of the line; two more bytes for its line end
  bool rotates;
};

void PrintTo(const RotationCase& c, std::ostream* out)
{
  *out << c.before << " bytes and a line of " << c.lineLength;
}

class LogRotation : public LogWriter, public ::testing::WithParamInterface<RotationCase> {};

TEST_P(LogRotation, FileLargerThan8192BytesMovesToTheSecondGeneration)
{
  const RotationCase& c = GetParam();
  std::string before(c.before, 'a');
  WriteDeviceFile(kLog, before);
  WriteDeviceFile(kOlderLog, "older generation");
  std::u16string line(c.lineLength, u'b');
  WriteLog(u"%s", line.c_str());

  std::string written = before + std::string(c.lineLength, 'b') + "\r\n";
  if (c.rotates) {
    EXPECT_FALSE(DeviceFileExists(kLog));
    EXPECT_EQ(ReadDeviceFile(kOlderLog), written);
    WriteLog(u"next");
    EXPECT_EQ(ReadDeviceFile(kLog), "next\r\n");
  } else {
    EXPECT_EQ(ReadDeviceFile(kLog), written);
    EXPECT_EQ(ReadDeviceFile(kOlderLog), "older generation");
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, LogRotation,
                         ::testing::Values(RotationCase{8000, 298, true},    // 8000 -> 8300
                                           RotationCase{8000, 190, false},   // exactly 8192 stays
                                           RotationCase{8190, 1, true},      // 8193
                                           RotationCase{0, 1020, false}),
                         [](const auto& info) {
                           return "Before" + std::to_string(info.param.before) + "Line" + std::to_string(info.param.lineLength);
                         });

struct PathCase {
  size_t folderLength;  // "\" then letters then "\"
  size_t nameLength;    // the module's name part, its backslash included
  bool written;
};

void PrintTo(const PathCase& c, std::ostream* out)
{
  *out << "folder " << c.folderLength << ", name " << c.nameLength;
}

class LogPathRule : public ::testing::TestWithParam<PathCase> {};

TEST_P(LogPathRule, FolderAndNameMustStayBelow250Characters)
{
  const PathCase& c = GetParam();
  std::u16string folder = u"\\" + std::u16string(c.folderLength - 2, u'T') + u"\\";
  std::u16string name = u"\\" + std::u16string(c.nameLength - 1, u'n');
  std::u16string module = u"\\Program Files" + name;
  CStringW path = u"unchanged";
  EXPECT_EQ(MakeLogFilePath(folder.c_str(), module.c_str(), path), c.written ? TRUE : FALSE);
  if (c.written) {
    EXPECT_EQ(path, CStringW((folder + name + u".1.log").c_str()));
  }
}

INSTANTIATE_TEST_SUITE_P(Lengths, LogPathRule,
                         ::testing::Values(PathCase{6, 18, true}, PathCase{6, 243, true},  // 249
                                           PathCase{6, 244, false},                        // 250
                                           PathCase{200, 49, true}, PathCase{200, 50, false},
                                           PathCase{240, 30, false}),
                         [](const auto& info) {
                           return "Folder" + std::to_string(info.param.folderLength) + "Name" + std::to_string(info.param.nameLength);
                         });

TEST(LogPath, ModulePathWithoutBackslashHasNoLog)
{
  CStringW path;
  EXPECT_FALSE(MakeLogFilePath(u"\\Temp\\", u"KorvexPortal.exe", path));
  EXPECT_TRUE(MakeLogFilePath(u"\\Temp\\", u"\\Windows\\KorvexPortal.exe", path));
  EXPECT_EQ(path, u"\\Temp\\\\KorvexPortal.exe.1.log");
}

}  // namespace
