// The help dialog: the help page of the screen-size library in the viewer between the title and
// the soft-key bar, refitted when the screen turns; the left key closes it; a window still open
// is closed before the dialog shows again. Screenshots for people to look at.
#include <algorithm>

#include "help_dlg.h"
#include "ids.h"
#include "layout_checks.h"
#include "shell_fixture.h"
#include "testing/screen_rotation.h"
#include "testing/screenshot.h"

using namespace shelltest;

namespace {

class HelpDlgTest : public ShellTest {
 protected:
  void SetUp() override
  {
    ShellTest::SetUp();
    InitHTMLControl(nullptr);
  }

  CHelpDlg* Open()
  {
    OnUi([&] { app.ShowHelpDlg(); });
    return dynamic_cast<CHelpDlg*>(app.GetHelpDialog());
  }

  // The viewer's place in the dialog: between the title strip and the soft-key bar.
  void ExpectViewerFitsScreen(CHelpDlg* dialog)
  {
    RECT rect{};
    ui.Invoke([&] {
      GetWindowRect(dialog->GetViewer(), &rect);
      MapWindowPoints(nullptr, dialog->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
    });
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    // The title strip and the soft-key bar are 26 pixels at 96 dpi.
    int title = 26 * (std::min(width, height) / 240);
    int bar = title;
    EXPECT_EQ(0, rect.left);
    EXPECT_EQ(title, rect.top);
    EXPECT_EQ(width, rect.right);
    EXPECT_EQ(height - bar, rect.bottom);
  }
};

TEST_F(HelpDlgTest, ShowsThePageBetweenTitleAndSoftKeysAndRefitsWhenTheScreenTurns)
{
  CHelpDlg* dialog = Open();
  ASSERT_TRUE(IsShown(dialog));
  EXPECT_EQ(u"帮助", dialog->GetTitle());
  ASSERT_TRUE(IsWindow(dialog->GetViewer()));
  ExpectViewerFitsScreen(dialog);

  OnUi([] { kvtest::RotateScreen(); });
  ExpectViewerFitsScreen(dialog);
  EXPECT_FALSE(kvtest::SaveScreenshot("help_turned_320x240").empty());
  OnUi([] { kvtest::RotateScreen(); });
}

TEST_F(HelpDlgTest, LeftKeyClosesAndShowingAgainMakesAFreshWindow)
{
  CHelpDlg* dialog = Open();
  ASSERT_TRUE(IsShown(dialog));
  HWND first = dialog->m_hWnd;
  HWND viewer = dialog->GetViewer();
  OnUi([&] { SendMessageW(first, WM_COMMAND, MAKEWPARAM(IDC_DIALOG_SOFTKEY1, 0), 0); });
  EXPECT_FALSE(IsWindow(first));
  EXPECT_FALSE(IsWindow(viewer)) << "the viewer goes with the dialog";

  CHelpDlg* again = Open();
  EXPECT_EQ(dialog, again) << "the dialog object is kept";
  HWND second = again->m_hWnd;
  ASSERT_TRUE(IsShown(again));
  Open();
  EXPECT_FALSE(IsWindow(second)) << "a window still open is closed first";
  EXPECT_TRUE(IsShown(again));
}

// The help dialog at each screen size, portrait and landscape: the layout check and screenshots
// for a reviewer.
class HelpLook : public HelpDlgTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(HelpLook, Screenshot)
{
  auto [width, height] = GetParam();
  UseLibrary(width, height);
  CHelpDlg* dialog = Open();
  ASSERT_TRUE(IsShown(dialog));
  ExpectViewerFitsScreen(dialog);
  kvtest::ExpectSoundLayout(ui, *dialog, "help_" + kvtest::SizeName(width, height));
}

INSTANTIATE_TEST_SUITE_P(Screens, HelpLook, ::testing::ValuesIn(kvtest::kLookSizes),
                         [](const auto& info) { return kvtest::SizeName(info.param.first, info.param.second); });

}  // namespace
