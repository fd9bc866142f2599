#include "module_helpers.h"

#include <gtest/gtest.h>

#include "device_files.h"

namespace {

using ModuleHelpers = common_test::DeviceRootTest;

TEST_F(ModuleHelpers, ProgramDirectoryKeepsItsBackslash)
{
  EXPECT_EQ(GetModuleDirectory(nullptr), u"\\Program Files\\Tests\\");
}

TEST_F(ModuleHelpers, FileVersionOfTheProgram)
{
  WCHAR version[32];
  ASSERT_TRUE(GetFileVersionString(u"\\Program Files\\Tests\\common_tests.exe", version, 32));
  EXPECT_EQ(CStringW(version), u"1.2.3.4");
  ASSERT_TRUE(GetFileVersionString(u"\\Program Files\\Tests\\common_tests.exe", version, 4));
  EXPECT_EQ(CStringW(version), u"1.2") << "cut to the buffer";
  EXPECT_FALSE(GetFileVersionString(u"\\missing.exe", version, 32));
}

}  // namespace
