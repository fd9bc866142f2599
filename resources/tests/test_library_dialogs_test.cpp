// Dialogs of the test library TestRes made by id: through the dialog calls and the class
// library, laid out in the units of their own font at the screen's density, painted with the
// dialog brush; and a screenshot of one for people to look at.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestRes/resource.h"
#include "atl/atl.h"
#include "testing/device_root.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "windows.h"

namespace {

class TestLibraryDialogs : public ::testing::Test {
 protected:
  void SetUp() override
  {
    std::filesystem::path target = root.path() + "/Program Files/Tests/TestRes.dll";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy(KV_RESOURCE_OUTPUT "/TestRes.dll", target, std::filesystem::copy_options::recursive);
    kvtest::SetScreenSize(240, 320);
    library = LoadLibraryW(u"TestRes");
    ASSERT_NE(nullptr, library);
  }
  void TearDown() override
  {
    kvtest::DestroyThreadWindows();
    FreeLibrary(library);
  }

  HWND Create(WORD id, DLGPROC proc = nullptr)
  {
    return CreateDialogParamW(library, MAKEINTRESOURCEW(id), nullptr, proc, 0);
  }

  device::testing::ScopedDeviceRoot root;
  HMODULE library = nullptr;
};

std::u16string TextOf(HWND hwnd)
{
  WCHAR text[64] = {};
  GetWindowTextW(hwnd, text, 64);
  return text;
}

class AboutDialog : public CDialogImpl<AboutDialog> {
 public:
  enum { IDD = IDD_ABOUT };
  BEGIN_MSG_MAP(AboutDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
  {
    aboutText = TextOf(GetDlgItem(IDC_ABOUT_TEXT));
    EndDialog(7);
    return TRUE;
  }

  std::u16string aboutText;
};

}  // namespace

TEST_F(TestLibraryDialogs, AreMadeByIdThroughTheDialogCallsAndTheClassLibrary)
{
  HWND login = Create(IDD_LOGIN);
  ASSERT_NE(nullptr, login);
  WCHAR className[32] = {};
  GetClassNameW(GetDlgItem(login, IDC_ACCOUNT), className, 32);
  EXPECT_EQ(std::u16string(u"EDIT"), className);
  EXPECT_EQ(std::u16string(u"记住账户"), TextOf(GetDlgItem(login, IDC_REMEMBER)));
  EXPECT_TRUE(IsWindowVisible(login));
  EXPECT_EQ(GetDlgItem(login, IDC_ACCOUNT), GetFocus()) << "the first tab stop";

  EXPECT_EQ(nullptr, Create(999)) << "an id the library does not hold";
  EXPECT_EQ(static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND), GetLastError());

  CAppModule module;
  module.Init(nullptr, nullptr);
  module.SetResourceInstance(library);
  AboutDialog about;
  EXPECT_EQ(7, about.DoModal(nullptr));
  EXPECT_EQ(std::u16string(u"Korvex 钱包\n版本 2.1"), about.aboutText);
  module.Term();
}

TEST_F(TestLibraryDialogs, LayOutInTheUnitsOfTheirFontAtTheScreenDensity)
{
  // Dialog units are the font's metrics at 96 dots per inch times the density factor: a template
  // lays out at 480 x 640 exactly twice as large as at 240 x 320, so one that fits the smaller
  // screen fits the larger.
  struct Screen {
    int width, height, factor;
  };
  int heights[2] = {};
  TEXTMETRICW base{}, systemBase{};
  int index = 0;
  for (Screen screen : {Screen{240, 320, 1}, Screen{480, 640, 2}}) {
    SCOPED_TRACE(std::to_string(screen.width));
    kvtest::SetScreenSize(screen.width, screen.height);
    HWND login = Create(IDD_LOGIN);
    ASSERT_NE(nullptr, login);
    auto font = reinterpret_cast<HFONT>(SendMessageW(login, WM_GETFONT, 0, 0));
    ASSERT_NE(nullptr, font) << "the template's FONT";
    HWND account = GetDlgItem(login, IDC_ACCOUNT);
    EXPECT_EQ(font, reinterpret_cast<HFONT>(SendMessageW(account, WM_GETFONT, 0, 0)));

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(dc, &metrics));
    SelectObject(dc, old);
    DeleteDC(dc);
    heights[index++] = metrics.tmHeight;
    TEXTMETRICW system{};
    dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    GetTextMetricsW(dc, &system);
    DeleteDC(dc);
    if (screen.factor == 1) {
      base = metrics;
      systemBase = system;
    }
    EXPECT_EQ(MAKELONG(systemBase.tmAveCharWidth * screen.factor, systemBase.tmHeight * screen.factor),
              GetDialogBaseUnits())
        << "the system font's units";

    // EDITTEXT IDC_ACCOUNT, 8, 36, 104, 14: x units are quarters of the average width, y units
    // eighths of the height.
    int width = base.tmAveCharWidth * screen.factor;
    int height = base.tmHeight * screen.factor;
    auto x = [&](int units) { return (units * width + 2) / 4; };
    auto y = [&](int units) { return (units * height + 4) / 8; };
    RECT expected{x(8), y(36), x(112), y(50)};
    RECT mapped{8, 36, 112, 50};
    ASSERT_TRUE(MapDialogRect(login, &mapped));
    EXPECT_EQ(expected.left, mapped.left);
    EXPECT_EQ(expected.top, mapped.top);
    EXPECT_EQ(expected.right, mapped.right);
    EXPECT_EQ(expected.bottom, mapped.bottom);
    RECT placed;
    GetWindowRect(account, &placed);
    MapWindowPoints(nullptr, login, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(expected.left, placed.left);
    EXPECT_EQ(expected.top, placed.top);
    EXPECT_EQ(expected.right, placed.right);
    EXPECT_EQ(expected.bottom, placed.bottom);
    DestroyWindow(login);
  }
  EXPECT_GE(heights[1], 2 * heights[0] - 1) << "twice the density, twice the font";
}

TEST_F(TestLibraryDialogs, PaintTheDialogBrushAndGiveControlsTheSystemColours)
{
  // A point of IDD_ABOUT that no item covers.
  auto emptyPoint = [](HWND dialog) {
    RECT units{4, 100, 5, 101};
    MapDialogRect(dialog, &units);
    return POINT{units.left, units.top};
  };
  auto pixelAt = [](HWND dialog, POINT point) {
    HDC dc = GetDC(dialog);
    COLORREF colour = GetPixel(dc, point.x, point.y);
    ReleaseDC(dialog, dc);
    return colour;
  };

  HWND plain = Create(IDD_ABOUT);
  ASSERT_NE(nullptr, plain);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(GetSysColor(COLOR_STATIC), pixelAt(plain, emptyPoint(plain))) << "the default dialog brush";

  HDC dc = CreateCompatibleDC(nullptr);
  HWND text = GetDlgItem(plain, IDC_ABOUT_TEXT);
  struct Default {
    UINT message;
    int colour;
  };
  for (Default d : {Default{WM_CTLCOLORDLG, COLOR_STATIC}, Default{WM_CTLCOLORSTATIC, COLOR_STATIC},
                    Default{WM_CTLCOLORMSGBOX, COLOR_STATIC}, Default{WM_CTLCOLOREDIT, COLOR_WINDOW},
                    Default{WM_CTLCOLORLISTBOX, COLOR_WINDOW}, Default{WM_CTLCOLORBTN, COLOR_STATIC},
                    Default{WM_CTLCOLORSCROLLBAR, COLOR_SCROLLBAR}}) {
    SCOPED_TRACE(d.message);
    SetBkColor(dc, RGB(1, 2, 3));
    SetTextColor(dc, RGB(4, 5, 6));
    LRESULT brush = SendMessageW(plain, d.message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(reinterpret_cast<LRESULT>(GetSysColorBrush(d.colour)), brush);
    EXPECT_EQ(GetSysColor(d.colour), GetBkColor(dc));
    EXPECT_EQ(RGB(4, 5, 6), GetTextColor(dc)) << "the control's text colour stays";
  }
  DeleteDC(dc);
  DestroyWindow(plain);

  // A procedure's own dialog brush is what the background is painted with.
  HBRUSH own = CreateSolidBrush(RGB(200, 40, 40));
  WNDPROC proc = MakeWindowProc([own](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
    return message == WM_CTLCOLORDLG ? reinterpret_cast<LRESULT>(own) : 0;
  });
  HWND coloured = Create(IDD_ABOUT, reinterpret_cast<DLGPROC>(proc));
  ASSERT_NE(nullptr, coloured);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(RGB(200, 40, 40), pixelAt(coloured, emptyPoint(coloured)));
  DestroyWindow(coloured);
  FreeWindowProc(proc);
  DeleteObject(own);
}

TEST_F(TestLibraryDialogs, LoginDialogScreenshot)
{
  HWND login = Create(IDD_LOGIN);
  ASSERT_NE(nullptr, login);
  SetDlgItemTextW(login, IDC_ACCOUNT, u"13800000000");
  ASSERT_TRUE(kvtest::RunUntilIdle());
  std::string path = kvtest::SaveScreenshot("testres_login", login);
  ASSERT_FALSE(path.empty());
  EXPECT_GT(std::filesystem::file_size(path), 100u);
}
