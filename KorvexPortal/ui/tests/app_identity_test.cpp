// Who the client is: the phone's numbers padded to 15 characters in the client id, the device
// text, the program's file version and the product name of the resource library.
#include <fstream>

#include "app_fixture.h"
#include "test_resource_library.h"
#include "testing/device_root.h"

namespace {

using apptest::Narrow;

TEST(AppIdentity, ThePhonesNumbersArePaddedToFifteenCharactersEach)
{
  struct Case {
    const char* phone;  // the device's [phone] section, or null for a device without telephony
    const char* clientId;
  };
  const Case cases[] = {
      {"imsi = 4600012345\nimei = 356938035643809\n", "460001234511111|356938035643809"},
      {"imsi = 460001234567890\n", "460001234567890|333333333333333"},
      {"imei = 35-693803-564380-9\n", "111111111111111|356938035643809"},
      {"imsi = 4600012345678901234\nimei = 3569380356\n", "460001234567890|356938035633333"},
      {"model = KV-6\n", "111111111111111|333333333333333"},
      {nullptr, "111111111111111|333333333333333"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.phone ? c.phone : "no telephony");
    device::testing::ScopedDeviceRoot root;
    if (c.phone)
      std::ofstream(root.path() + "/device.ini", std::ios::binary) << "[phone]\n" << c.phone;
    CKorvexPortalApp app;
    DeviceIdentity identity{};
    CStringW text;
    app.GetDeviceInfo(identity, &text);
    CStringW clientId;
    EXPECT_EQ(c.clientId, Narrow(app.JoinPair(clientId)));
    EXPECT_EQ(15u, std::u16string(identity.subscriberDigits).size());
    EXPECT_EQ(15u, std::u16string(identity.serialDigits).size());
    if (!c.phone)
      EXPECT_EQ("korvex", Narrow(text));
    else
      EXPECT_NE(std::string::npos, Narrow(text).find("Manufacturer: ")) << Narrow(text);
    // A later call gives the same record.
    DeviceIdentity again{};
    app.GetDeviceInfo(again);
    EXPECT_EQ(0, memcmp(&identity, &again, sizeof identity));
  }
}

TEST(AppIdentity, TheVersionIsTheProgramsFileVersion)
{
  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  CStringW version;
  EXPECT_EQ("2.1.3.1119", Narrow(app.GetVersionText(version)));
}

TEST(AppIdentity, TheProductNameComesFromTheLibraryOrIsUnknown)
{
  struct Case {
    const char* script;
    const char* expected;
  };
  const Case cases[] = {
      {"STRINGTABLE\nBEGIN\n  136 \"KORVEX_WM_PPC\"\nEND\n", "KORVEX_WM_PPC"},
      {"STRINGTABLE\nBEGIN\n  136 \"\"\nEND\n", "Unknown ProductID"},
      {"STRINGTABLE\nBEGIN\n  137 \"other\"\nEND\n", "Unknown ProductID"},
      {nullptr, "Unknown ProductID"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    device::testing::ScopedDeviceRoot root;
    CKorvexPortalApp app;
    if (c.script)
      app.SetResourceLibrary(kvtest::MakeResourceLibrary(root, "ModelRes_240x320", c.script));
    CStringW text;
    EXPECT_EQ(c.expected, Narrow(app.ProductIdToText(text)));
  }
}

}  // namespace
