// The settings of "appconfig.dat": each value of section "main" is stored as the Base64 of its
// ANSI bytes, reaches the disk only when saved, and reads back as it was written.
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app_fixture.h"
#include "ini_file.h"
#include "testing/device_root.h"

namespace {

using apptest::Narrow;

class AppSettings : public ::testing::Test {
 protected:
  // The program folder, where the settings file lies.
  void SetUp() override { std::filesystem::create_directories(root.path() + "/Program Files/Tests"); }
  std::string File() const { return root.path() + "/Program Files/Tests/appconfig.dat"; }
  std::string Read() const
  {
    std::ifstream in(File(), std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  // The file's text as UTF-16LE with its byte-order mark.
  void Write(const std::u16string& text)
  {
    std::filesystem::create_directories(std::filesystem::path(File()).parent_path());
    std::ofstream out(File(), std::ios::binary);
    out << "\xFF\xFE";
    for (char16_t c : text)
      out.put(static_cast<char>(c & 0xFF)).put(static_cast<char>(c >> 8));
  }
  static std::string Utf16Le(const std::u16string& text)
  {
    std::string bytes;
    for (char16_t c : text)
      bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
  }

  device::testing::ScopedDeviceRoot root;
};

TEST_F(AppSettings, ValuesAreStoredAsBase64AndReachTheDiskOnlyWhenSaved)
{
  {
    CKorvexPortalApp app;
    ASSERT_TRUE(app.SetConfig(u"LastUserId", u"alice@example.com"));
    ASSERT_TRUE(app.SetConfig(u"mobileNO", u"张三"));
    ASSERT_TRUE(app.SetConfig(u"RememberId", u""));
    EXPECT_FALSE(std::filesystem::exists(File())) << "SetConfig does not save";
    ASSERT_TRUE(app.GetConfigFile()->Save());
    EXPECT_EQ("\xFF\xFE" + Utf16Le(u"\r\n[main]\r\nLastUserId=YWxpY2VAZXhhbXBsZS5jb20=\r\nmobileNO=1cXI/Q==\r\n"
                                   u"RememberId=\r\n"),
              Read());
  }
  CKorvexPortalApp next;
  CStringW value;
  ASSERT_TRUE(next.GetConfig(u"LastUserId", value));
  EXPECT_EQ("alice@example.com", Narrow(value));
  ASSERT_TRUE(next.GetConfig(u"mobileNO", value));
  EXPECT_EQ("张三", Narrow(value));
}

TEST_F(AppSettings, ReadingTellsAbsentEmptyAndUndecodableValuesApart)
{
  // A value that decodes to more than the decoder takes does not decode.
  std::u16string tooLong(1500, u'A');
  Write(u"\r\n[main]\r\nRememberId=\r\nLastUserPassword=" + tooLong +
        u"\r\n[other]\r\nShowOrderList=MQ==\r\n");
  CKorvexPortalApp app;
  struct Case {
    const char16_t* key;
    BOOL present;
    const char* value;
  };
  const Case cases[] = {
      {u"RememberId", TRUE, ""},                     // empty: not decoded
      {u"LastUserPassword", TRUE, "untouched"},      // present, but the text stays as it was
      {u"ShowOrderList", FALSE, "untouched"},        // only section "main" counts
      {u"mobileNO", FALSE, "untouched"},
      {nullptr, FALSE, "untouched"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key ? kvtest::Narrow(c.key) : "null key");
    CStringW value(u"untouched");
    EXPECT_EQ(c.present, app.GetConfig(c.key, value));
    EXPECT_EQ(c.value, Narrow(value));
  }
  EXPECT_FALSE(app.SetConfig(nullptr, u"x"));
}

}  // namespace
