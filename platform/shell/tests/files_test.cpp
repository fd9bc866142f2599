// Special folders and shortcut files in the device root.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "shell/shell.h"
#include "testing/device_root.h"
#include "windows.h"

namespace {

class ShellFiles : public ::testing::Test {
 protected:
  std::string Read(const std::string& relative)
  {
    std::ifstream file(root_.path() + "/" + relative, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
  }
  device::testing::ScopedDeviceRoot root_;
};

TEST_F(ShellFiles, SpecialFoldersAreMadeWhenAsked)
{
  WCHAR path[MAX_PATH] = {};
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, FALSE)) << "missing and not made";
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PROGRAMS, TRUE));
  EXPECT_EQ(std::u16string(path), u"\\Windows\\Start Menu\\Programs");
  EXPECT_TRUE(std::filesystem::is_directory(root_.path() + "/Windows/Start Menu/Programs"));
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_STARTMENU, FALSE));
  EXPECT_EQ(std::u16string(path), u"\\Windows\\Start Menu");
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x0005, TRUE)) << "a folder the device does not have";
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, nullptr, CSIDL_PROGRAMS, TRUE));
}

TEST_F(ShellFiles, AShortcutHoldsTheTargetsLengthAndTheTarget)
{
  WCHAR folder[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, folder, CSIDL_PROGRAMS, TRUE));
  std::u16string shortcut = std::u16string(folder) + u"\\Korvex.lnk";
  std::u16string target = u"\"\\Program Files\\KorvexPortal\\KorvexPortal.exe\"";
  ASSERT_TRUE(SHCreateShortcut(shortcut.data(), target.data()));
  EXPECT_EQ(Read("Windows/Start Menu/Programs/Korvex.lnk"), "46#\"\\Program Files\\KorvexPortal\\KorvexPortal.exe\"");

  // A second shortcut of that name replaces the first; the text is in the ANSI code page.
  std::u16string chinese = u"\\Program Files\\支付\\App.exe";
  ASSERT_TRUE(SHCreateShortcut(shortcut.data(), chinese.data()));
  EXPECT_EQ(Read("Windows/Start Menu/Programs/Korvex.lnk"), "25#\\Program Files\\\xD6\xA7\xB8\xB6\\App.exe");

  std::u16string empty;
  std::u16string tooLong(MAX_PATH + 1, u'a');
  std::u16string missingFolder = u"\\No Such Folder\\x.lnk";
  EXPECT_FALSE(SHCreateShortcut(shortcut.data(), empty.data()));
  EXPECT_FALSE(SHCreateShortcut(shortcut.data(), tooLong.data()));
  EXPECT_FALSE(SHCreateShortcut(nullptr, target.data()));
  EXPECT_FALSE(SHCreateShortcut(missingFolder.data(), target.data()));
  EXPECT_EQ(Read("Windows/Start Menu/Programs/Korvex.lnk"), "25#\\Program Files\\\xD6\xA7\xB8\xB6\\App.exe");
}

}  // namespace
