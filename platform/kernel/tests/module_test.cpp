#include "base/errors.h"
#include "base/lasterror.h"
#include "device_files.h"
#include "kernel/module.h"
#include "kernel/version.h"

#include <vector>

namespace {

using Modules = DeviceFilesTest;

TEST_F(Modules, ATestProgramLivesUnderProgramFilesTests)
{
  WCHAR path[MAX_PATH];
  DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  EXPECT_EQ(std::u16string(path, length), u"\\Program Files\\Tests\\platform_kernel_tests.exe");
  EXPECT_EQ(GetModuleFileNameW(GetModuleHandleW(nullptr), path, MAX_PATH), length);

  WCHAR shortBuffer[10];
  EXPECT_EQ(GetModuleFileNameW(nullptr, shortBuffer, 10), 10u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(std::u16string(shortBuffer), u"\\Program ");
}

TEST_F(Modules, ProgramVersionIsCompiledIn)
{
  WCHAR path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD handle = 1;
  DWORD size = GetFileVersionInfoSizeW(path, &handle);
  ASSERT_GT(size, 0u);
  EXPECT_LE(size, 8191u);
  EXPECT_EQ(handle, 0u);
  std::vector<BYTE> block(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, block.data()));
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(block.data(), u"\\", reinterpret_cast<LPVOID*>(&info), &length));
  EXPECT_EQ(length, sizeof(VS_FIXEDFILEINFO));
  EXPECT_EQ(info->dwSignature, VS_FFI_SIGNATURE);
  EXPECT_EQ(info->dwFileVersionMS, 0x00010002u);  // 1.2
  EXPECT_EQ(info->dwFileVersionLS, 0x00030004u);  // 3.4
  EXPECT_FALSE(VerQueryValueW(block.data(), u"\\StringFileInfo", reinterpret_cast<LPVOID*>(&info), &length));
  EXPECT_FALSE(GetFileVersionInfoW(path, 0, size - 1, block.data()));
}

TEST_F(Modules, LibrariesLoadByDeviceNameAndCountTheirLoads)
{
  Install(KV_TEST_LIBRARY, "Program Files/Tests/TestLib.dll");
  HMODULE library = LoadLibraryW(u"\\program files\\tests\\testlib");  // ".dll" added
  ASSERT_NE(library, nullptr);
  EXPECT_EQ(LoadLibraryW(u"TestLib.dll"), library);  // found in the program's folder
  auto add = reinterpret_cast<int (*)(int, int)>(GetProcAddress(library, "KernelTestAdd"));
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add(2, 3), 5);
  EXPECT_EQ(GetProcAddressW(library, u"KernelTestAdd"), reinterpret_cast<FARPROC>(add));
  EXPECT_EQ(GetProcAddress(library, "Missing"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  WCHAR path[MAX_PATH];
  GetModuleFileNameW(library, path, MAX_PATH);
  EXPECT_EQ(std::u16string(path), u"\\Program Files\\Tests\\TestLib.dll");
  EXPECT_EQ(GetModuleHandleW(u"testlib"), library);
  EXPECT_EQ(GetFileVersionInfoSizeW(path, nullptr), 92u);

  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_EQ(GetModuleHandleW(u"TestLib.dll"), library);  // loaded twice, freed once
  EXPECT_TRUE(FreeLibrary(library));
  EXPECT_EQ(GetModuleHandleW(u"TestLib.dll"), nullptr);
  EXPECT_FALSE(FreeLibrary(library));
}

TEST_F(Modules, ResourceLibrariesMayBeFoldersAndMissingOnesFail)
{
  std::filesystem::create_directories(Host("Windows/WidgetRes.dll"));
  HMODULE resources = LoadLibraryW(u"WidgetRes");  // found in "\\Windows\\"
  ASSERT_NE(resources, nullptr);
  EXPECT_EQ(GetProcAddress(resources, "Anything"), nullptr);
  EXPECT_TRUE(FreeLibrary(resources));
  WriteHost("Windows/Broken.dll", "not a library");
  struct Case {
    const char16_t* name;
    DWORD error;
  } cases[] = {
      {u"Missing", ERROR_MOD_NOT_FOUND},
      {u"\\Windows\\Missing.dll", ERROR_MOD_NOT_FOUND},
      {u"Broken", ERROR_BAD_EXE_FORMAT},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LoadLibraryW(c.name), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
}

TEST_F(Modules, FilesWithoutAVersionHaveNoBlock)
{
  WriteHost("Windows/plain.exe", "not a program");
  EXPECT_EQ(GetFileVersionInfoSizeW(u"\\Windows\\plain.exe", nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
  EXPECT_EQ(GetFileVersionInfoSizeW(u"\\Windows\\missing.exe", nullptr), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
