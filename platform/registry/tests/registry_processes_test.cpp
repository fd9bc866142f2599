// Two processes write the registry of one device root at the same time; no value may be lost.
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "base/errors.h"
#include "registry/registry.h"
#include "testing/device_root.h"

extern char** environ;

namespace {

pid_t StartWriter(const std::string& name, int count) {
  const std::string countText = std::to_string(count);
  std::vector<char*> argv = {const_cast<char*>(REGISTRY_WRITER_PATH), const_cast<char*>(name.c_str()),
                             const_cast<char*>(countText.c_str()), nullptr};
  pid_t pid = -1;
  if (posix_spawn(&pid, REGISTRY_WRITER_PATH, nullptr, nullptr, argv.data(), environ) != 0) return -1;
  return pid;
}

int ExitCode(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

TEST(RegistryProcesses, TwoConcurrentWritersLoseNoValue) {
  device::testing::ScopedDeviceRoot root;
  constexpr int kCount = 100;
  const pid_t first = StartWriter("first", kCount);
  const pid_t second = StartWriter("second", kCount);
  ASSERT_GT(first, 0);
  ASSERT_GT(second, 0);
  ASSERT_EQ(ExitCode(first), 0);
  ASSERT_EQ(ExitCode(second), 0);

  for (const char* writer : {"first", "second"}) {
    for (const std::u16string& path :
         {u"Software\\Writers\\" + std::u16string(writer, writer + std::char_traits<char>::length(writer)),
          std::u16string(u"Software\\Writers\\Shared")}) {
      HKEY key = nullptr;
      ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
      for (int i = 0; i < kCount; ++i) {
        const std::string name = std::string(writer) + "_" + std::to_string(i);
        const std::u16string valueName(name.begin(), name.end());
        DWORD value = 0, size = sizeof value;
        ASSERT_EQ(RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
                  ERROR_SUCCESS)
            << name;
        EXPECT_EQ(value, static_cast<DWORD>(i));
      }
      EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    }
  }
}

}  // namespace
