#include "user_folder.h"

#include <gtest/gtest.h>

#include <string>

#include "device_files.h"

namespace {

using common_test::DeviceFileExists;

struct LogonIdCase {
  const char* name;
  std::u16string id;
  bool valid;
};

void PrintTo(const LogonIdCase& c, std::ostream* out)
{
  *out << c.name;
}

class LogonIds : public ::testing::TestWithParam<LogonIdCase> {};

TEST_P(LogonIds, NameAFolderOnlyWhenTheyAreOneSafeName)
{
  const LogonIdCase& c = GetParam();
  EXPECT_EQ(IsValidLogonId(c.id.c_str()), c.valid ? TRUE : FALSE);
}

INSTANTIATE_TEST_SUITE_P(
    Table, LogonIds,
    ::testing::Values(LogonIdCase{"Email", u"demo@korvex.cn", true}, LogonIdCase{"MobileNumber", u"13800138000", true},
                      LogonIdCase{"Chinese", u"演示账户", true}, LogonIdCase{"ThreeDots", u"...", true},
                      LogonIdCase{"DotInside", u"a.b", true}, LogonIdCase{"Empty", u"", false},
                      LogonIdCase{"Dot", u".", false}, LogonIdCase{"DotDot", u"..", false},
                      LogonIdCase{"Backslash", u"..\\other", false}, LogonIdCase{"Slash", u"a/b", false},
                      LogonIdCase{"Tab", u"a\tb", false}, LogonIdCase{"NextLine", u"a\u0085", false},
                      LogonIdCase{"Delete", u"a\u007F", false}, LogonIdCase{"Colon", u"c:x", false},
                      LogonIdCase{"Wildcard", u"a*", false}, LogonIdCase{"Pipe", u"a|b", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LogonIds, NullIsRefused)
{
  EXPECT_FALSE(IsValidLogonId(nullptr));
}

using UserFolder = common_test::DeviceRootTest;

TEST_F(UserFolder, IsTheLogonIdUnderTheProgramsTemporaryFolder)
{
  CStringW folder;
  ASSERT_TRUE(GetUsersFolder(folder));
  EXPECT_EQ(folder, u"\\Temp\\KorvexPortal\\");
  ASSERT_TRUE(GetUserFolder(u"demo@korvex.cn", folder));
  EXPECT_EQ(folder, u"\\Temp\\KorvexPortal\\demo@korvex.cn\\");
  EXPECT_FALSE(DeviceFileExists(folder)) << "reading creates nothing";

  ASSERT_TRUE(CreateUserFolder(u"demo@korvex.cn", folder));
  EXPECT_EQ(folder, u"\\Temp\\KorvexPortal\\demo@korvex.cn\\");
  EXPECT_TRUE(DeviceFileExists(u"\\Temp\\KorvexPortal\\demo@korvex.cn"));
  EXPECT_TRUE(CreateUserFolder(u"demo@korvex.cn", folder)) << "an existing folder is fine";
}

TEST_F(UserFolder, RefusedIdNamesNothingAndCreatesNothing)
{
  CStringW folder = u"left over";
  EXPECT_FALSE(GetUserFolder(u"..", folder));
  EXPECT_TRUE(folder.IsEmpty());
  EXPECT_FALSE(CreateUserFolder(u"..\\..\\Windows", folder));
  EXPECT_TRUE(folder.IsEmpty());
  EXPECT_FALSE(DeviceFileExists(u"\\Temp\\KorvexPortal"));
}

TEST_F(UserFolder, FileInTheFolderPlaceIsNoFolder)
{
  CStringW folder;
  ASSERT_TRUE(CreateUserFolder(u"first", folder));
  common_test::WriteDeviceFile(u"\\Temp\\KorvexPortal\\second", "a file");
  EXPECT_FALSE(CreateUserFolder(u"second", folder));
  EXPECT_TRUE(folder.IsEmpty());
}

}  // namespace
