// The client's screen-size libraries: each compiles without a problem and holds what the UI
// toolkit asks of it, its skins and pixel sizes drawn for its screen's density.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ModelRes/ids.h"
#include "ModelRes/message_box_ids.h"
#include "testing/device_root.h"
#include "windows.h"

namespace {

SIZE SizeOf(HBITMAP bitmap)
{
  BITMAP info{};
  GetObjectW(bitmap, sizeof info, &info);
  return SIZE{info.bmWidth, info.bmHeight};
}

TEST(ModelLibraries, EachHoldsTheToolkitsSkinsAndSizesForItsDensity)
{
  struct Case {
    const char* name;
    int scale;
  };
  for (Case c : {Case{"ModelRes_240x320", 1}, Case{"ModelRes_320x240", 1}, Case{"ModelRes_480x640", 2},
                 Case{"ModelRes_640x480", 2}}) {
    SCOPED_TRACE(c.name);
    device::testing::ScopedDeviceRoot root;
    std::filesystem::path target = root.path() + "/Program Files/Tests/" + c.name + ".dll";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy(std::string(KV_RESOURCE_OUTPUT) + "/" + c.name + ".dll", target,
                          std::filesystem::copy_options::recursive);
    std::string name = c.name;
    testing::internal::CaptureStderr();
    HMODULE library = LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
    ASSERT_NE(nullptr, library);
    WCHAR text[64] = {};
    auto integer = [&](UINT id) {
      EXPECT_GT(LoadStringW(library, id, text, 64), 0) << id;
      return _wtoi(text);
    };
    int title = integer(IDS_TITLE_HEIGHT);
    EXPECT_EQ("", testing::internal::GetCapturedStderr()) << "the library's scripts have problems";
    EXPECT_EQ(26 * c.scale, title);
    EXPECT_EQ(26 * c.scale, integer(IDS_BOTTOM_BAR_HEIGHT)) << "as high as the shell's soft-key bar";
    int barWidth = integer(IDS_SCROLLBAR_WIDTH);
    EXPECT_EQ(120 * c.scale, integer(IDS_LAYOUT)) << "the title's centre in portrait";
    EXPECT_GT(LoadStringW(library, IDS_SIGNATURE_CAPTION, text, 64), 0);
    EXPECT_GT(LoadStringW(library, IDS_EXIT_QUESTION, text, 64), 0);

    struct Bitmap {
      UINT id;
      SIZE size;  // at 240 pixels wide
    };
    const Bitmap bitmaps[] = {
        {IDB_BACKGROUND, {240, 320}},   {IDB_BACKGROUND_LAND, {320, 240}}, {IDB_SCROLLBAR, {9 * 10, 3 * 10}},
        {IDB_MENU_ITEM, {98, 52}},      {IDB_MENU_ITEM_SELECTED, {88, 22}}, {IDB_ROW_LEFT, {3, 24}},
        {IDB_ROW_MIDDLE, {3, 24}},      {IDB_ROW_RIGHT, {3, 24}},         {IDB_LIST_SELECTION_LEFT, {3, 28}},
        {IDB_LIST_SELECTION_MIDDLE, {1, 28}}, {IDB_LIST_SELECTION_RIGHT, {3, 28}},
        {IDB_BOX_FRAME_ERROR, {236, 90}}, {IDB_BOX_FRAME_INFO, {236, 90}}, {IDB_BOX_FRAME_PLAIN, {236, 90}},
        {IDB_BOX_FRAME_SUCCESS, {236, 90}}, {IDB_BOX_FRAME_ERROR_LAND, {316, 90}},
        {IDB_BOX_FRAME_INFO_LAND, {316, 90}}, {IDB_BOX_FRAME_PLAIN_LAND, {316, 90}},
        {IDB_BOX_FRAME_SUCCESS_LAND, {316, 90}}, {IDB_BOX_VEIL, {10, 50}}, {IDB_PROGRESS_TRACK, {190, 20}},
        {IDB_PROGRESS_BAR, {8, 14}},
    };
    for (const Bitmap& b : bitmaps) {
      HBITMAP bitmap = LoadBitmapW(library, MAKEINTRESOURCEW(b.id));
      ASSERT_NE(nullptr, bitmap) << b.id;
      SIZE size = SizeOf(bitmap);
      EXPECT_EQ(b.size.cx * c.scale, size.cx) << b.id;
      EXPECT_EQ(b.size.cy * c.scale, size.cy) << b.id;
      if (b.id == IDB_SCROLLBAR) {
        EXPECT_EQ(barWidth, size.cx / 9) << "one cell is the bar's width";
      }
      DeleteObject(bitmap);
    }
    for (UINT dialog : {IDD_MESSAGE_BOX, IDD_WAIT_ANIMATION})
      EXPECT_NE(nullptr, FindResourceW(library, MAKEINTRESOURCEW(dialog), RT_DIALOG)) << dialog;
    FreeLibrary(library);
  }
}

}  // namespace
