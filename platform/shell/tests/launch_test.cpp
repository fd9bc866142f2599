// Starting the device's browser and programs: the address or the parameters arrive as one
// argument, unchanged, without a command interpreter, and the browser takes only web addresses.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "shell/shell.h"
#include "testing/device_root.h"
#include "windows.h"

namespace {

class Launch : public ::testing::Test {
 protected:
  void SetUp() override
  {
    std::filesystem::create_directories(root_.path() + "/Windows");
    std::filesystem::copy_file(KV_ARGS_RECORDER, root_.path() + "/Windows/recorder.exe");
    std::ofstream(root_.path() + "/device.ini") << "[browser]\ncommand = " << KV_ARGS_RECORDER << "\n";
  }

  // The arguments that the recorder got; empty when it did not run.
  std::vector<std::string> Arguments()
  {
    std::ifstream file(root_.path() + "/args.bin", std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::vector<std::string> arguments;
    std::string all = bytes.str();
    for (size_t start = 0; start < all.size();) {
      size_t end = all.find('\0', start);
      arguments.push_back(all.substr(start, end - start));
      start = end + 1;
    }
    return arguments;
  }

  // Runs ShellExecuteEx and waits for the program to end.
  bool Execute(const WCHAR* file, const WCHAR* parameters, const WCHAR* verb = nullptr)
  {
    std::filesystem::remove(root_.path() + "/args.bin");
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = verb;
    info.lpFile = file;
    info.lpParameters = parameters;
    info.nShow = SW_SHOW;
    lastInstApp_ = 0;
    BOOL started = ShellExecuteEx(&info);
    lastInstApp_ = reinterpret_cast<intptr_t>(info.hInstApp);
    if (!started) {
      EXPECT_EQ(info.hProcess, nullptr);
      return false;
    }
    EXPECT_GT(lastInstApp_, 32);
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 1;
    GetExitCodeProcess(info.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(info.hProcess);
    return true;
  }

  device::testing::ScopedDeviceRoot root_;
  intptr_t lastInstApp_ = 0;
};

TEST_F(Launch, TheBrowserGetsTheAddressAsOneArgument)
{
  const char* addresses[] = {
      "https://example.com/",
      "http://example.com/pay?id=1&name=支付 and more",
      "https://example.com/a;b|c`d`$(e)'f'\"g\" *",
      "HTTPS://EXAMPLE.COM/UPPER",
  };
  for (const char* address : addresses) {
    std::u16string wide = std::filesystem::path(address).u16string();
    ASSERT_TRUE(Execute(u"\\Windows\\iexplore.exe", wide.c_str(), u"open")) << address;
    EXPECT_EQ(Arguments(), std::vector<std::string>{address});
  }
}

TEST_F(Launch, TheBrowserTakesOnlyWebAddresses)
{
  const char16_t* refused[] = {
      u"", u"file:///etc/passwd", u"-new-window", u"--version", u"javascript:alert(1)", u"ftp://example.com/",
      u"http:/example.com", u"https//example.com", u" http://example.com", u"http://example.com/\nsecond",
  };
  for (const char16_t* address : refused) {
    EXPECT_FALSE(Execute(u"\\Windows\\iexplore.exe", address)) << std::filesystem::path(address).string();
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(Arguments().empty());

    std::u16string line = address;
    PROCESS_INFORMATION process{};
    EXPECT_FALSE(CreateProcessW(u"\\Windows\\iexplore.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                nullptr, &process));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  }
}

TEST_F(Launch, AProgramGetsItsParametersWhole)
{
  const char16_t* parameters = u"\"\\Program Files\\KorvexPortal\\KorvexPortal.CAB\" /delete 1";
  ASSERT_TRUE(Execute(u"\\Windows\\recorder.exe", parameters));
  EXPECT_EQ(Arguments(), std::vector<std::string>{"\"\\Program Files\\KorvexPortal\\KorvexPortal.CAB\" /delete 1"});
  ASSERT_TRUE(Execute(u"recorder", u"found in \\Windows"));
  EXPECT_EQ(Arguments(), std::vector<std::string>{"found in \\Windows"});
  ASSERT_TRUE(Execute(u"\"\\Windows\\recorder.exe\"", nullptr));
  EXPECT_TRUE(Arguments().empty()) << "no parameters, no argument";
  EXPECT_TRUE(std::filesystem::exists(root_.path() + "/args.bin"));
}

TEST_F(Launch, WhatIsNotAProgramIsRefused)
{
  std::ofstream(root_.path() + "/Windows/notes.txt") << "text";
  struct Case {
    const char16_t* file;
    const char16_t* verb;
    DWORD error;
    intptr_t instApp;
  } cases[] = {
      {u"\\Windows\\notes.txt", nullptr, ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
      {u"\\Windows\\missing.exe", nullptr, ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
      {u"\\Windows\\recorder.exe", u"print", ERROR_INVALID_PARAMETER, SE_ERR_ACCESSDENIED},
      {u"", nullptr, ERROR_INVALID_PARAMETER, SE_ERR_ACCESSDENIED},
  };
  for (const Case& c : cases) {
    EXPECT_FALSE(Execute(c.file, u"x", c.verb)) << std::filesystem::path(c.file).string();
    EXPECT_EQ(GetLastError(), c.error) << std::filesystem::path(c.file).string();
    EXPECT_EQ(lastInstApp_, c.instApp) << std::filesystem::path(c.file).string();
  }
  EXPECT_TRUE(Arguments().empty());
  SHELLEXECUTEINFO unsized{};
  EXPECT_FALSE(ShellExecuteEx(&unsized));
  EXPECT_FALSE(ShellExecuteEx(nullptr));
}

}  // namespace
