#include "device_info.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "device_files.h"

namespace {

constexpr const WCHAR* kLog = u"\\Temp\\common_tests.exe.1.log";

// A device whose settings describe the phone of the test (UTF-8 "device.ini").
class DeviceIdentityTest : public common_test::DeviceRootTest {
 protected:
  void WriteSettings(const std::string& text) { std::ofstream(root_.path() + "/device.ini") << text; }

  std::u16string Digits(const WCHAR* field) { return std::u16string(field); }
};

TEST_F(DeviceIdentityTest, ReadsTheCellularLinesGeneralInformation)
{
  WriteSettings(
      "[phone]\nmanufacturer = Korvex\nmodel = KV-6\nrevision = 2.1\n"
      "imei = 35-693803-564380-9\nimsi = 4600012345678901\n");
  CTapiLine line;
  ASSERT_TRUE(line.Initialize());
  CStringW text;
  DeviceIdentity identity = line.GetGeneralInfoText(text);
  EXPECT_EQ(identity.valid, 1);
  EXPECT_EQ(text, u"Manufacturer: Korvex|Model: KV-6|Revision: 2.1|Serial No: 35-693803-564380-9|"
                  u"Subscriber No: 4600012345678901|");
  EXPECT_EQ(Digits(identity.serialDigits), u"356938035643809") << "the dashes are dropped";
  EXPECT_EQ(Digits(identity.subscriberDigits), u"460001234567890") << "16 digits keep their first 15";

  DeviceIdentity record = {};
  CStringW again;
  EXPECT_EQ(&CDeviceInfo::GetGeneralInfoText(line, record, again), &record);
  EXPECT_EQ(again, text);
  EXPECT_EQ(Digits(record.serialDigits), u"356938035643809");
}

TEST_F(DeviceIdentityTest, MissingFieldsAreUnavailable)
{
  WriteSettings("[phone]\nmodel = KV-6\nimei = 356938035643809\n");
  CTapiLine line;
  ASSERT_TRUE(line.Initialize());
  CStringW text;
  DeviceIdentity identity = line.GetGeneralInfoText(text);
  EXPECT_EQ(identity.valid, 1);
  EXPECT_EQ(text, u"Manufacturer: Unavailable|Model: KV-6|Revision: Unavailable|Serial No: 356938035643809|"
                  u"Subscriber No: Unavailable|");
  EXPECT_EQ(Digits(identity.subscriberDigits), u"");
  EXPECT_EQ(Digits(identity.serialDigits), u"356938035643809");
}

TEST_F(DeviceIdentityTest, DeviceWithoutPhoneHasNoCellularLine)
{
  WriteSettings("[screen]\nwidth = 240\nheight = 320\n");
  CTapiLine line;
  EXPECT_FALSE(line.Initialize());
  EXPECT_EQ(line.FindLineByName(u"Cellular Line"), -1);
  EXPECT_FALSE(line.Initialize()) << "telephony was ended and starts again";

  CStringW text = u"unchanged";
  DeviceIdentity identity = line.GetGeneralInfoText(text);
  EXPECT_EQ(identity.valid, 0);
  EXPECT_EQ(text, u"unchanged");
  EXPECT_EQ(Digits(identity.serialDigits), u"");
  std::string log = common_test::ReadDeviceFile(kLog);
  EXPECT_NE(log.find(".\\device_info.cpp("), std::string::npos);
  EXPECT_NE(log.find("\r\nerror\r\n"), std::string::npos);
}

TEST(TapiErrors, FormatErrorNamesTheCode)
{
  WCHAR buffer[64];
  CTapiLine::FormatError(buffer, sizeof buffer, 0x8000004Du);
  EXPECT_EQ(CStringW(buffer), u"Unknown Error: 0x8000004D");
  CTapiLine::FormatError(buffer, 10, 0x8000004Du);
  EXPECT_EQ(CStringW(buffer), u"Unkn") << "five characters of 10 bytes, terminator included";
}

}  // namespace
