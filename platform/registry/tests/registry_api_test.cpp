#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/errors.h"
#include "registry/registry.h"
#include "registry_store.h"
#include "kernel/device_root.h"
#include "testing/device_root.h"

namespace {

constexpr const WCHAR* kApnKey = u"Software\\Korvex\\KorvexPortal\\APN";

DWORD TextSize(const WCHAR* text) { return static_cast<DWORD>((std::u16string_view(text).size() + 1) * 2); }

LONG SetText(HKEY key, const WCHAR* name, const WCHAR* text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), TextSize(text));
}

LONG SetDword(HKEY key, const WCHAR* name, DWORD value) {
  return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

class RegistryTest : public ::testing::Test {
 protected:
  static std::string Folder() { return device::PrivateFolder("registry"); }

  static std::string FileText() {
    std::ifstream in(Folder() + "/registry.dat");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  device::testing::ScopedDeviceRoot root_;
};

TEST_F(RegistryTest, CreateReportsWhetherTheKeyIsNewAndOpenFindsItInAnyCase) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApnKey, 0, nullptr, 0, 0, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\korvex\\KORVEXPORTAL\\apn", 0, nullptr, 0, 0, nullptr,
                            &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  ASSERT_EQ(SetText(key, u"DestNetAPN", u"cmwap"), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"software\\KORVEX\\korvexportal\\APN", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"DESTNETAPN", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 12u);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  EXPECT_NE(FileText().find("[HKEY_LOCAL_MACHINE\\Software\\Korvex\\KorvexPortal\\APN]\n\"DestNetAPN\""),
            std::string::npos)
      << "names keep the case they were created with:\n" << FileText();

  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Korvex\\Missing", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kApnKey, 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND)
      << "the hives are separate";
}

TEST_F(RegistryTest, QueryFollowsTheSizeProtocol) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApnKey, 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, u"DestNetAPNDescription", u"中国移动 GPRS"), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, u"ResetConnection", 1), ERROR_SUCCESS);

  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"DestNetAPNDescription", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 20u) << "bytes, terminator included";

  WCHAR text[32];
  std::memset(text, 0xAB, sizeof text);
  size = 18;
  EXPECT_EQ(RegQueryValueExW(key, u"DestNetAPNDescription", nullptr, &type, reinterpret_cast<BYTE*>(text), &size),
            ERROR_MORE_DATA);
  EXPECT_EQ(size, 20u);

  size = sizeof text;
  EXPECT_EQ(RegQueryValueExW(key, u"DestNetAPNDescription", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 20u);
  EXPECT_EQ(std::u16string(text), u"中国移动 GPRS");

  DWORD number = 0;
  size = sizeof number;
  EXPECT_EQ(RegQueryValueExW(key, u"ResetConnection", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  EXPECT_EQ(number, 1u);

  EXPECT_EQ(RegQueryValueExW(key, u"DestNetGUID", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(key, u"ResetConnection", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, SettingAValueAgainReplacesItInPlace) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Settings", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, u"First", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, u"Second", u"two"), ERROR_SUCCESS);
  const BYTE guid[16] = {0x44, 0xF1, 0x6E, 0x43, 0xFB, 0xB4, 0x63, 0x48, 0xA0, 0x41, 0x8F, 0x90, 0x5A, 0x62, 0xC5, 0x72};
  ASSERT_EQ(RegSetValueExW(key, u"FIRST", 0, REG_BINARY, guid, sizeof guid), ERROR_SUCCESS);

  BYTE read[16] = {};
  DWORD type = 0, size = sizeof read;
  ASSERT_EQ(RegQueryValueExW(key, u"first", nullptr, &type, read, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 16u);
  EXPECT_EQ(std::memcmp(read, guid, sizeof guid), 0);
  EXPECT_LT(FileText().find("\"First\"=hex(3)"), FileText().find("\"Second\"")) << FileText();

  EXPECT_EQ(RegDeleteValueW(key, u"second"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key, u"second"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(key, u"Second", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, DeletingAKeyTakesItsValuesAndSubkeysAndOpenHandlesSeeItGone) {
  HKEY apn = nullptr, deeper = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApnKey, 0, nullptr, 0, 0, nullptr, &apn, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(SetText(apn, u"DestNetAPN", u"cmnet"), ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyExW(apn, u"Deeper\\Still", 0, nullptr, 0, 0, nullptr, &deeper, nullptr), ERROR_SUCCESS);

  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, kApnKey), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, kApnKey), ERROR_FILE_NOT_FOUND);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(apn, u"DestNetAPN", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(SetDword(deeper, u"x", 1), ERROR_KEY_DELETED);

  // Choosing the default connection: the key is deleted, then the reset request written anew.
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kApnKey, 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
  ASSERT_EQ(SetDword(key, u"ResetConnection", 1), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(key, u"DestNetAPN", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(apn, u"ResetConnection", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS)
      << "an open handle names the key by its path";
  EXPECT_EQ(RegOpenKeyExW(apn, u"Deeper", 0, 0, &deeper), ERROR_FILE_NOT_FOUND);

  for (HKEY open : {apn, key}) EXPECT_EQ(RegCloseKey(open), ERROR_SUCCESS);
}

TEST_F(RegistryTest, HandlesAndPathsAreChecked) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"\\keyboard layout\\preload\\", 0, nullptr, 0, 0, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS)
      << "one leading and one trailing backslash are allowed";
  ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Default", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetDword(key, u"Default", 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"keyboard layout\\PRELOAD", 0, 0, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);

  const std::u16string tooLong(256, u'k');
  const WCHAR* badPaths[] = {u"a\\\\b", tooLong.c_str(), u"tab\there"};
  for (const WCHAR* path : badPaths) {
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, 0, &key), ERROR_FILE_NOT_FOUND);
  }
  EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), ERROR_INVALID_PARAMETER) << "a hive cannot be deleted";
}

TEST_F(RegistryTest, AnotherProcessSeesEveryChangeAtOnceAndTheFileSurvives) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"services\\Dovrel", 0, nullptr, 0, 0, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  ASSERT_EQ(SetText(key, u"InstDir", u"\\Program Files\\KorvexPortal"), ERROR_SUCCESS);

  // A store of the same device root, as another process has it.
  registry::Store other(Folder());
  auto readInstDir = [&other]() {
    std::vector<BYTE> data;
    other.Read([&data](const registry::Tree& tree) -> LONG {
      const registry::Key* dovrel = tree.Find({u"HKEY_LOCAL_MACHINE", u"SERVICES", u"dovrel"});
      const registry::Value* value = dovrel != nullptr ? dovrel->FindValue(u"instdir") : nullptr;
      if (value != nullptr) data = value->data;
      return ERROR_SUCCESS;
    });
    return data;
  };
  EXPECT_EQ(readInstDir().size(), TextSize(u"\\Program Files\\KorvexPortal"));

  ASSERT_EQ(SetText(key, u"InstDir", u"\\Storage Card"), ERROR_SUCCESS);
  EXPECT_EQ(readInstDir().size(), TextSize(u"\\Storage Card"));

  ASSERT_EQ(other.Write([](registry::Tree& tree, bool& changed) -> LONG {
    tree.Find({u"HKEY_LOCAL_MACHINE", u"services", u"dovrel"})->SetValue(u"Index", REG_DWORD, {0, 0, 0, 0});
    changed = true;
    return ERROR_SUCCESS;
  }),
            ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"Index", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, ADamagedFileIsReportedAndNeverOverwritten) {
  {
    std::ofstream out(Folder() + "/registry.dat");
    out << "DEVICE-REGISTRY 1\n[HKEY_LOCAL_MACHINE\\Kept]\n\"v\"=dword:0\n";
  }
  const std::string damaged = FileText();
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Kept", 0, 0, &key), ERROR_BADDB);
  EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"New", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_BADDB);
  EXPECT_EQ(FileText(), damaged);
}

}  // namespace
