// The application object's start-up: the command-line map, the choice of the screen-size
// library, the widget library's path and the facade with the client's identity.
#include <filesystem>
#include <fstream>

#include "app_fixture.h"
#include "atl/dialog_impl.h"
#include "client_identity.h"
#include "test_resource_library.h"
#include "testing/device_root.h"

namespace {

using apptest::Narrow;

struct CommandLineCase {
  const char16_t* commandLine;
  std::vector<std::pair<std::string, std::string>> expected;  // key, value; in key order
};

TEST(AppCommandLine, EachWordIsCutAtItsFirstColon)
{
  const CommandLineCase cases[] = {
      {u"/ORDERPAY:partner=2088&sign=ab:cd", {{"/ORDERPAY", "partner=2088&sign=ab:cd"}}},
      {u"/ORDERPAY:order=1 more", {{"/ORDERPAY", "order=1"}, {"more", ""}}},
      {u"/ORDERPAY", {{"/ORDERPAY", ""}}},
      {u"key:", {{"key", ""}}},
      {u"a:1 a:2", {{"a", "2"}}},
      {u" \t/x:1\r\n/y \n", {{"/x", "1"}, {"/y", ""}}},
      {u"", {}},
  };
  for (const CommandLineCase& c : cases) {
    SCOPED_TRACE(kvtest::Narrow(c.commandLine));
    CKorvexPortalApp app;
    app.ParseCommandLine(c.commandLine);
    for (const auto& [key, value] : c.expected) {
      CStringW found(u"untouched");
      CStringW wideKey(std::u16string(key.begin(), key.end()).c_str());
      ASSERT_TRUE(app.GetCommandLineValue(wideKey, found)) << key;
      EXPECT_EQ(value, Narrow(found)) << key;
    }
    CStringW missing(u"untouched");
    EXPECT_FALSE(app.GetCommandLineValue(u"/NOSUCHKEY", missing));
    EXPECT_EQ("untouched", Narrow(missing));
  }
}

TEST(AppCommandLine, OrderPayIsChosenOnlyByTheExactKey)
{
  CKorvexPortalApp app;
  app.ParseCommandLine(u"/ORDERPAYX:1 x/ORDERPAY");
  EXPECT_FALSE(app.HasCommandLineKey(u"/ORDERPAY"));
}

// A screen-size library that names itself in string 136.
void MakeLibrary(const device::testing::ScopedDeviceRoot& root, const std::string& name)
{
  std::string folder = root.path() + "/Program Files/Tests/" + name + ".dll";
  std::filesystem::create_directories(folder);
  std::ofstream(folder + "/" + name + ".rc", std::ios::binary)
      << "STRINGTABLE\nBEGIN\n  136 \"" << name << "\"\nEND\n";
}

std::string LibraryName(HMODULE library)
{
  if (!library)
    return "none";
  WCHAR text[64] = {};
  LoadStringW(library, 136, text, 64);
  return kvtest::Narrow(text);
}

TEST(AppResourceLibrary, IsChosenByTheScreensWidthAndHeightWithThePortraitOneAsFallback)
{
  struct Case {
    int width;
    int height;
    std::vector<std::string> present;
    std::string expected;
  };
  const std::vector<std::string> all = {"ModelRes_240x320", "ModelRes_320x240", "ModelRes_480x640",
                                        "ModelRes_640x480"};
  const Case cases[] = {
      {240, 320, all, "ModelRes_240x320"},
      {480, 640, all, "ModelRes_480x640"},
      {320, 240, all, "ModelRes_320x240"},
      {640, 480, all, "ModelRes_640x480"},
      {800, 480, all, "ModelRes_240x320"},  // a size without a library of its own
      {480, 640, {"ModelRes_240x320"}, "ModelRes_240x320"},
      {240, 320, {}, "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    device::testing::ScopedDeviceRoot root;
    kvtest::SetScreenSize(c.width, c.height);
    for (const std::string& name : c.present)
      MakeLibrary(root, name);
    EXPECT_EQ(c.expected, LibraryName(CKorvexPortalApp::LoadModelResources()));
  }
  kvtest::SetScreenSize(240, 320);
}

TEST(AppInit, LoadsTheLibraryAndMakesTheFacadeWithTheClientsIdentity)
{
  device::testing::ScopedDeviceRoot root;
  std::ofstream(root.path() + "/device.ini", std::ios::binary)
      << "[phone]\nmanufacturer = Korvex\nimei = 356938035643809\nimsi = 4600012345\n";
  kvtest::SetScreenSize(240, 320);
  MakeLibrary(root, "ModelRes_240x320");
  CKorvexPortalApp app;
  EXPECT_EQ(0, app.Init(nullptr));
  EXPECT_EQ("ModelRes_240x320", LibraryName(app.GetResourceLibrary()));
  EXPECT_EQ(app.GetResourceLibrary(), AtlGetResourceInstance());
  CStringW widgets;
  ASSERT_TRUE(app.GetResourceDllPath(widgets));
  EXPECT_EQ("\\Program Files\\Tests\\WidgetRes.dll", Narrow(widgets));
  ASSERT_NE(nullptr, app.GetPaymentService());
  EXPECT_EQ("KORVEX_WM_PPC", Narrow(GetProductId()));
  EXPECT_EQ("460001234511111|356938035643809", Narrow(GetClientId()));
}

TEST(AppInit, WithoutAResourceLibraryReportsItAndStillMakesTheFacade)
{
  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  EXPECT_EQ(-1, app.Init(nullptr));
  EXPECT_EQ(nullptr, app.GetResourceLibrary());
  EXPECT_NE(nullptr, app.GetPaymentService());
}

}  // namespace
