// The application object: one per program, found through its accessor; its resource library
// becomes the module's resource instance; the per-thread loop registry of the module.
#include <gtest/gtest.h>

#include "app_services.h"
#include "atl/dialog_impl.h"
#include "test_resource_library.h"

namespace {

TEST(AppServices, OneObjectIsFoundUntilItEnds)
{
  EXPECT_EQ(nullptr, GetKorvexPortalApp());
  {
    CKorvexPortalApp app;
    EXPECT_EQ(&app, GetKorvexPortalApp());
    EXPECT_EQ(&app, AtlGetAppModule()) << "the application object is the program's module";
    EXPECT_EQ(nullptr, app.GetMainDialog());
    EXPECT_EQ(nullptr, app.GetResourceLibrary());
    EXPECT_TRUE(app.GetUserId().IsEmpty() && app.GetLogonId().IsEmpty() && app.GetUserName().IsEmpty());
    app.SetLogonId(u"alice@example.com");
    app.SetUserName(u"张三");
    EXPECT_EQ(CStringW(u"alice@example.com"), app.GetLogonId());
    EXPECT_EQ(CStringW(u"张三"), app.GetUserName());
  }
  EXPECT_EQ(nullptr, GetKorvexPortalApp());
}

TEST(AppServices, ResourceLibraryServesTheModulesResources)
{
  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  HMODULE library = kvtest::MakeResourceLibrary(root, "ModelRes_240x320", "STRINGTABLE\nBEGIN\n  136 \"钱包\"\nEND\n");
  ASSERT_NE(nullptr, library);
  app.SetResourceLibrary(library);
  EXPECT_EQ(library, app.GetResourceLibrary());
  EXPECT_EQ(library, AtlGetResourceInstance());
  WCHAR text[16] = {};
  EXPECT_EQ(2, LoadStringW(AtlGetResourceInstance(), 136, text, 16));
  EXPECT_EQ(std::u16string(u"钱包"), std::u16string(text));
}

TEST(AppServices, EachThreadHasItsOwnLoop)
{
  CKorvexPortalApp app;
  CMessageLoop loop;
  CMessageLoop other;
  EXPECT_TRUE(app.AddMessageLoop(&loop));
  EXPECT_FALSE(app.AddMessageLoop(&other)) << "one loop per thread";
  EXPECT_EQ(&loop, app.GetMessageLoop());
  EXPECT_TRUE(app.RemoveMessageLoop());
  EXPECT_EQ(nullptr, app.GetMessageLoop());
}

}  // namespace
