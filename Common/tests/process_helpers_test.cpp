#include "process_helpers.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "device_files.h"
#include "kernel/kernel.h"

namespace {

// Starts copies of the test child under the names a case needs and ends them afterwards.
class Processes : public common_test::DeviceRootTest {
 protected:
  void TearDown() override
  {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"Go");
    SetEvent(go);
    for (const PROCESS_INFORMATION& child : children_) {
      EXPECT_EQ(WaitForSingleObject(child.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
      CloseHandle(child.hThread);
      CloseHandle(child.hProcess);
    }
    CloseHandle(go);
  }

  // Runs the child as the device program at path (under the device root), waiting for "Go".
  void Run(const std::string& path)
  {
    std::filesystem::path host = std::filesystem::path(root_.path()) / path;
    std::filesystem::create_directories(host.parent_path());
    std::filesystem::copy_file(COMMON_TEST_CHILD, host, std::filesystem::copy_options::overwrite_existing);
    std::u16string device = u"\\" + std::filesystem::path(path).u16string();
    for (char16_t& c : device) {
      c = c == u'/' ? u'\\' : c;
    }
    std::u16string line = u"wait Go";
    PROCESS_INFORMATION info = {};
    ASSERT_TRUE(CreateProcessW(device.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    children_.push_back(info);
  }

  std::vector<PROCESS_INFORMATION> children_;
};

TEST_F(Processes, OwnProcessIsNoOtherInstance)
{
  EXPECT_FALSE(FindOtherInstanceProcess());
}

// This program is "\Program Files\Tests\common_tests.exe".
TEST_F(Processes, ProgramWhoseNameIsPartOfOurPathIsNoOtherInstance)
{
  Run("Program Files/Tests/tests.exe");
  Run("Windows/Portal.exe");
  Run("Windows/common_tests.exe.bak");
  EXPECT_FALSE(FindOtherInstanceProcess());
}

TEST_F(Processes, SameFileNameInAnyCaseOrFolderIsAnotherInstance)
{
  Run("Program Files/Tests/COMMON_TESTS.EXE");
  EXPECT_TRUE(FindOtherInstanceProcess());
}

TEST_F(Processes, SameFileNameInAnotherFolder)
{
  Run("Windows/common_tests.exe");
  EXPECT_TRUE(FindOtherInstanceProcess());
}

class Browser : public common_test::DeviceRootTest {};

TEST_F(Browser, StartsTheBrowserWithTheUrlAsItsCommandLine)
{
  std::ofstream(root_.path() + "/device.ini") << "[browser]\ncommand = " << COMMON_TEST_CHILD << "\n";
  HANDLE done = CreateEventW(nullptr, TRUE, FALSE, u"ChildDone");
  const std::u16string url = u"https://example.com/pay?id=1&name=支付";
  ASSERT_TRUE(OpenUrlInBrowser(url.c_str()));
  ASSERT_EQ(WaitForSingleObject(done, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
  CloseHandle(done);
  std::string bytes = common_test::ReadDeviceFile(u"\\Temp\\child.txt");
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2), url);
}

TEST_F(Browser, OpensOnlyWebAddresses)
{
  std::ofstream(root_.path() + "/device.ini") << "[browser]\ncommand = " << COMMON_TEST_CHILD << "\n";
  EXPECT_FALSE(OpenUrlInBrowser(u"file:///etc/passwd"));
  EXPECT_FALSE(OpenUrlInBrowser(u"--help"));
  EXPECT_FALSE(OpenUrlInBrowser(u""));
}

TEST_F(Browser, FailsWithoutABrowser)
{
  EXPECT_FALSE(OpenUrlInBrowser(u"https://example.com/"));
}

}  // namespace
