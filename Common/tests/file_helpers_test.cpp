#include "file_helpers.h"

#include <gtest/gtest.h>

#include <string>

#include "device_files.h"

namespace {

using FileHelpers = common_test::DeviceRootTest;

TEST_F(FileHelpers, ReadsTheWholeFileZerosIncluded)
{
  std::string content("a\0b\r\n\xFF", 6);
  common_test::WriteDeviceFile(u"\\data.bin", content);
  CStringA bytes;
  ASSERT_TRUE(ReadWholeFile(u"\\DATA.BIN", bytes));
  EXPECT_EQ(std::string(bytes.GetString(), static_cast<size_t>(bytes.GetLength())), content);

  bytes = "unchanged";
  EXPECT_FALSE(ReadWholeFile(u"\\missing.bin", bytes));
  EXPECT_EQ(bytes, "unchanged");
}

}  // namespace
