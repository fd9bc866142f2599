// A fresh device root for each test of the installer, holding the test packages in "\Temp", with
// host-side access to what the device holds and to the fake setup library's log and answers.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "kernel/device_root.h"
#include "package/package.h"
#include "testing/device_root.h"
#include "windows.h"

namespace install_test {

namespace fs = std::filesystem;

inline std::string ReadHostFile(const fs::path& path)
{
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The host path of a path relative to the device root in use ("Temp/a.txt").
inline fs::path Host(const std::string& relative)
{
  return fs::path(device::RootPath()) / fs::u8path(relative);
}

inline std::string Read(const std::string& relative)
{
  return ReadHostFile(Host(relative));
}

inline void Write(const std::string& relative, const std::string& content)
{
  fs::create_directories(Host(relative).parent_path());
  std::ofstream(Host(relative), std::ios::binary) << content;
}

// The package of a cabinet with its files read into memory, extracted through a folder of the
// layer's own, which the device does not see.
inline install::Package ReadWholePackage(const fs::path& cabinet)
{
  install::PackageReader reader;
  std::string problem;
  EXPECT_TRUE(reader.Open(cabinet.string(), &problem)) << problem;
  fs::path folder = device::PrivateFolder("test-package");
  std::vector<std::string> places;
  for (size_t i = 0; i < reader.Manifest().files.size(); ++i)
    places.push_back(std::to_string(i));
  EXPECT_EQ(reader.Extract(folder.string(), places, &problem), install::Extraction::done) << problem;
  install::Package package{reader.Manifest(), {}};
  for (const std::string& place : places) {
    std::string bytes = ReadHostFile(folder / place);
    package.contents.emplace_back(bytes.begin(), bytes.end());
  }
  fs::remove_all(folder);
  return package;
}

// The device as a test observes it: every folder and file of the root with the file's content,
// and the registry; the layer's other state and the setup library's own log are left out.
inline std::map<std::string, std::string> DeviceState()
{
  std::map<std::string, std::string> state;
  fs::path root = device::RootPath();
  for (auto entry = fs::recursive_directory_iterator(root); entry != fs::recursive_directory_iterator(); ++entry) {
    std::string relative = fs::relative(entry->path(), root).generic_string();
    if (relative == ".kernel") {
      entry.disable_recursion_pending();
      continue;
    }
    if (relative != "Temp/FakeSetup.log")
      state[relative] = entry->is_directory() ? "<folder>" : ReadHostFile(entry->path());
  }
  state["<registry>"] = ReadHostFile(root / ".kernel/registry/registry.dat");
  return state;
}

// Where two device states differ: the paths whose contents differ or that only one has, and the
// registry's lines that only one has. Readable where a failed comparison of the states
// themselves would print every file.
inline std::vector<std::string> Differences(const std::map<std::string, std::string>& actual,
                                            const std::map<std::string, std::string>& expected)
{
  auto lines = [](const std::map<std::string, std::string>& state) {
    std::vector<std::string> lines;
    std::istringstream text(state.contains("<registry>") ? state.at("<registry>") : "");
    for (std::string line; std::getline(text, line);)
      lines.push_back(line);
    return lines;
  };
  std::vector<std::string> differences;
  for (const auto& [path, content] : actual)
    if (path != "<registry>" && (!expected.contains(path) || expected.at(path) != content))
      differences.push_back(path);
  for (const auto& [path, content] : expected)
    if (!actual.contains(path))
      differences.push_back(path + " (missing)");
  std::vector<std::string> now = lines(actual), before = lines(expected);
  for (const std::string& line : now)
    if (std::find(before.begin(), before.end(), line) == before.end())
      differences.push_back("registry has " + line);
  for (const std::string& line : before)
    if (std::find(now.begin(), now.end(), line) == now.end())
      differences.push_back("registry lacks " + line);
  if (differences.empty() && now != before)
    differences.push_back("the registry's keys or values are in another order");
  return differences;
}

// The fake setup library's hook calls so far, one a line.
inline std::vector<std::string> HookCalls()
{
  std::vector<std::string> lines;
  std::istringstream log(Read("Temp/FakeSetup.log"));
  for (std::string line; std::getline(log, line);)
    lines.push_back(line);
  return lines;
}

inline void SetNumber(HKEY hive, const char16_t* key, const char16_t* name, DWORD value)
{
  HKEY opened = nullptr;
  ASSERT_EQ(RegCreateKeyExW(hive, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &opened, nullptr), ERROR_SUCCESS);
  RegSetValueExW(opened, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(opened);
}

// What the fake setup library's hook answers (0 when never set).
inline void SetHookAnswer(const char16_t* hook, DWORD answer)
{
  SetNumber(HKEY_LOCAL_MACHINE, u"Software\\FakeSetup", hook, answer);
}

// Puts the installer program in place: "\Windows\wceload.exe".
inline void PutTheInstallerProgramInPlace()
{
  fs::create_directories(Host("Windows"));
  fs::copy_file(KV_WCELOAD, Host("Windows/wceload.exe"));
  fs::permissions(Host("Windows/wceload.exe"), fs::perms::owner_all);
}

// Runs the installer program as the client starts it (ShellExecuteEx of "wceload.exe") with the
// parameters and answers its exit code; what it wrote on standard error goes to *log.
inline DWORD RunInstaller(const char16_t* parameters, std::string* log)
{
  SHELLEXECUTEINFO info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS;
  info.lpFile = u"wceload.exe";
  info.lpParameters = parameters;
  info.nShow = SW_SHOW;
  testing::internal::CaptureStderr();
  EXPECT_TRUE(ShellExecuteEx(&info)) << GetLastError();
  EXPECT_EQ(WaitForSingleObject(info.hProcess, 60000), WAIT_OBJECT_0);
  *log = testing::internal::GetCapturedStderr();
  DWORD code = 0xDEAD;
  GetExitCodeProcess(info.hProcess, &code);
  CloseHandle(info.hProcess);
  return code;
}

class InstallerTest : public ::testing::Test {
 protected:
  // A device as it is before anything is installed: the packages in "\Temp", the services'
  // key and the installer's records' key (a device has both), and a key of values shared with
  // other programs.
  void SetUp() override
  {
    for (const char* package : {KV_FAKE_PACKAGE_1, KV_FAKE_PACKAGE_2}) {
      fs::create_directories(Host("Temp"));
      fs::copy_file(package, Host("Temp") / fs::path(package).filename());
    }
    SetHookAnswer(u"Install_Init", 0);
    SetNumber(HKEY_LOCAL_MACHINE, u"Software\\Shared", u"Other", 5);
    SetNumber(HKEY_LOCAL_MACHINE, u"Services\\Other", u"Index", 0);
    HKEY packages = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Packages", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &packages,
                    nullptr);
    RegCloseKey(packages);
  }

  device::testing::ScopedDeviceRoot root_;
};

}  // namespace install_test
