// Form buttons: what they post on focus and tap, how the two styles paint, and the recharge
// page's column of method buttons.
#include "form_button.h"

#include "app_services.h"
#include "recharge_menu_page.h"
#include "scroll_skin_fixture.h"
#include "test_resource_library.h"
#include "testing/screenshot.h"

namespace {

using namespace kvtest;
using namespace scrolltest;

constexpr COLORREF kLeftCap = RGB(120, 120, 0);
constexpr COLORREF kMiddle = RGB(0, 160, 0);
constexpr COLORREF kRightCap = RGB(0, 200, 200);
constexpr COLORREF kIcon = RGB(250, 200, 0);
constexpr COLORREF kBackground = RGB(0xF5, 0xF5, 0xF5);

std::string Solid(int width, int height, COLORREF colour)
{
  return BmpFile(width, height, [colour](int, int) { return colour; });
}

class FormButtonTest : public ScrollFixture {
 protected:
  void SetUp() override
  {
    ScrollFixture::SetUp();
    // A 10 x 10 icon with a white border that must not show.
    std::string icon = BmpFile(10, 10, [](int x, int y) {
      return x == 0 || y == 0 || x == 9 || y == 9 ? RGB(255, 255, 255) : kIcon;
    });
    HMODULE library = MakeResourceLibrary(root, "ButtonRes",
                                          "223 BITMAP \"right.bmp\"\n224 BITMAP \"left.bmp\"\n"
                                          "225 BITMAP \"middle.bmp\"\n229 BITMAP \"scroll.bmp\"\n"
                                          "300 BITMAP \"icon.bmp\"\n",
                                          {{"right.bmp", Solid(2, 30, kRightCap)},
                                           {"left.bmp", Solid(2, 30, kLeftCap)},
                                           {"middle.bmp", Solid(4, 30, kMiddle)},
                                           {"scroll.bmp", SkinBmp(kCell)},
                                           {"icon.bmp", icon}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }
  HWND MakeButton(CFormButton& button, RECT rect = {10, 10, 210, 40}, int id = 400)
  {
    HWND hwnd = button.Create(parent, rect, nullptr, 0, 0, static_cast<UINT_PTR>(id));
    EXPECT_NE(nullptr, hwnd);
    return hwnd;
  }
  // Where a colour shows in a row of the button: the first and last x, or {-1, -1}.
  static std::pair<int, int> Span(HWND hwnd, int y, COLORREF colour)
  {
    return Span(hwnd, y, [colour](COLORREF c) { return c == colour; });
  }
  // Likewise for the pixels that pass the test (text is smoothed at its edges).
  static std::pair<int, int> Span(HWND hwnd, int y, const std::function<bool(COLORREF)>& test)
  {
    RECT client;
    GetClientRect(hwnd, &client);
    int first = -1, last = -1;
    for (int x = 0; x < client.right; ++x)
      if (test(PixelAt(hwnd, x, y))) {
        if (first < 0)
          first = x;
        last = x;
      }
    return {first, last};
  }

  // The commands and private messages the parent received by post, and forgets them.
  std::vector<Note> Posted()
  {
    std::vector<Note> posted;
    for (const RecordedMessage& m : log.Messages())
      if ((m.how & kvtest::posted) && (m.message == WM_COMMAND || m.message >= WM_USER)) {
        posted.push_back({m.message, LOWORD(m.wParam), HIWORD(m.wParam)});
        if (m.message == WM_COMMAND)
          commandFrom = m.lParam;
      }
    log.Clear();
    return posted;
  }

  // The recharge page's column of methods on the parent, which scrolls with the parent's form.
  struct MethodColumn {
    explicit MethodColumn(HWND parent) : dialog(parent), form(&dialog), page(parent, &form) {}
    CWindow dialog;
    CScrollForm form;
    CRechargeMenuPage page;
  };

  CKorvexPortalApp app;
  LPARAM commandFrom = 0;
  CFormButton button;
  CFormButton other;
};

TEST_F(FormButtonTest, FocusPostsTheChosenMessageAndATapPostsOneCommand)
{
  HWND hwnd = MakeButton(button);
  HWND plain = MakeButton(other, {10, 50, 210, 80}, 401);
  EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN),
            static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE)) & 0xFFFF0000u)
      << "style 0 means a visible child that clips";
  button.SetChecked(0x638);
  ASSERT_TRUE(RunUntilIdle());
  log.Clear();

  SetFocus(plain);
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(std::vector<Note>{}, Posted()) << "a button without a focus message posts nothing";

  ASSERT_TRUE(TapWindow(hwnd));
  EXPECT_EQ((std::vector<Note>{{0x638, 400, 0}, {WM_COMMAND, 400, 0}}), Posted())
      << "a tap focuses, then commands once";
  EXPECT_EQ(reinterpret_cast<LPARAM>(hwnd), commandFrom);
  EXPECT_EQ(hwnd, GetFocus());
}

TEST_F(FormButtonTest, RowStylePaintsItsImagesWhenFocusedAndTheFormColourWhenNot)
{
  HWND hwnd = MakeButton(button);
  button.LoadImages(TRUE);
  button.SetTexts(u"网上银行", RGB(255, 0, 0), u"100.00", RGB(0, 0, 255));
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(kBackground, PixelAt(hwnd, 1, 1));
  EXPECT_EQ(u"网上银行", std::u16string(button.GetText()));
  EXPECT_EQ(u"100.00", std::u16string(button.GetValueText()));

  button.SetFocus();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(kLeftCap, PixelAt(hwnd, 1, 1));
  EXPECT_EQ(kMiddle, PixelAt(hwnd, 100, 1));
  EXPECT_EQ(kRightCap, PixelAt(hwnd, 199, 1));
  auto caption = Span(hwnd, 15, [](COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 100 && GetBValue(c) < 100; });
  auto value = Span(hwnd, 15, [](COLORREF c) { return GetBValue(c) > 150 && GetRValue(c) < 100 && GetGValue(c) < 100; });
  ASSERT_GE(caption.first, 3) << "the caption starts 3 in";
  EXPECT_LT(caption.second, 100);
  EXPECT_GT(value.first, 100) << "the value is right-aligned";
  EXPECT_LE(value.second, 200 - 3);
  SaveScreenshot("ui_form_button_row", hwnd);
}

TEST_F(FormButtonTest, IconStyleDrawsTheIconAndAFrameWhileFocused)
{
  HWND hwnd = MakeButton(button);
  button.LoadBitmaps(300, 301);  // there is no face 301: the focused face is the form colour
  button.SetTitle(u"转账", RGB(0, 0, 0));
  button.SetFocus();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(RGB(0x9A, 0xB4, 0xE9), PixelAt(hwnd, 0, 15)) << "light-blue frame";
  EXPECT_EQ(kBackground, PixelAt(hwnd, 2, 15));
  EXPECT_EQ(std::make_pair(4, 11), Span(hwnd, 15, kIcon)) << "the icon at x 3, its white left out";
  EXPECT_EQ(kBackground, PixelAt(hwnd, 3, 15));
  EXPECT_EQ(kIcon, PixelAt(hwnd, 5, 11)) << "centred: rows 10 to 19";
  EXPECT_EQ(kBackground, PixelAt(hwnd, 5, 10 + 9));

  other.Create(parent, RECT{10, 50, 210, 80}, nullptr, 0, 0, 401);
  other.SetFocus();
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(kBackground, PixelAt(hwnd, 0, 15)) << "no frame without the focus";
  SaveScreenshot("ui_form_button_icon", hwnd);
}

TEST_F(FormButtonTest, RechargeMethodsStandInAColumnScaledToTheScreen)
{
  SetScreenSize(480, 640);
  MoveWindow(parent, 0, 0, 480, 640, TRUE);
  {
    MethodColumn column(parent);
    CRechargeMenuPage::CreateMethodButtons(column.page);
    ASSERT_TRUE(RunUntilIdle());
    const auto& buttons = column.page.GetMethodButtons();
    ASSERT_EQ(4u, buttons.size());
    const char16_t* captions[] = {u"Milocard充值", u"话费充值卡", u"网上银行", u"网汇e充值"};
    for (int i = 0; i < 4; ++i) {
      RECT rect;
      GetWindowRect(*buttons[i], &rect);
      EXPECT_EQ(std::make_tuple(10L, 80L + 60 * i, 420L, 140L + 60 * i),
                std::make_tuple(rect.left, rect.top, rect.right, rect.bottom))
          << i;
      EXPECT_EQ(1500 + i, GetDlgCtrlID(*buttons[i]));
      EXPECT_EQ(captions[i], std::u16string(buttons[i]->GetText()));
      EXPECT_EQ(u"", std::u16string(buttons[i]->GetValueText()));
    }
    EXPECT_EQ(buttons[0]->m_hWnd, GetFocus());
    std::vector<RecordedMessage> posted;
    for (const RecordedMessage& m : log.Messages())
      if (m.message == 0x638)
        posted.push_back(m);
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(1500u, posted[0].wParam);
    EXPECT_EQ(nullptr, column.form.GetBar()) << "the column fits: the form shows no bar";
    SaveScreenshot("ui_recharge_methods", parent);
  }
  EXPECT_EQ(nullptr, GetDlgItem(parent, 1500)) << "the page's buttons go with it";
}

TEST_F(FormButtonTest, ATapOnTheFirstMethodReachesItWhenTheColumnScrolls)
{
  // The form scrolls before the column comes (a field lies below its visible part), so its bar
  // stands before the methods among its children.
  MoveWindow(parent, 0, 0, 240, 120, TRUE);
  CreateWindowExW(0, WC_STATICW, u"", WS_CHILD | WS_VISIBLE, 10, 200, 100, 30, parent, nullptr, nullptr, nullptr);
  MethodColumn column(parent);
  column.form.Relayout();
  ASSERT_NE(nullptr, column.form.GetBar());
  CRechargeMenuPage::CreateMethodButtons(column.page);
  ASSERT_TRUE(RunUntilIdle());
  HWND first = column.page.GetMethodButtons()[0]->m_hWnd;
  EXPECT_EQ(first, GetDlgItem(parent, CRechargeMenuPage::kFirstMethodId)) << "the bar has an id of its own";

  Posted();
  ASSERT_TRUE(TapWindow(GetDlgItem(parent, CRechargeMenuPage::kFirstMethodId)));
  EXPECT_EQ((std::vector<Note>{{WM_COMMAND, CRechargeMenuPage::kFirstMethodId, 0}}), Posted());
  EXPECT_EQ(reinterpret_cast<LPARAM>(first), commandFrom);
}

}  // namespace
