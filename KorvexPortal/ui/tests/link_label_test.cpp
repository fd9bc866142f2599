// The link: its window text in blue on one line, never underlined and blue when disabled; the
// owner-draw messages are answered whether reflected or chained; a tap is the button's command.
#include "link_label.h"
#include "testing/screenshot.h"
#include "toolkit_fixture.h"

namespace {

class LinkLabel : public kvtest::ToolkitTest {
 protected:
  HWND MakeLink(LPCWSTR text, RECT rect = {10, 10, 130, 40})
  {
    HWND button = CreateWindowExW(0, WC_BUTTONW, text, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, rect.left, rect.top,
                                  rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(kId)), nullptr, nullptr);
    EXPECT_TRUE(link.SubclassWindow(button));
    return button;
  }
  // The rows of the control's pixels that hold blue.
  static std::vector<int> BlueRows(HWND hwnd)
  {
    RECT client;
    GetClientRect(hwnd, &client);
    std::vector<int> rows;
    HDC dc = GetDC(hwnd);
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x)
        if (GetPixel(dc, x, y) == RGB(0, 0, 255)) {
          rows.push_back(y);
          break;
        }
    ReleaseDC(hwnd, dc);
    return rows;
  }

  static std::vector<COLORREF> Pixels(HWND hwnd)
  {
    RECT client;
    GetClientRect(hwnd, &client);
    std::vector<COLORREF> pixels;
    HDC dc = GetDC(hwnd);
    for (int y = 0; y < client.bottom; ++y)
      for (int x = 0; x < client.right; ++x)
        pixels.push_back(GetPixel(dc, x, y));
    ReleaseDC(hwnd, dc);
    return pixels;
  }

  static constexpr int kId = 1200;
  CLinkLabel link;
};

TEST_F(LinkLabel, DrawsItsTextInBlueOnOneLineEvenWhenDisabled)
{
  HWND hwnd = MakeLink(u"忘记密码？ 点这里找回您的登录密码和支付密码");
  ASSERT_TRUE(kvtest::RunUntilIdle());
  std::vector<int> rows = BlueRows(hwnd);
  ASSERT_FALSE(rows.empty());
  HDC dc = GetDC(hwnd);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  ReleaseDC(hwnd, dc);
  EXPECT_LT(rows.back(), metrics.tmHeight) << "one line from the top, not underlined below it";
  kvtest::SaveScreenshot("LinkLabel", parent);

  EnableWindow(hwnd, FALSE);
  InvalidateRect(hwnd, nullptr, TRUE);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(rows, BlueRows(hwnd));
}

TEST_F(LinkLabel, AnswersTheOwnerDrawMessagesReflectedOrChained)
{
  HWND hwnd = MakeLink(u"");
  ASSERT_TRUE(kvtest::RunUntilIdle());
  std::vector<COLORREF> before = Pixels(hwnd);
  DRAWITEMSTRUCT draw{};
  draw.CtlType = ODT_BUTTON;
  draw.CtlID = kId;
  draw.hwndItem = hwnd;
  HDC screen = GetDC(hwnd);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  ReleaseDC(hwnd, screen);
  for (UINT base : {0u, static_cast<UINT>(OCM__BASE)}) {
    EXPECT_EQ(TRUE, SendMessageW(hwnd, base + WM_DRAWITEM, kId, reinterpret_cast<LPARAM>(&draw))) << base;
    EXPECT_EQ(before, Pixels(hwnd)) << "an empty text draws nothing";
    MEASUREITEMSTRUCT menu{ODT_MENU, 0, 7, 0, 0, 0};
    EXPECT_EQ(TRUE, SendMessageW(hwnd, base + WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&menu)));
    EXPECT_EQ(static_cast<UINT>(GetSystemMetrics(SM_CYMENU)), menu.itemHeight);
    MEASUREITEMSTRUCT item{ODT_BUTTON, kId, 0, 0, 0, 0};
    EXPECT_EQ(TRUE, SendMessageW(hwnd, base + WM_MEASUREITEM, kId, reinterpret_cast<LPARAM>(&item)));
    EXPECT_EQ(static_cast<UINT>(metrics.tmHeight), item.itemHeight);
    EXPECT_EQ(TRUE, SendMessageW(hwnd, base + WM_DELETEITEM, kId, 0));
    EXPECT_EQ(0, SendMessageW(hwnd, base + WM_COMPAREITEM, kId, 0));
  }
}

TEST_F(LinkLabel, ATapIsTheButtonsCommand)
{
  HWND hwnd = MakeLink(u"注册");
  std::vector<WPARAM> commands;
  WNDPROC original = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(parent, GWLP_WNDPROC));
  WNDPROC recording = MakeWindowProc([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_COMMAND)
      commands.push_back(w);
    return CallWindowProcW(original, h, m, w, l);
  });
  SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recording));
  ASSERT_TRUE(kvtest::TapWindow(hwnd));
  SetWindowLongPtrW(parent, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  FreeWindowProc(recording);
  EXPECT_EQ(std::vector<WPARAM>{MAKEWPARAM(kId, BN_CLICKED)}, commands);
}

}  // namespace
