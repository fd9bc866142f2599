#include "registry_helpers.h"

#include <gtest/gtest.h>

#include "base/errors.h"
#include "device_files.h"
#include "registry/registry.h"
#include "text/cstring.h"

namespace {

using RegistryHelpers = common_test::DeviceRootTest;

TEST_F(RegistryHelpers, ReadsTheServiceInstallFolder)
{
  WCHAR buffer[MAX_PATH] = {};
  DWORD size = sizeof buffer;
  EXPECT_FALSE(ReadServiceInstallDir(buffer, size));

  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Services\\Dovrel", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const WCHAR folder[] = u"\\Program Files\\Korvex";
  ASSERT_EQ(RegSetValueExW(key, u"InstDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder),
            ERROR_SUCCESS);
  RegCloseKey(key);

  size = sizeof buffer;
  ASSERT_TRUE(ReadServiceInstallDir(buffer, size));
  EXPECT_EQ(CStringW(buffer), folder);
  EXPECT_EQ(size, sizeof folder);
  size = 4;
  EXPECT_FALSE(ReadServiceInstallDir(buffer, size)) << "buffer too small";
}

TEST_F(RegistryHelpers, KeyboardLayouts)
{
  auto layout = [] {
    WCHAR value[16] = {};
    DWORD size = sizeof value;
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Keyboard Layout\\Preload", 0, KEY_READ, &key), ERROR_SUCCESS);
    RegQueryValueExW(key, u"Default", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(key);
    return CStringW(value);
  };
  ASSERT_TRUE(SetChineseKeyboardLayout());
  EXPECT_EQ(layout(), u"e0010804");
  ASSERT_TRUE(SetEnglishKeyboardLayout());
  EXPECT_EQ(layout(), u"e0010409");
}

}  // namespace
