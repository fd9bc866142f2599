// The check-code picture: Base64 text becomes "checkcodeimage.jpg" and a bitmap stretched over
// the control; a new picture replaces the old one; the login dialog shows the fields on demand
// and fetches a new picture behind a wait box that can be cancelled.
#include <algorithm>
#include <cstdlib>

#include "bitmap_file.h"
#include "login_fixture.h"

using namespace logintest;
using testgateway::Reply;

namespace {

constexpr COLORREF kRed = RGB(220, 20, 20);
constexpr COLORREF kGreen = RGB(20, 180, 20);

COLORREF ScreenPixel(POINT point)
{
  HDC dc = GetDC(nullptr);
  COLORREF colour = GetPixel(dc, point.x, point.y);
  ReleaseDC(nullptr, dc);
  return colour;
}

// Blue text, its smoothed edges included.
bool IsBlue(COLORREF colour)
{
  return GetBValue(colour) >= 160 && GetRValue(colour) <= 96 && GetGValue(colour) <= 96;
}

// A point of the window's client area, on the screen.
POINT At(HWND window, int x, int y)
{
  POINT point{x, y};
  ClientToScreen(window, &point);
  return point;
}

// Whether a tap at the window's centre now reaches the window rather than one above it.
bool TapReaches(HWND window)
{
  RECT client{};
  GetClientRect(window, &client);
  return WindowFromPoint(At(window, client.right / 2, client.bottom / 2)) == window;
}

std::string TempFileBytes(const std::u16string& name)
{
  WCHAR folder[MAX_PATH] = {};
  GetTempPathW(MAX_PATH, folder);
  HANDLE file = CreateFileW((std::u16string(folder) + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return {};
  std::string bytes(4096, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

TEST_F(LoginTest, APictureIsStretchedOverTheControlAndReplacedByTheNext)
{
  HWND control = nullptr;
  CCheckCodeImage image;
  ui.Invoke([&] {
    control = CreateWindowExW(0, u"Static", u"", WS_POPUP | WS_VISIBLE, 20, 40, 80, 30, nullptr, nullptr, nullptr,
                              nullptr);
    image.SubclassWindow(control);
  });
  // A 4 by 4 picture, red with a green centre, drawn over 80 by 30.
  std::string first = kvtest::BmpFile(4, 4, kRed, 2, kGreen);
  std::string text = ImageBase64(first);
  ui.Invoke([&] { image.SetImageData(text.c_str(), static_cast<int>(text.size())); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  ASSERT_NE(nullptr, image.GetBitmap());
  EXPECT_EQ(first, TempFileBytes(u"checkcodeimage.jpg"));
  EXPECT_EQ(kRed, ScreenPixel(At(control, 2, 2)));
  EXPECT_EQ(kGreen, ScreenPixel(At(control, 40, 15))) << "the centre, stretched";
  EXPECT_EQ(kRed, ScreenPixel(At(control, 77, 27)));

  HBITMAP old = image.GetBitmap();
  std::string second = ImageBase64(kvtest::BmpFile(3, 3, kGreen));
  ui.Invoke([&] { image.SetImageData(second.c_str(), static_cast<int>(second.size())); });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_NE(old, image.GetBitmap());
  EXPECT_FALSE(GetObjectType(old)) << "the first bitmap was deleted";
  EXPECT_EQ(kGreen, ScreenPixel(At(control, 2, 2)));

  for (const std::string& nothing : {std::string(), std::string("this is no picture!!"), ImageBase64("GIF89a..")}) {
    ui.Invoke([&] { image.SetImageData(nothing.c_str(), static_cast<int>(nothing.size())); });
    EXPECT_EQ(nullptr, image.GetBitmap()) << nothing;
  }
  ui.Invoke([&] { DestroyWindow(control); });
}

class CheckCodeTest : public LoginTest {
 protected:
  // Logs in once with a refusal that brings the picture, so the check-code fields show.
  void DemandCheckCode()
  {
    gateway.script("login", Reply::json({{"resultStatus", 500},
                                         {"memo", "请输入验证码"},
                                         {"loginCheckCodeImg", ImageBase64(kvtest::BmpFile(4, 4, kRed))}}));
      Open();
    for (int id : {IDC_LOGIN_CHECKCODE, IDC_LOGIN_CHECKCODE_IMAGE, IDC_LOGIN_CHECKCODE_REFRESH})
      EXPECT_FALSE(Visible(Item(id))) << id;
    Fill(u"13912345678", u"abc12345");
    Login();
  }
  COLORREF PictureColour() { return ScreenPixel(At(Item(IDC_LOGIN_CHECKCODE_IMAGE), 3, 3)); }
};

TEST_F(CheckCodeTest, ADemandShowsTheFieldsWithThePicture)
{
  DemandCheckCode();
  EXPECT_EQ((std::vector<std::string>{"wait(正在登录...)", "box(64,请输入验证码)"}), app.Calls());
  for (int id : {IDC_LOGIN_CHECKCODE, IDC_LOGIN_CHECKCODE_IMAGE, IDC_LOGIN_CHECKCODE_REFRESH})
    EXPECT_TRUE(Visible(Item(id))) << id;
  EXPECT_EQ(kRed, PictureColour());
}

TEST_F(CheckCodeTest, TheRefreshLinkIsDrawnCentredInBlueByTheDialog)
{
  DemandCheckCode();
  HWND link = Item(IDC_LOGIN_CHECKCODE_REFRESH);
  RECT client{};
  GetClientRect(link, &client);
  int left = client.right, right = -1, top = client.bottom, bottom = -1;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x)
      if (IsBlue(ScreenPixel(At(link, x, y)))) {
        left = std::min(left, x);
        right = std::max(right, x);
        top = std::min(top, y);
        bottom = std::max(bottom, y);
      }
  ASSERT_LE(left, right) << "the link's text is blue";
  EXPECT_LE(std::abs(left - (client.right - 1 - right)), 2) << "centred across";
  EXPECT_LE(std::abs(top - (client.bottom - 1 - bottom)), 3) << "centred down";
}

TEST_F(CheckCodeTest, TheRefreshLinkFetchesANewPicture)
{
  gateway.scriptSequence("getLoginCheckCode",
                         {Reply::success({{"loginCheckCodeImg", ImageBase64(kvtest::BmpFile(4, 4, kGreen))}}),
                          Reply::json({{"resultStatus", 500}, {"memo", "验证码服务暂停"}, {"loginCheckCodeImg", ""}})});
  DemandCheckCode();
  app.ClearCalls();
  ASSERT_TRUE(kvtest::TapWindow(Item(IDC_LOGIN_CHECKCODE_REFRESH)));
  ASSERT_TRUE(WaitForResults(2));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(std::vector<std::string>{"wait(正在获取验证码...)"}, app.Calls()) << "a wait box that can be cancelled";
  EXPECT_EQ(kGreen, PictureColour());
  auto fetch = gateway.waitForRequest("getLoginCheckCode");
  ASSERT_TRUE(fetch);
  EXPECT_EQ("111111111111111|333333333333333", fetch->field("clientID"));

  app.ClearCalls();
  Command(IDC_LOGIN_CHECKCODE_REFRESH);
  ASSERT_TRUE(WaitForResults(3));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  // The service layer hands a refused fetch on as its own failure, "未知错误" (status 8000).
  EXPECT_EQ((std::vector<std::string>{"wait(正在获取验证码...)", "box(16,未知错误)"}), app.Calls());
  EXPECT_EQ(kGreen, PictureColour()) << "a refused fetch keeps the picture";
}

TEST_F(CheckCodeTest, CancellingTheFetchKeepsThePictureAndPostsNothing)
{
  gateway.script("getLoginCheckCode",
                 Reply::stall(Reply::success({{"loginCheckCodeImg", ImageBase64(kvtest::BmpFile(4, 4, kGreen))}})));
  DemandCheckCode();
  Command(IDC_LOGIN_CHECKCODE_REFRESH);
  ASSERT_TRUE(gateway.waitForRequest("getLoginCheckCode"));
  // The login's wait box is still up (nothing here showed the demand's notice over it), under the
  // dialog: its Cancel key is visible but a tap reaches the dialog until the fetch's box comes up.
  HWND cancel = nullptr;
  ASSERT_TRUE(RunUntil([&] {
    cancel = GetDlgItem(CThreadMessageBox::SharedWindow(), KV_BOX_ANSWER_CANCEL);
    return Visible(cancel) && TapReaches(cancel);
  }));
  ASSERT_TRUE(kvtest::TapWindow(cancel));
  gateway.releaseStalled();
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(1, dialog->results);
  EXPECT_EQ(kRed, PictureColour());
}

}  // namespace
