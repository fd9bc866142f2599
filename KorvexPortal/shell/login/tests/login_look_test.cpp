// The login dialog as a phone user sees it, in portrait and landscape at both densities: every
// field inside the screen between the title and the soft-key bar, none overlapping another; the
// check-code row once it is shown; the layout check of every screen with the input panel down
// and up. Screenshots for people to look at.
#include "bitmap_file.h"
#include "layout_checks.h"
#include "login_fixture.h"
#include "testing/screenshot.h"

using namespace logintest;
using testgateway::Reply;

namespace {

RECT ScreenRect(HWND window)
{
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

bool Overlap(const RECT& a, const RECT& b)
{
  RECT common{};
  return IntersectRect(&common, &a, &b) != FALSE;
}

class LoginLook : public LoginTest, public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(LoginLook, TheFieldsFitTheScreenWithoutOverlapping)
{
  auto [width, height] = GetParam();
  UseScreen(width, height);
  gateway.script("login", Reply::json({{"resultStatus", 500},
                                       {"memo", "请输入验证码"},
                                       {"loginCheckCodeImg", ImageBase64(kvtest::BmpFile(48, 16, RGB(240, 240, 200), 10,
                                                                                      RGB(30, 60, 160)))}}));
  HWND dlg = Open();
  EXPECT_EQ(u"用户登录", Text(dlg)) << "the installer finds the dialog by this title";
  std::string size = std::to_string(width) + "x" + std::to_string(height);
  Fill(u"13912345678", u"abc12345");
  // Typing: the input panel is up and the form scrolls above it.
  EXPECT_FALSE(kvtest::SaveScreenshot("login_typing_" + size).empty());
  auto leaveEdits = [&] {
    ui.Invoke([&] { SetFocus(Item(IDC_LOGIN_BUTTON)); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  };
  leaveEdits();
  EXPECT_FALSE(kvtest::SaveScreenshot("login_" + size).empty());

  Login();
  ui.Invoke([&] { SetWindowTextW(Item(IDC_LOGIN_CHECKCODE), u"3947"); });
  leaveEdits();
  kvtest::ExpectSoundLayout(ui, *dialog, "login_checkcode_" + size);

  int scale = width / (width > height ? 320 : 240);
  RECT page{0, 26 * scale, width, height - 26 * scale};
  std::vector<int> ids = {IDC_LOGIN_ACCOUNT,          IDC_LOGIN_PASSWORD,    IDC_LOGIN_CHECKCODE,
                          IDC_LOGIN_CHECKCODE_IMAGE,  IDC_LOGIN_CHECKCODE_REFRESH, IDC_LOGIN_REMEMBER_ID,
                          IDC_LOGIN_REMEMBER_PASSWORD, IDC_LOGIN_BUTTON};
  for (size_t i = 0; i < ids.size(); ++i) {
    RECT rect = ScreenRect(Item(ids[i]));
    EXPECT_TRUE(Visible(Item(ids[i]))) << ids[i];
    EXPECT_TRUE(rect.left >= page.left && rect.right <= page.right && rect.top >= page.top &&
                rect.bottom <= page.bottom)
        << ids[i] << " lies outside the page";
    for (size_t j = i + 1; j < ids.size(); ++j)
      EXPECT_FALSE(Overlap(rect, ScreenRect(Item(ids[j])))) << ids[i] << " overlaps " << ids[j];
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, LoginLook,
                         ::testing::Values(std::pair{240, 320}, std::pair{480, 640}, std::pair{320, 240},
                                           std::pair{640, 480}),
                         [](const auto& info) {
                           return std::to_string(info.param.first) + "x" + std::to_string(info.param.second);
                         });

}  // namespace
