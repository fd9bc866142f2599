// The access-point settings: the buttons for none, three and ten access points, the stored
// choice checked, saving and removing the choice with the reset request, the lines after a
// failed connection, the soft keys beside the buttons' commands, scrolling, screenshots.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "apn_settings_dlg.h"
#include "apn_store.h"
#include "app_services.h"
#include "desktop_fixture.h"
#include "layout_checks.h"
#include "testing/device_settings.h"
#include "testing/screenshot.h"

namespace {

// Connections with an access point each, named "接入点 1" ...
std::string Connections(int count)
{
  std::string text;
  for (int i = 1; i <= count; ++i) {
    char guid[64];
    std::snprintf(guid, sizeof(guid), "{%08X-1111-2222-3333-444444444444}", i);
    text += "[connection]\nname = 接入点 " + std::to_string(i) + "\ndestination = " + guid + "\napn = apn" +
            std::to_string(i) + "\n";
  }
  return text;
}

class ApnSettingsTest : public ::testing::Test {
 protected:
  void Open(int connections, int width = 240, int height = 320, BOOL extra = FALSE)
  {
    device.reset();
    device = std::make_unique<device::testing::DeviceWithSettings>(Connections(connections));
    HMODULE library = desktoptest::UseModelLibrary(device->Host(""), width, height);
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
    ui.Invoke([&] {
      dialog = std::make_unique<CApnSettingsDlg>();
      dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
      dialog->ShowExtraItems(extra);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  void TearDown() override
  {
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      dialog.reset();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }
  std::u16string Text(HWND window)
  {
    WCHAR text[64] = {};
    GetWindowTextW(window, text, 64);
    return text;
  }
  int Checked()
  {
    const auto& buttons = dialog->GetButtons();
    for (size_t k = 0; k < buttons.size(); ++k)
      if (SendMessageW(buttons[k], BM_GETCHECK, 0, 0) == BST_CHECKED)
        return static_cast<int>(k);
    return -1;
  }
  void Command(int id)
  {
    PostMessageW(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  static std::u16string Stored()
  {
    ApnEntry entry{};
    return ReadApnSettings(entry) ? std::u16string(entry.description) : u"(none)";
  }

  std::unique_ptr<device::testing::DeviceWithSettings> device;
  CKorvexPortalApp app;
  kvtest::UiThread ui;
  std::unique_ptr<CApnSettingsDlg> dialog;
};

TEST_F(ApnSettingsTest, ListsDefaultAndEveryAccessPoint)
{
  for (int count : {0, 3, 10}) {
    SCOPED_TRACE(count);
    Open(count);
    const auto& buttons = dialog->GetButtons();
    ASSERT_EQ(static_cast<size_t>(count + 1), buttons.size());
    EXPECT_EQ(u"默认设置", Text(buttons[0]));
    if (count) {
      std::string number = std::to_string(count);
      EXPECT_EQ(u"接入点 " + std::u16string(number.begin(), number.end()), Text(buttons.back()));
    }
    EXPECT_EQ(0, Checked()) << "nothing stored";
    EXPECT_EQ(800 + count, GetDlgCtrlID(buttons.back()));
    TearDown();
  }
}

TEST_F(ApnSettingsTest, SavesTheChoiceAndAsksForANewConnection)
{
  Open(3);
  TakeResetConnectionFlag();
  Command(802);
  EXPECT_EQ(2, Checked());
  Command(1021);
  EXPECT_FALSE(dialog->IsWindow()) << "closed after saving";
  EXPECT_EQ(u"接入点 2", Stored());
  EXPECT_TRUE(TakeResetConnectionFlag());

  // Shown again: the stored choice is checked; "默认设置" removes it.
  TearDown();
  ui.Invoke([&] {
    dialog = std::make_unique<CApnSettingsDlg>();
    dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
  });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(2, Checked());
  Command(800);
  Command(1021);
  EXPECT_EQ(u"(none)", Stored());
  EXPECT_TRUE(TakeResetConnectionFlag());
}

TEST_F(ApnSettingsTest, CloseKeyLeavesTheChoice)
{
  Open(3);
  TakeResetConnectionFlag();
  Command(803);
  Command(1020);
  EXPECT_FALSE(dialog->IsWindow());
  EXPECT_EQ(u"(none)", Stored());
  EXPECT_FALSE(TakeResetConnectionFlag());
}

TEST_F(ApnSettingsTest, CommandsPastTheButtonsAreNotRadioClicks)
{
  Open(3);
  Command(804);
  Command(900);
  EXPECT_EQ(0, Checked());
  EXPECT_TRUE(dialog->IsWindow());
}

TEST_F(ApnSettingsTest, FailedConnectionLinesFollowTheFlag)
{
  for (BOOL extra : {TRUE, FALSE}) {
    Open(3, 240, 320, extra);
    HWND panel = dialog->GetPanel();
    EXPECT_EQ(extra != FALSE, IsWindowVisible(GetDlgItem(panel, 1178)) != FALSE);
    EXPECT_EQ(extra != FALSE, IsWindowVisible(GetDlgItem(panel, 1179)) != FALSE);
    RECT line{}, first{};
    GetWindowRect(GetDlgItem(panel, 1179), &line);
    GetWindowRect(dialog->GetButtons()[0], &first);
    if (extra) {
      EXPECT_GE(first.top, line.bottom) << "the buttons start under the lines";
    }
    TearDown();
  }
}

TEST_F(ApnSettingsTest, ManyAccessPointsScrollBetweenBothEnds)
{
  Open(16);
  HWND bar = dialog->GetScrollBar();
  ASSERT_TRUE(bar && IsWindowVisible(bar));
  int top = 0;
  {
    RECT rect{};
    GetWindowRect(dialog->GetButtons()[0], &rect);
    top = rect.top;
  }
  for (int i = 0; i < 40; ++i)
    SendMessageW(dialog->m_hWnd, WM_VSCROLL, SB_LINEDOWN, 0);
  int range = dialog->GetScrollPosition();
  EXPECT_GT(range, 0);
  RECT last{}, panel{};
  GetWindowRect(dialog->GetButtons().back(), &last);
  GetWindowRect(dialog->GetPanel(), &panel);
  EXPECT_LE(last.bottom, panel.bottom) << "the last button shows at the end";
  EXPECT_GE(last.bottom, panel.bottom - 20);
  for (int i = 0; i < 40; ++i)
    SendMessageW(dialog->m_hWnd, WM_VSCROLL, SB_LINEUP, 0);
  EXPECT_EQ(0, dialog->GetScrollPosition());
  RECT first{};
  GetWindowRect(dialog->GetButtons()[0], &first);
  EXPECT_EQ(top, first.top);
}

// Ten access points under the lines of a failed connection at each screen size, portrait and
// landscape: the layout check and screenshots for a reviewer.
TEST_F(ApnSettingsTest, EachScreenSize)
{
  for (auto [width, height] : kvtest::kLookSizes) {
    std::string size = kvtest::SizeName(width, height);
    SCOPED_TRACE(size);
    Open(10, width, height, TRUE);
    kvtest::ExpectSoundLayout(ui, *dialog, "apn_settings_" + size);
    TearDown();
  }
}

}  // namespace
