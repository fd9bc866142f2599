#include "device_files.h"
#include "kernel/device_settings.h"

#include <cstring>

namespace {

std::string ReadCorpus(const char* name)
{
  std::ifstream in(std::string(KV_SETTINGS_CORPUS) + "/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(DeviceSettings, ReadsEveryPartOfAFile)
{
  std::vector<std::string> problems;
  device::DeviceSettings settings = device::ParseDeviceSettings(ReadCorpus("example.ini"), problems);
  EXPECT_TRUE(problems.empty());
  EXPECT_EQ(settings.screen.width, 480);
  EXPECT_EQ(settings.screen.height, 640);
  ASSERT_TRUE(settings.phone);
  EXPECT_EQ(settings.phone->manufacturer, u"Korvex");
  EXPECT_EQ(settings.phone->serialNumber, u"35-693803-564380-9");
  EXPECT_EQ(settings.phone->subscriberNumber, u"460001234567890");
  ASSERT_EQ(settings.connections.size(), 2u);
  const device::DataConnection& wap = settings.connections[0];
  EXPECT_EQ(wap.name, u"China Mobile WAP");
  EXPECT_EQ(wap.destination.Data1, 0x7022E968u);
  EXPECT_EQ(wap.destination.Data3, 0x4051);
  EXPECT_EQ(wap.destination.Data4[0], 0xBC);
  EXPECT_EQ(wap.destination.Data4[7], 0xD9);
  EXPECT_EQ(wap.apn, u"cmwap");
  EXPECT_EQ(wap.proxy, u"10.0.0.172:80");
  EXPECT_EQ(settings.connections[1].proxy, u"");
  ASSERT_EQ(settings.contacts.size(), 1u);
  EXPECT_EQ(settings.contacts[0].name, u"张三");
  EXPECT_EQ(settings.contacts[0].mobile, u"13800138000");
  EXPECT_EQ(settings.gateway, "https://127.0.0.1:8443");
  EXPECT_EQ(settings.connectTimeout, 20);
  EXPECT_EQ(settings.stallTimeout, 45);
  EXPECT_FALSE(settings.debugInsecureTls);
  EXPECT_EQ(settings.browserCommand, std::vector<std::string>{"/usr/bin/xdg-open"});
  EXPECT_EQ(settings.messageBoxAnswer, device::DeviceSettings::BoxAnswer::yes);
}

TEST(DeviceSettings, MissingFieldsStayMissing)
{
  std::vector<std::string> problems;
  device::DeviceSettings settings =
      device::ParseDeviceSettings("[phone]  # a comment\nmodel = X1 # the model\nimei =\n; imsi = 1\n", problems);
  EXPECT_TRUE(problems.empty());
  ASSERT_TRUE(settings.phone);
  EXPECT_EQ(settings.phone->model, u"X1");
  EXPECT_FALSE(settings.phone->manufacturer);
  EXPECT_FALSE(settings.phone->serialNumber);  // an empty value is no value
  EXPECT_FALSE(settings.phone->subscriberNumber);
}

TEST(DeviceSettings, ReportsProblemsAndKeepsWhatIsSound)
{
  struct Case {
    const char* text;
    std::vector<std::string> problems;
  } cases[] = {
      {"width = 1\n", {"line 1: \"width\" stands before the first section"}},
      {"[screen]\nwidth = wide\n", {"line 2: the screen width is a number of pixels from 1 to 8192"}},
      {"[screen]\nheight = 0\n", {"line 2: the screen height is a number of pixels from 1 to 8192"}},
      {"[screen\n", {"line 1: a section header ends with ']'"}},
      {"[tv]\nsize = 40\n", {"line 1: unknown section [tv]"}},
      {"[phone]\ncolour = red\n", {"line 2: unknown key \"colour\""}},
      {"[phone]\nimei\n", {"line 2: expected \"key = value\""}},
      {"[phone]\nmodel = \xFF\n", {"line 2: the value is not UTF-8"}},
      {"\n[connection]\nname = x\ndestination = {123}\n",
       {"line 4: a destination is a GUID such as {436EF144-B4FB-4863-A041-8F905A62C572}",
        "line 2: a [connection] needs a name and a destination; it is left out"}},
      {"\n[connection]\nname = x\n", {"line 2: a [connection] needs a name and a destination; it is left out"}},
      {"[contact]\nname = x\n[screen]\n", {"line 1: a [contact] needs a name and a mobile number; it is left out"}},
      {"[network]\nconnect_timeout = 0\n", {"line 2: the connect_timeout is a number of seconds from 1 to 3600"}},
      {"[network]\nstall_timeout = 1h\n", {"line 2: the stall_timeout is a number of seconds from 1 to 3600"}},
      {"[network]\ndebug_insecure_tls = maybe\n", {"line 2: debug_insecure_tls is yes or no"}},
      {"[messagebox]\nanswer = ok\n", {"line 2: a message box answer is show, default, yes or no"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> problems;
    device::DeviceSettings settings = device::ParseDeviceSettings(c.text, problems);
    EXPECT_EQ(problems, c.problems) << c.text;
    EXPECT_EQ(settings.screen.width, 240);
    EXPECT_TRUE(settings.connections.empty());
    EXPECT_TRUE(settings.contacts.empty());
    EXPECT_EQ(settings.connectTimeout, 30);
    EXPECT_EQ(settings.stallTimeout, 60);
    EXPECT_FALSE(settings.debugInsecureTls);
    EXPECT_EQ(settings.messageBoxAnswer, device::DeviceSettings::BoxAnswer::shown);
  }
}

using DeviceSettingsFile = DeviceFilesTest;

TEST_F(DeviceSettingsFile, DefaultsWithoutAFile)
{
  const device::DeviceSettings& settings = device::Settings();
  EXPECT_EQ(settings.screen.width, 240);
  EXPECT_EQ(settings.screen.height, 320);
  EXPECT_FALSE(settings.phone);
  EXPECT_TRUE(settings.connections.empty());
  EXPECT_TRUE(settings.browserCommand.empty());
  EXPECT_EQ(settings.caBundle, "/etc/ssl/certs/ca-certificates.crt");
}

TEST_F(DeviceSettingsFile, ReadsTheRootsFileWithARelativeBundleInTheRoot)
{
  WriteHost("device.ini", "\xEF\xBB\xBF[screen]\r\nwidth = 320\r\nheight = 240\r\n[network]\r\nca_bundle = certs/ca.pem\r\n");
  const device::DeviceSettings& settings = device::Settings();
  EXPECT_EQ(settings.screen.width, 320);
  EXPECT_EQ(settings.screen.height, 240);
  EXPECT_EQ(settings.caBundle, Host("certs/ca.pem").string());
}

}  // namespace
