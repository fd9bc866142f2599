// Resource libraries in a device root: found by LoadLibrary as folders, their resources by
// type and name, LoadString's buffer rules, LoadMenu.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "base/errors.h"
#include "base/lasterror.h"
#include "testing/device_root.h"
#include "windows.h"

namespace {

class ResourceLibrary : public ::testing::Test {
 protected:
  // A library folder beside the test program ("\Program Files\Tests\<name>.dll").
  std::string MakeLibrary(const std::string& name, const std::string& script)
  {
    std::string folder = root.path() + "/Program Files/Tests/" + name + ".dll";
    std::filesystem::create_directories(folder);
    std::ofstream(folder + "/" + name + ".rc") << script;
    return folder;
  }
  HMODULE Load(const std::string& name, const std::string& script)
  {
    MakeLibrary(name, script);
    return LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
  }

  device::testing::ScopedDeviceRoot root;
};

const char kScript[] = R"(#include "ids.h"
STRINGTABLE
BEGIN
  IDS_PRODUCT "Korvex 钱包"
  137 ""
END
IDM_SOFTKEY MENU
BEGIN
  POPUP "菜单"
  BEGIN
    MENUITEM "关于", 4001
    MENUITEM "退出", 0x8007, GRAYED
  END
END
Help HTML "Help.htm"
)";

TEST_F(ResourceLibrary, ResourcesAreFoundByTypeAndName)
{
  std::string folder = MakeLibrary("WidgetRes", kScript);
  std::ofstream(folder + "/ids.h") << "#define IDS_PRODUCT 136\n#define IDM_SOFTKEY 204\n";
  std::ofstream(folder + "/help.htm") << "<p>帮助</p>";
  HMODULE library = LoadLibraryW(u"WidgetRes");
  ASSERT_NE(nullptr, library);

  HRSRC html = FindResourceW(library, u"HELP", RT_HTML);
  ASSERT_NE(nullptr, html) << "names compare without case, files are found without case";
  EXPECT_EQ(html, FindResourceW(library, u"help", MAKEINTRESOURCEW(23)));
  ASSERT_EQ(std::string("<p>帮助</p>").size(), SizeofResource(library, html));
  auto* bytes = static_cast<const char*>(LockResource(LoadResource(library, html)));
  ASSERT_NE(nullptr, bytes);
  EXPECT_EQ("<p>帮助</p>", std::string(bytes, SizeofResource(library, html)));
  EXPECT_NE(nullptr, FindResourceW(library, u"#204", RT_MENU)) << "\"#204\" is the ordinal 204";

  struct Miss {
    LPCWSTR name;
    LPCWSTR type;
    DWORD error;
  };
  const Miss misses[] = {
      {MAKEINTRESOURCEW(205), RT_MENU, ERROR_RESOURCE_NAME_NOT_FOUND},
      {MAKEINTRESOURCEW(100), RT_DIALOG, ERROR_RESOURCE_TYPE_NOT_FOUND},
      {u"HELPS", RT_HTML, ERROR_RESOURCE_NAME_NOT_FOUND},
  };
  for (const Miss& m : misses) {
    SetLastError(0);
    EXPECT_EQ(nullptr, FindResourceW(library, m.name, m.type));
    EXPECT_EQ(m.error, GetLastError());
  }
  SetLastError(0);
  EXPECT_EQ(nullptr, FindResourceW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), RT_STRING))
      << "the program is no resource library";
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND), GetLastError());

  // A resource handle of one library means nothing to another.
  HMODULE other = Load("OtherRes", "5 HTML \"x.htm\"\n");
  std::ofstream(root.path() + "/Program Files/Tests/OtherRes.dll/x.htm") << "x";
  ASSERT_NE(nullptr, other);
  EXPECT_EQ(nullptr, LoadResource(other, html));
  EXPECT_EQ(0u, SizeofResource(other, html));
  EXPECT_EQ(nullptr, LockResource(reinterpret_cast<HGLOBAL>(&root)));
  FreeLibrary(other);
  FreeLibrary(library);
}

TEST_F(ResourceLibrary, LoadStringBufferRules)
{
  std::string folder = MakeLibrary("ModelRes_240x320", kScript);
  std::ofstream(folder + "/ids.h") << "#define IDS_PRODUCT 136\n#define IDM_SOFTKEY 204\n";
  std::ofstream(folder + "/help.htm") << "";
  HMODULE library = LoadLibraryW(u"ModelRes_240x320");
  ASSERT_NE(nullptr, library);
  struct Case {
    UINT id;
    int bufferChars;
    int result;
    const char16_t* text;
  };
  const Case cases[] = {
      {136, 32, 9, u"Korvex 钱包"},
      {136, 8, 7, u"Korvex "},  // cut and terminated
      {136, 1, 0, u""},
      {137, 32, 0, u""},         // an empty string counts as missing
      {138, 32, 0, u""},         // missing in a block that exists
      {9999, 32, 0, u""},        // missing block
  };
  for (const Case& c : cases) {
    WCHAR buffer[32];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(c.result, LoadStringW(library, c.id, buffer, c.bufferChars)) << c.id << "/" << c.bufferChars;
    EXPECT_EQ(std::u16string(c.text), std::u16string(buffer)) << c.id << "/" << c.bufferChars;
  }
  // Buffer size 0: a pointer to the library's own text.
  const WCHAR* text = nullptr;
  EXPECT_EQ(9, LoadStringW(library, 136, reinterpret_cast<LPWSTR>(&text), 0));
  ASSERT_NE(nullptr, text);
  EXPECT_EQ(std::u16string(u"Korvex 钱包"), std::u16string(text, 9));
  EXPECT_EQ(0, LoadStringW(library, 136, nullptr, 10));
  WCHAR buffer[8] = u"x";
  EXPECT_EQ(0, LoadStringW(GetModuleHandleW(nullptr), 136, buffer, 8));
  EXPECT_EQ(u'\0', buffer[0]);
  FreeLibrary(library);
}

TEST_F(ResourceLibrary, LoadMenuBuildsTheMenuOfTheResource)
{
  std::string folder = MakeLibrary("WidgetRes", kScript);
  std::ofstream(folder + "/ids.h") << "#define IDS_PRODUCT 136\n#define IDM_SOFTKEY 204\n";
  std::ofstream(folder + "/help.htm") << "";
  HMODULE library = LoadLibraryW(u"WidgetRes");
  HMENU menu = LoadMenuW(library, MAKEINTRESOURCEW(204));
  ASSERT_NE(nullptr, menu);
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_EQ(2, GetMenuItemCount(popup));
  WCHAR text[16];
  GetMenuStringW(popup, 0x8007, text, 16, MF_BYCOMMAND);
  EXPECT_EQ(std::u16string(u"退出"), text);
  EXPECT_EQ(static_cast<UINT>(MF_GRAYED), EnableMenuItem(popup, 0x8007, MF_BYCOMMAND));
  EXPECT_EQ(nullptr, LoadMenuW(library, MAKEINTRESOURCEW(205)));
  DestroyMenu(menu);
  FreeLibrary(library);
}

TEST_F(ResourceLibrary, TheShellFindsItsScreenLibraryOrFallsBack)
{
  // Only the portrait library exists: the size-named one is missing, the fallback loads.
  MakeLibrary("ModelRes_240x320", "STRINGTABLE { 136 \"portrait\" }\n");
  SetLastError(0);
  EXPECT_EQ(nullptr, LoadLibraryW(u"\\Program Files\\Tests\\ModelRes_480x640"));
  EXPECT_EQ(static_cast<DWORD>(ERROR_MOD_NOT_FOUND), GetLastError());
  HMODULE fallback = LoadLibraryW(u"\\Program Files\\Tests\\ModelRes_240x320.dll");
  ASSERT_NE(nullptr, fallback);
  WCHAR text[16];
  EXPECT_EQ(8, LoadStringW(fallback, 136, text, 16));
  FreeLibrary(fallback);
}

TEST_F(ResourceLibrary, ProblemsInAScriptLeaveTheRestUsable)
{
  HMODULE library = Load("BrokenRes", "STRINGTABLE\nBEGIN\n 1 \"one\"\n 2 NOT_A_TEXT\n 3 \"three\"\nEND\n");
  ASSERT_NE(nullptr, library);
  testing::internal::CaptureStderr();
  WCHAR text[8];
  EXPECT_EQ(3, LoadStringW(library, 1, text, 8));
  std::string problems = testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, problems.find("BrokenRes.rc(4)")) << problems;
  EXPECT_EQ(5, LoadStringW(library, 3, text, 8));
  EXPECT_EQ(0, LoadStringW(library, 2, text, 8));
  FreeLibrary(library);
}

// A two-by-one 24-bit BMP: a red pixel and a blue one.
std::string TinyBmp()
{
  const unsigned char bytes[] = {
      'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,              // file header
      40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0, 0, 0, 0, 0,  // info header: 2 x 1, 24 bits
      8, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
      0, 0, 255, 255, 0, 0, 0, 0,  // B G R: red, blue, row padding
  };
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

TEST_F(ResourceLibrary, BitmapsAreDecodedFromTheirFiles)
{
  std::string folder = MakeLibrary("SkinRes", "10 BITMAP \"tiny.bmp\"\n11 BITMAP \"broken.png\"\n");
  std::ofstream(folder + "/tiny.bmp", std::ios::binary) << TinyBmp();
  std::ofstream(folder + "/broken.png", std::ios::binary) << "\x89PNG\r\n\x1a\nnot really";
  HMODULE library = LoadLibraryW(u"SkinRes");
  ASSERT_NE(nullptr, library);
  HBITMAP bitmap = LoadBitmapW(library, MAKEINTRESOURCEW(10));
  ASSERT_NE(nullptr, bitmap);
  BITMAP info{};
  ASSERT_NE(0, GetObjectW(bitmap, sizeof info, &info));
  EXPECT_EQ(2, info.bmWidth);
  EXPECT_EQ(1, info.bmHeight);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ previous = SelectObject(dc, bitmap);
  EXPECT_EQ(RGB(255, 0, 0), GetPixel(dc, 0, 0));
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 1, 0));
  SelectObject(dc, previous);
  DeleteObject(bitmap);

  auto stretched = static_cast<HBITMAP>(LoadImageW(library, MAKEINTRESOURCEW(10), IMAGE_BITMAP, 4, 2, 0));
  ASSERT_NE(nullptr, stretched);
  ASSERT_NE(0, GetObjectW(stretched, sizeof info, &info));
  EXPECT_EQ(4, info.bmWidth);
  EXPECT_EQ(2, info.bmHeight);
  previous = SelectObject(dc, stretched);
  EXPECT_EQ(RGB(0, 0, 255), GetPixel(dc, 3, 1));
  SelectObject(dc, previous);
  DeleteObject(stretched);
  DeleteDC(dc);

  HBITMAP byShell = SHLoadImageResource(library, 10);
  ASSERT_NE(nullptr, byShell) << "the shell's loader takes the same resource";
  ASSERT_NE(0, GetObjectW(byShell, sizeof info, &info));
  EXPECT_EQ(2, info.bmWidth);
  DeleteObject(byShell);
  EXPECT_EQ(nullptr, SHLoadImageResource(library, 11)) << "a damaged file";

  EXPECT_EQ(nullptr, LoadBitmapW(library, MAKEINTRESOURCEW(11))) << "a damaged file";
  EXPECT_EQ(nullptr, LoadBitmapW(library, MAKEINTRESOURCEW(12))) << "no such bitmap";
  EXPECT_EQ(nullptr, LoadImageW(library, MAKEINTRESOURCEW(10), 1, 0, 0, 0)) << "only bitmaps";
  FreeLibrary(library);
}

}  // namespace
