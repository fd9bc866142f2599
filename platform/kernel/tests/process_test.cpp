#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "kernel/kernel.h"

#include <sys/wait.h>
#include <unistd.h>

#include <vector>

namespace {

constexpr char16_t kChild[] = u"\\Program Files\\Tests\\KernelChild.exe";

class Processes : public DeviceFilesTest {
 protected:
  void SetUp() override { Install(KV_TEST_CHILD, "Program Files/Tests/KernelChild.exe"); }

  PROCESS_INFORMATION Start(const char16_t* commandLine, const char16_t* program = kChild)
  {
    std::u16string line(commandLine);
    PROCESS_INFORMATION info{};
    EXPECT_TRUE(CreateProcessW(program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info))
        << GetLastError();
    return info;
  }

  static DWORD EndAndExitCode(const PROCESS_INFORMATION& info)
  {
    EXPECT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0xDEAD;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return code;
  }

  // The ids of the listed processes whose executable is named name.
  static std::vector<DWORD> Listed(const char16_t* name)
  {
    std::vector<DWORD> ids;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS | TH32CS_SNAPNOHEAPS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
      if (std::u16string_view(entry.szExeFile) == name) {
        ids.push_back(entry.th32ProcessID);
      }
    }
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    CloseToolhelp32Snapshot(snapshot);
    return ids;
  }
};

TEST(ProcessId, AForkedChildReportsItsOwnId)
{
  const DWORD parent = GetCurrentProcessId();
  EXPECT_EQ(parent, static_cast<DWORD>(getpid()));
  pid_t child = fork();
  if (child == 0) {
    DWORD own = GetCurrentProcessId();
    _exit(own == static_cast<DWORD>(getpid()) && own != parent ? 0 : 1);
  }
  ASSERT_GT(child, 0);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST_F(Processes, ChildReportsItsExitCodeAndIsListedWhileItRuns)
{
  PROCESS_INFORMATION child = Start(u"wait Go 7");
  EXPECT_NE(child.dwProcessId, GetCurrentProcessId());
  EXPECT_EQ(Listed(u"KernelChild.exe"), std::vector<DWORD>{child.dwProcessId});
  EXPECT_EQ(Listed(u"platform_kernel_tests.exe"), std::vector<DWORD>{GetCurrentProcessId()});
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(child.hProcess, &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
  EXPECT_EQ(WaitForSingleObject(child.hProcess, 0), WAIT_TIMEOUT);

  HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"Go");
  SetEvent(go);
  ASSERT_EQ(WaitForSingleObject(child.hThread, 60000), WAIT_OBJECT_0);  // the main thread ends with it
  ASSERT_TRUE(GetExitCodeThread(child.hThread, &code));
  EXPECT_EQ(code, 7u);
  EXPECT_EQ(EndAndExitCode(child), 7u);
  EXPECT_TRUE(Listed(u"KernelChild.exe").empty());
  CloseHandle(go);
}

TEST_F(Processes, CommandLineArrivesWhole)
{
  std::filesystem::create_directory(Host("Temp"));
  PROCESS_INFORMATION child = Start(u"cmdline  two  blanks \"quoted\" 支付");
  ASSERT_EQ(EndAndExitCode(child), 0u);
  std::string expected = "cmdline  two  blanks \"quoted\" 支付";
  std::u16string line = std::filesystem::path(expected).u16string();
  std::string bytes = ReadHost("Temp/cmdline.txt");
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2), line);
}

TEST_F(Processes, AThreadThatHasEndedIsGoneWithItsPerThreadStateBeforeTheProcessEnds)
{
  std::filesystem::create_directory(Host("Temp"));
  ASSERT_EQ(EndAndExitCode(Start(u"threadend")), 0u);
  std::string bytes = ReadHost("Temp/thread_end.txt");
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2), u"freed");
}

TEST_F(Processes, ProgramsAreFoundByDevicePath)
{
  EXPECT_EQ(EndAndExitCode(Start(u"exit 3", u"\\program files\\tests\\KERNELCHILD")), 3u);  // ".exe" added
  WriteHost("Windows/notes.txt", "text");
  struct Case {
    const char16_t* program;
    DWORD error;
  } cases[] = {
      {u"\\Program Files\\Tests\\Missing.exe", ERROR_FILE_NOT_FOUND},
      {u"\\Windows\\notes.txt", ERROR_ACCESS_DENIED},
      {u"\\Windows\\..\\..\\bin\\sh", ERROR_INVALID_NAME},
      {u"\\Windows\\iexplore.exe", ERROR_FILE_NOT_FOUND},  // no browser in the settings
  };
  for (const Case& c : cases) {
    PROCESS_INFORMATION info{};
    std::u16string line = u"exit 0";
    EXPECT_FALSE(CreateProcessW(c.program, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(Processes, TerminateSetsTheExitCode)
{
  PROCESS_INFORMATION child = Start(u"wait Never 0");
  HANDLE opened = OpenProcess(PROCESS_ALL_ACCESS, FALSE, child.dwProcessId);
  ASSERT_NE(opened, nullptr);
  ASSERT_TRUE(TerminateProcess(opened, 42));
  EXPECT_EQ(EndAndExitCode(child), 42u);
  EXPECT_EQ(WaitForSingleObject(opened, 0), WAIT_OBJECT_0);
  EXPECT_FALSE(TerminateProcess(opened, 1));  // it has ended
  CloseHandle(opened);

  EXPECT_EQ(OpenProcess(PROCESS_ALL_ACCESS, FALSE, 1), nullptr);  // not a process of this device
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  DWORD code = 0;
  ASSERT_TRUE(GetExitCodeProcess(GetCurrentProcess(), &code));
  EXPECT_EQ(code, static_cast<DWORD>(STILL_ACTIVE));
}

TEST_F(Processes, BrowserCommandRunsForTheDevicesBrowser)
{
  std::filesystem::create_directory(Host("Temp"));
  WriteHost("device.ini", "[browser]\ncommand = " + std::string(KV_TEST_CHILD) + " cmdline\n");
  EXPECT_EQ(EndAndExitCode(Start(u"https://example.com/?a=1 b", u"\\Windows\\iexplore.exe")), 0u);
  std::string bytes = ReadHost("Temp/cmdline.txt");
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(bytes.data()), bytes.size() / 2),
            u"cmdline https://example.com/?a=1 b");

  // Anything but a web address is refused before the browser starts.
  PROCESS_INFORMATION info{};
  std::u16string line = u"9";
  EXPECT_FALSE(CreateProcessW(u"\\Windows\\iexplore.exe", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                              nullptr, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Processes, SuspendedChildRunsNothingUntilResumed)
{
  std::filesystem::create_directory(Host("Temp"));
  std::u16string line = u"cmdline";
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(kChild, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, nullptr,
                             &child));
  // It exists and can be seen, but its program has not run: no marker file, and it does not end.
  EXPECT_EQ(Listed(u"KernelChild.exe"), std::vector<DWORD>{child.dwProcessId});
  EXPECT_EQ(WaitForSingleObject(child.hProcess, 300), WAIT_TIMEOUT);
  EXPECT_FALSE(std::filesystem::exists(Host("Temp/cmdline.txt")));

  EXPECT_EQ(ResumeThread(child.hThread), 1u);
  EXPECT_EQ(ResumeThread(child.hThread), 0u);  // already running
  EXPECT_EQ(EndAndExitCode(child), 0u);
  EXPECT_TRUE(std::filesystem::exists(Host("Temp/cmdline.txt")));
  EXPECT_EQ(ResumeThread(nullptr), 0xFFFFFFFFu);
}

TEST_F(Processes, SuspendedChildCanBeTerminatedUnrun)
{
  std::filesystem::create_directory(Host("Temp"));
  std::u16string line = u"cmdline";
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessW(kChild, line.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, nullptr,
                             &child));
  ASSERT_TRUE(TerminateProcess(child.hProcess, 9));
  EXPECT_EQ(EndAndExitCode(child), 9u);
  EXPECT_FALSE(std::filesystem::exists(Host("Temp/cmdline.txt")));
}

TEST_F(Processes, CommandLinesUpToTheLimit)
{
  std::u16string longest = u"exit 5" + std::u16string(MAX_COMMAND_LINE - 6, u' ');
  EXPECT_EQ(EndAndExitCode(Start(longest.c_str())), 5u);
  std::u16string tooLong = longest + u" ";
  PROCESS_INFORMATION info{};
  EXPECT_FALSE(CreateProcessW(kChild, tooLong.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(Processes, AnotherProcesssCommandLineIsVisible)
{
  const std::u16string line = u"wait Go /ORDERPAY:order=1";
  PROCESS_INFORMATION child = Start(line.c_str());
  std::u16string text(64, u'\0');
  DWORD size = static_cast<DWORD>(text.size());
  ASSERT_TRUE(GetProcessCommandLineW(child.dwProcessId, text.data(), &size));
  EXPECT_EQ(size, line.size() + 1);  // with the terminator
  EXPECT_EQ(text.substr(0, size - 1), line);

  DWORD small = 4;
  EXPECT_FALSE(GetProcessCommandLineW(child.dwProcessId, text.data(), &small));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(small, line.size() + 1);

  size = static_cast<DWORD>(text.size());
  ASSERT_FALSE(GetProcessCommandLineW(1, text.data(), &size));  // not a process of this device
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  std::u16string own(4096, u'\0');
  size = static_cast<DWORD>(own.size());
  ASSERT_TRUE(GetProcessCommandLineW(GetCurrentProcessId(), own.data(), &size));
  EXPECT_EQ(own.substr(0, size - 1), GetCommandLineW());

  ASSERT_TRUE(TerminateProcess(child.hProcess, 0));
  EndAndExitCode(child);
}

}  // namespace
