// The built test library TestRes: it compiles without a problem, and its dialogs, strings, menu,
// skins and page are where the toolkit looks for them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "testing/device_root.h"
#include "windows.h"

namespace {

class TestLibrary : public ::testing::Test {
 protected:
  void SetUp() override
  {
    std::filesystem::path target = root.path() + "/Program Files/Tests/TestRes.dll";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy(KV_RESOURCE_OUTPUT "/TestRes.dll", target, std::filesystem::copy_options::recursive);
    library = LoadLibraryW(u"TestRes");
    ASSERT_NE(nullptr, library);
  }
  void TearDown() override { FreeLibrary(library); }

  device::testing::ScopedDeviceRoot root;
  HMODULE library = nullptr;
};

TEST_F(TestLibrary, CompilesWithoutProblemsAndHoldsItsStringsAndMenu)
{
  testing::internal::CaptureStderr();
  WCHAR text[64];
  EXPECT_EQ(9, LoadStringW(library, 136, text, 64));
  EXPECT_EQ("", testing::internal::GetCapturedStderr()) << "the library's scripts have problems";
  EXPECT_EQ(std::u16string(u"Korvex 钱包"), text);
  EXPECT_GT(LoadStringW(library, 132, text, 64), 0) << "the layout string";

  HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(204));
  ASSERT_NE(nullptr, menu);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_EQ(4, GetMenuItemCount(popup));
  EXPECT_EQ(0x8007u, GetMenuItemID(popup, 3));
  EXPECT_EQ(0x800u, GetMenuItemID(popup, 2)) << "the separator";
  DestroyMenu(menu);
}

TEST_F(TestLibrary, DialogsSkinsAndThePageArePresent)
{
  struct Dialog {
    WORD id;
    WORD items;
    short cx;
  };
  for (const Dialog& d : {Dialog{100, 4, 120}, Dialog{201, 7, 120}, Dialog{1054, 7, 160}}) {
    HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(d.id), RT_DIALOG);
    ASSERT_NE(nullptr, found) << d.id;
    auto* header = static_cast<const DLGTEMPLATE*>(LockResource(LoadResource(library, found)));
    ASSERT_NE(nullptr, header);
    EXPECT_EQ(d.items, header->cdit) << d.id;
    EXPECT_EQ(d.cx, header->cx) << d.id;
    EXPECT_TRUE(header->style & DS_SETFONT) << d.id;
  }
  // The skins are PNG files of the sizes skins.txt gives.
  struct Skin {
    WORD id;
    uint32_t width, height;
  };
  for (const Skin& s : {Skin{0x418, 240, 320}, Skin{0x419, 320, 240}, Skin{233, 98, 52}, Skin{261, 88, 22}}) {
    HRSRC found = FindResourceW(library, MAKEINTRESOURCEW(s.id), RT_BITMAP);
    ASSERT_NE(nullptr, found) << s.id;
    ASSERT_GT(SizeofResource(library, found), 24u);
    auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(library, found)));
    EXPECT_EQ(0, std::memcmp(bytes, "\x89PNG\r\n\x1a\n", 8)) << s.id;
    auto be32 = [&](int at) {
      return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
    };
    EXPECT_EQ(s.width, be32(16)) << s.id;
    EXPECT_EQ(s.height, be32(20)) << s.id;
  }
  HBITMAP background = LoadBitmapW(library, MAKEINTRESOURCEW(0x418));
  ASSERT_NE(nullptr, background);
  BITMAP info{};
  ASSERT_NE(0, GetObjectW(background, sizeof info, &info));
  EXPECT_EQ(240, info.bmWidth);
  EXPECT_EQ(320, info.bmHeight);
  DeleteObject(background);
  EXPECT_NE(nullptr, FindResourceW(library, MAKEINTRESOURCEW(274), RT_HTML));
}

}  // namespace
