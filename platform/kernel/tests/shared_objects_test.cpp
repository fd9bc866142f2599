#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "kernel/kernel.h"

#include <cstring>
#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

constexpr char16_t kChild[] = u"\\Program Files\\Tests\\KernelChild.exe";

using Mappings = DeviceFilesTest;

TEST_F(Mappings, NamedMappingIsSharedAndKeepsItsSize)
{
  HANDLE first = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4095, u"KORVEX    1a2b");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  auto* view = static_cast<char*>(MapViewOfFile(first, FILE_MAP_WRITE, 0, 0, 0));
  ASSERT_NE(view, nullptr);
  strcpy(view + 4000, "end of the block");

  // Opening asks for another size; the mapping keeps its own.
  HANDLE second = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 48, u"KORVEX    1a2b");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  auto* other = static_cast<char*>(MapViewOfFile(second, FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(other, nullptr);
  EXPECT_STREQ(other + 4000, "end of the block");
  EXPECT_TRUE(FlushViewOfFile(view + 4000, 16));

  // A view outlives its handle.
  CloseHandle(first);
  CloseHandle(second);
  view[0] = 'x';
  EXPECT_EQ(other[0], 'x');
  EXPECT_TRUE(UnmapViewOfFile(view));
  EXPECT_TRUE(UnmapViewOfFile(other));
  EXPECT_FALSE(UnmapViewOfFile(other));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_ADDRESS));

  // With the last view gone the mapping is gone: the name starts a new one.
  HANDLE again = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, u"KORVEX    1a2b");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  CloseHandle(again);
}

TEST_F(Mappings, RefusesWhatItCannotMap)
{
  EXPECT_EQ(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 0, u"Empty"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  HANDLE readOnly = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READONLY, 0, 16, nullptr);
  EXPECT_EQ(MapViewOfFile(readOnly, FILE_MAP_WRITE, 0, 0, 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_EQ(MapViewOfFile(readOnly, FILE_MAP_READ, 0, 0, 17), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  CloseHandle(readOnly);
}

class AcrossProcesses : public DeviceFilesTest {
 protected:
  void SetUp() override { Install(KV_TEST_CHILD, "Program Files/Tests/KernelChild.exe"); }

  static DWORD Run(const char16_t* commandLine, HANDLE* process = nullptr)
  {
    std::u16string line(commandLine);
    PROCESS_INFORMATION info{};
    EXPECT_TRUE(CreateProcessW(kChild, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &info));
    CloseHandle(info.hThread);
    if (process) {
      *process = info.hProcess;
      return 0;
    }
    WaitForSingleObject(info.hProcess, 60000);
    DWORD code = 0xDEAD;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
    return code;
  }

  // Runs the child in another device root, outside the layer's process calls.
  static int RunInRoot(const std::string& root, const char* commandLine)
  {
    std::string variable = "KORVEX_DEVICE_ROOT=" + root;
    std::vector<char*> environment;
    for (char** entry = environ; *entry; ++entry) {
      if (strncmp(*entry, "KORVEX_DEVICE_ROOT=", 19) != 0) {
        environment.push_back(*entry);
      }
    }
    environment.push_back(variable.data());
    environment.push_back(nullptr);
    std::string program = KV_TEST_CHILD, line = commandLine;
    char* argv[] = {program.data(), line.data(), nullptr};
    pid_t id = 0;
    int status = 0;
    if (posix_spawn(&id, program.c_str(), nullptr, nullptr, argv, environment.data()) != 0 || waitpid(id, &status, 0) != id) {
      return -1;
    }
    return WEXITSTATUS(status);
  }
};

// The hand-off of an order's result: a block and an event of one name.
TEST_F(AcrossProcesses, ShareANamedEventAndMapping)
{
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4095, u"Handoff");
  auto* block = static_cast<BYTE*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, u"Handoff");
  HANDLE idle = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HANDLE child = nullptr;
  Run(u"write Handoff result=successed", &child);

  // A wait that mixes objects of this process with device-wide ones.
  HANDLE objects[] = {idle, event};
  ASSERT_EQ(WaitForMultipleObjects(2, objects, FALSE, 60000), WAIT_OBJECT_0 + 1);
  DWORD header[4];
  memcpy(header, block, sizeof header);
  EXPECT_EQ(header[2], 16u);
  EXPECT_EQ(header[3], 32u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(block + 16), header[3] / 2), u"result=successed");
  ASSERT_EQ(WaitForSingleObject(child, 60000), WAIT_OBJECT_0);
  DWORD code = 0xDEAD;
  GetExitCodeProcess(child, &code);
  EXPECT_EQ(code, 0u);
  for (HANDLE handle : {child, idle, event, mapping}) {
    CloseHandle(handle);
  }
  UnmapViewOfFile(block);
}

TEST_F(AcrossProcesses, AnotherDeviceRootSharesNothing)
{
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, u"Handoff");
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4095, u"Handoff");
  device::testing::ScopedDeviceRoot other;
  setenv("KORVEX_DEVICE_ROOT", root_.path().c_str(), 1);  // this process stays on its own root
  EXPECT_EQ(RunInRoot(other.path(), "set Handoff"), 1);            // no such event there
  EXPECT_EQ(RunInRoot(other.path(), "write Handoff text"), 2);     // nor mapping
  EXPECT_EQ(RunInRoot(root_.path(), "set Handoff"), 0);            // while this root has them
  EXPECT_EQ(WaitForSingleObject(event, 60000), WAIT_OBJECT_0);
  CloseHandle(mapping);
  CloseHandle(event);
}

TEST_F(AcrossProcesses, ObjectsOfACrashedProcessAreStartedAfresh)
{
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, u"Ready");
  HANDLE holder = nullptr;
  Run(u"hold Held Ready", &holder);
  ASSERT_EQ(WaitForSingleObject(ready, 60000), WAIT_OBJECT_0);
  HANDLE held = CreateEventW(nullptr, TRUE, FALSE, u"Held");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));
  EXPECT_EQ(WaitForSingleObject(held, 0), WAIT_OBJECT_0);  // set by the holder
  CloseHandle(held);

  ASSERT_TRUE(TerminateProcess(holder, 9));  // killed: nothing of it closes its objects
  ASSERT_EQ(WaitForSingleObject(holder, 60000), WAIT_OBJECT_0);
  CloseHandle(holder);
  held = CreateEventW(nullptr, TRUE, FALSE, u"Held");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(WaitForSingleObject(held, 0), WAIT_TIMEOUT);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, u"Held.map");
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SUCCESS));
  for (HANDLE handle : {held, mapping, ready}) {
    CloseHandle(handle);
  }
  // With every holder gone, only the device's wake word is left of the objects.
  std::vector<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(Host(".kernel/objects"))) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"wake"});
}

}  // namespace
