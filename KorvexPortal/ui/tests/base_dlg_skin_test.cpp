// The dialog base's skin, bars and bindings: where the title strip, the keys and the soft-key bar
// stand and what they show, the soft keys' texts, the title drawn once per skin, the skinned
// controls bound once, and a turn of the screen that keeps the controls and their values.
#include "base_dlg_fixture.h"
#include "testing/screen_rotation.h"

using namespace basedlgtest;
using namespace kvtest;

namespace {

// The text a key draws: its ink over a plain background, drawn through the dialog's reflection.
int KeyInk(HWND dialog, int id)
{
  HWND key = GetDlgItem(dialog, id);
  RECT client{};
  GetClientRect(key, &client);
  Canvas canvas(client.right, client.bottom, RGB(255, 255, 255));
  DRAWITEMSTRUCT draw{ODT_BUTTON, static_cast<UINT>(id), 0, ODA_DRAWENTIRE, 0, key, canvas.dc, client, 0};
  SendMessageW(dialog, WM_DRAWITEM, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&draw));
  RECT ink = canvas.Ink(RGB(255, 255, 255));
  return std::max<int>(0, ink.right - ink.left);
}

int TextWidth(HWND window, const std::u16string& text)
{
  HDC dc = GetDC(window);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(window, dc);
  return size.cx;
}

std::u16string TextOf(HWND window)
{
  WCHAR text[64] = {};
  GetWindowTextW(window, text, 64);
  return text;
}

COLORREF ScreenPixel(int x, int y)
{
  HDC dc = GetDC(nullptr);
  COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(nullptr, dc);
  return colour;
}

// The screen's pixels of a rectangle.
std::vector<COLORREF> ScreenPixels(RECT r)
{
  std::vector<COLORREF> pixels;
  HDC dc = GetDC(nullptr);
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      pixels.push_back(GetPixel(dc, x, y));
  ReleaseDC(nullptr, dc);
  return pixels;
}

TEST_F(BaseDlgTest, TheBarsStandOnTheSkinsStripsAndTheKeysShareTheSoftKeyBar)
{
  struct Case {
    const char* name;
    Look look;
    COLORREF page;
  };
  const Case cases[] = {
      {"plain colour with the strips", Look{}, RGB(0xF5, 0xF5, 0xF5)},
      {"one skin bitmap", Look{.skinned = TRUE}, kPageMark},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDlg& dialog = NewDialog(c.look);
    HWND hwnd = Show(dialog);
    // W 240, H 320, bar 26, key (240 - 8) / 3 = 77.
    struct Place {
      int id;
      RECT rect;
    };
    for (Place p : {Place{kSoftKey1, {2, 294, 79, 320}}, Place{kSoftKey2, {161, 294, 238, 320}},
                    Place{kCenterKey, {82, 294, 159, 320}}})
      EXPECT_EQ(Edges(p.rect), Edges(RectIn(GetDlgItem(hwnd, p.id), hwnd))) << p.id;
    EXPECT_EQ(kTitleMark, ScreenPixel(3, 3)) << "the title strip";
    EXPECT_EQ(kBarMark, ScreenPixel(1, 300)) << "the bar between the keys";
    EXPECT_EQ(kBarMark, ScreenPixel(80, 318));
    EXPECT_EQ(kBarMark, ScreenPixel(236, 296)) << "a key shows the bar behind it";
    EXPECT_EQ(c.page, ScreenPixel(200, 150)) << "the page";
    ui.Invoke([&] { dialog.CloseDialog(0, FALSE); });
  }
}

TEST_F(BaseDlgTest, AnEmptySoftKeyTextClearsTheKeyAndATextNeverSetLeavesItsCaption)
{
  struct Case {
    const char* name;
    Look look;
    std::u16string before1, before2;  // the captions the keys show at first
  };
  const Case cases[] = {
      {"keys of the template", Look{.portrait = kWithKeys}, u"返回", u"保存"},
      {"keys made by the base with the menu's captions", Look{.menu = kMenu}, u"确定", u"菜单"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TestDlg& dialog = NewDialog(c.look);
    HWND hwnd = Show(dialog);
    int width1 = 0, width2 = 0, wide = 0;
    ui.Invoke([&] {
      width1 = KeyInk(hwnd, kSoftKey1);
      width2 = KeyInk(hwnd, kSoftKey2);
      EXPECT_NEAR(TextWidth(GetDlgItem(hwnd, kSoftKey1), c.before1), width1, 2);
      EXPECT_NEAR(TextWidth(GetDlgItem(hwnd, kSoftKey2), c.before2), width2, 2);
      dialog.SetSoftKeyTexts(nullptr, u"", TRUE);
      EXPECT_EQ(width1, KeyInk(hwnd, kSoftKey1)) << "never set: the caption stays";
      EXPECT_EQ(0, KeyInk(hwnd, kSoftKey2)) << "an empty text clears the key";
      dialog.SetSoftKeyTexts(u"提交确认", nullptr, TRUE);
      wide = KeyInk(hwnd, kSoftKey1);
      EXPECT_EQ(0, KeyInk(hwnd, kSoftKey2)) << "the empty text is kept";
    });
    EXPECT_GT(wide, width1) << "the new text";
    ui.Invoke([&] { dialog.CloseDialog(0, FALSE); });
  }
}

TEST_F(BaseDlgTest, TheTitleIsDrawnIntoTheSkinOncePerSkin)
{
  const RECT strip{0, 0, 240, kStrip};
  TestDlg& reference = NewDialog();
  HWND hwnd = Show(reference);
  ui.Invoke([&] { reference.SetTitle(u"另一个标题", TRUE); });
  ASSERT_TRUE(RunUntilIdle());
  std::vector<COLORREF> expected = ScreenPixels(strip);
  ui.Invoke([&] { reference.CloseDialog(0, FALSE); });

  TestDlg& dialog = NewDialog();
  hwnd = Show(dialog);
  EXPECT_NE(expected, ScreenPixels(strip)) << "the layout string's title first";
  ui.Invoke([&] { dialog.SetTitle(u"另一个标题", FALSE); });
  for (int i = 0; i < 3; ++i) {
    ui.Invoke([&] { InvalidateRect(hwnd, nullptr, TRUE); });
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(expected, ScreenPixels(strip)) << "paint " << i << ": the new title alone, drawn once";
  }
}

TEST_F(BaseDlgTest, OverlayControlsAreBoundOnceAndTheAccountLabelShowsItsCaptionOnce)
{
  app.SetLogonId(u"13800138000");
  TestDlg& dialog = NewDialog();
  dialog.attachControls = true;
  HWND hwnd = Show(dialog);
  HWND label = GetDlgItem(hwnd, kAccountLabel);
  HWND note = GetDlgItem(hwnd, kEditNote);
  EXPECT_EQ(u"账户：13800138000", TextOf(label));
  EXPECT_EQ(note, dialog.noteEdit.m_hWnd);
  size_t records = dialog.m_layouts.size();
  ui.Invoke([&] {
    dialog.BindControls(FALSE, -1);
    dialog.BindControls(TRUE, -1);
  });
  EXPECT_EQ(records, dialog.m_layouts.size()) << "nothing bound a second time";
  EXPECT_EQ(u"账户：13800138000", TextOf(label)) << "the caption once";

  app.SetLogonId(u"13900139000");
  ui.Invoke([&] { SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER); });
  EXPECT_EQ(u"账户：13900139000", TextOf(label)) << "the label follows the user as the dialog moves";
}

TEST_F(BaseDlgTest, ALabelBoundWithABitmapShowsItInItsSize)
{
  CSkinLabel label;
  TestDlg& dialog = NewDialog();
  dialog.bind = [&](TestDlg& self, BOOL save) {
    self.AttachSkinLabel(kAccountLabel, label, kControlLabel, save, 229, 229, 1);
  };
  HWND hwnd = Show(dialog);
  RECT rect = RectIn(GetDlgItem(hwnd, kAccountLabel), hwnd);
  EXPECT_EQ(9 * 12, rect.right - rect.left) << "the bitmap's size";
  EXPECT_EQ(3 * 12, rect.bottom - rect.top);
  // The whole bitmap stretched over the label: its first cell's colour at the corner.
  EXPECT_EQ(scrolltest::SkinColour(0, 0), ScreenPixel(rect.left + 1, rect.top + 1));
  ui.Invoke([&] { kvtest::DestroyThreadWindows(); });
}

TEST_F(BaseDlgTest, ATurnedScreenKeepsTheControlsTheirValuesAndTheirBindings)
{
  app.SetLogonId(u"13800138000");
  TestDlg& dialog = NewDialog();
  dialog.attachControls = true;
  HWND hwnd = Show(dialog);
  HWND account = GetDlgItem(hwnd, kEditAccount);
  HWND label = GetDlgItem(hwnd, kAccountLabel);
  RECT portrait = RectIn(account, hwnd);
  ui.Invoke([&] {
    SetWindowTextW(account, u"zhang.san");
    RotateScreen();
  });
  ASSERT_TRUE(RunUntilIdle());
  EXPECT_EQ(account, GetDlgItem(hwnd, kEditAccount)) << "the same window";
  EXPECT_EQ(u"zhang.san", TextOf(account)) << "saved and loaded around the new layout";
  EXPECT_EQ(std::u16string(u"zhang.san"), std::u16string(dialog.value));
  EXPECT_NE(Edges(portrait), Edges(RectIn(account, hwnd))) << "the landscape template's place";
  EXPECT_EQ(u"账户：13800138000", TextOf(label)) << "the caption once after the re-creation";
  EXPECT_EQ(dialog.noteEdit.m_hWnd, GetDlgItem(hwnd, kEditNote)) << "still bound, not bound again";
  EXPECT_EQ(kBarMark, ScreenPixel(318, 236)) << "the landscape skin";
  ui.Invoke([] { RotateScreen(); });
  ASSERT_TRUE(RunUntilIdle());
}

}  // namespace
