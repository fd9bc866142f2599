// The account screens' tab control: its strip painted from the tab images, list pages that draw
// inside their scroll panels, its bitmaps freed once whichever of window and object goes first,
// and key-ups that end in it inside a dialog.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "account_tab_ctrl.h"
#include "base_dlg_fixture.h"
#include "bitmap_file.h"
#include "scroll_skin_fixture.h"
#include "test_resource_library.h"
#include "toolkit_fixture.h"

namespace {

constexpr COLORREF kCapLeft = RGB(255, 0, 0);
constexpr COLORREF kMiddle = RGB(200, 220, 255);
constexpr COLORREF kMiddleSecondColumn = RGB(0, 0, 160);
constexpr COLORREF kCapRight = RGB(0, 160, 0);
constexpr COLORREF kBand = 0xE7E7E7;
constexpr COLORREF kBandEdge = 0xCCCCCC;
constexpr COLORREF kSeparator = 0xE1E1E1;
constexpr int kImageHeight = 10;  // shorter than a tab

// Exposes the bitmaps the control holds.
class ProbeTabCtrl : public CAccountTabCtrl {
 public:
  std::vector<HBITMAP> Bitmaps() const
  {
    return {m_tabImages.m_hLeftCap, m_tabImages.m_hMiddle, m_tabImages.m_hRightCap, m_hBackground};
  }
};

class AccountTabCtrlTest : public kvtest::ToolkitTest {
 protected:
  void SetUp() override
  {
    ToolkitTest::SetUp();
    HMODULE library = kvtest::MakeResourceLibrary(
        root, "TabRes",
        "229 BITMAP \"229.bmp\"\n1022 BITMAP \"sel.bmp\"\n1023 BITMAP \"sel.bmp\"\n1024 BITMAP \"sel.bmp\"\n"
        "1028 BITMAP \"1028.bmp\"\n1029 BITMAP \"1029.bmp\"\n1030 BITMAP \"1030.bmp\"\n",
        {{"229.bmp", kvtest::BmpFile(90, 30, RGB(200, 200, 200))},
         {"sel.bmp", kvtest::BmpFile(2, 24, RGB(180, 200, 240))},
         {"1028.bmp", kvtest::BmpFile(3, kImageHeight, kCapLeft)},
         // The middle image's second column must never show: only the first is repeated.
         {"1029.bmp", scrolltest::BmpFile(2, kImageHeight, [](int x, int) { return x == 0 ? kMiddle : kMiddleSecondColumn; })},
         {"1030.bmp", kvtest::BmpFile(3, kImageHeight, kCapRight)}});
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }
  void TearDown() override
  {
    ToolkitTest::TearDown();
    tabs.reset();
    for (CListRows* model : {&balance, &detail})
      model->Clear();
  }

  CAccountTabCtrl& MakeTabs()
  {
    tabs = std::make_unique<ProbeTabCtrl>();
    EXPECT_TRUE(tabs->Create(parent, RECT{0, 0, 240, 300}, nullptr,
                             WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS));
    return *tabs;
  }

  // Rows of a label and a value, each row's first cell marked so it can be selected.
  static void Fill(CListRows& model, int rows)
  {
    model.m_columnWidths = {0, 100, 120};
    for (int i = 0; i < rows; ++i) {
      auto* row = new CListRow;
      for (const char16_t* text : {u"*", u"名称", u"内容"}) {
        row->AddCell(new CListCell);
        row->GetCell(row->GetCellCount() - 1)->m_strText = text;
      }
      model.AddRow(row);
    }
  }

  static COLORREF ScreenPixel(HWND window, int x, int y)
  {
    POINT at{x, y};
    ClientToScreen(window, &at);
    HDC dc = GetDC(nullptr);
    COLORREF colour = GetPixel(dc, at.x, at.y);
    ReleaseDC(nullptr, dc);
    return colour;
  }

  std::unique_ptr<ProbeTabCtrl> tabs;
  CListRows balance, detail;
};

TEST_F(AccountTabCtrlTest, PaintsTheStripWithTheCurrentTabBuiltFromItsImages)
{
  CAccountTabCtrl& control = MakeTabs();
  for (const char16_t* caption : {u"账户余额", u"账户明细查询"})
    control.AddPage(caption, CreateWindowExW(0, WC_STATICW, nullptr, WS_CHILD, 0, 0, 1, 1, control, nullptr,
                                             nullptr, nullptr));
  control.SetCurSel(1);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  RECT other{}, current{};
  ASSERT_TRUE(control.GetItemRect(0, &other));
  ASSERT_TRUE(control.GetItemRect(1, &current));
  ASSERT_GT(current.bottom - current.top, kImageHeight + 2);
  int band = static_cast<int>(current.bottom - current.top) + 2 * GetSystemMetrics(SM_CYEDGE);

  EXPECT_EQ(kBand, ScreenPixel(control, 238, 0)) << "the band beside the tabs";
  EXPECT_EQ(kBandEdge, ScreenPixel(control, 238, band - 1));
  EXPECT_EQ(kBand, ScreenPixel(control, other.left + 2, other.top + 1)) << "a tab that is not current";
  EXPECT_EQ(kCapLeft, ScreenPixel(control, current.left + 2, current.top));
  EXPECT_EQ(kCapRight, ScreenPixel(control, current.right - 1, current.top + kImageHeight - 1));
  for (LONG x = current.left + 3; x < current.right - 3; x += 7)
    EXPECT_EQ(kMiddle, ScreenPixel(control, x, current.top + 1)) << "the middle's first column at " << x;
  EXPECT_EQ(kBand, ScreenPixel(control, current.left + 1, current.top + kImageHeight))
      << "the images keep their own height";
}

TEST_F(AccountTabCtrlTest, ListPagesDrawInsideTheirScrollPanelsAndGoWithTheControl)
{
  CAccountTabCtrl& control = MakeTabs();
  Fill(balance, 2);
  Fill(detail, 3);
  detail.m_nSelected = 0;
  EXPECT_EQ(0, control.AddListPage(CAccountTabCtrl::kBalancePage, u"账户余额", &balance));
  EXPECT_EQ(1, control.AddListPage(CAccountTabCtrl::kTradeDetailPage, u"交易详情", &detail));
  EXPECT_EQ(1, control.AddListPage(CAccountTabCtrl::kTradeDetailPage, u"交易详情", &detail)) << "no second tab";
  EXPECT_EQ(2, control.GetItemCount());

  CKorvexListView& plain = control.GetList(CAccountTabCtrl::kBalancePage);
  CKorvexListView& paneled = control.GetList(CAccountTabCtrl::kTradeDetailPage);
  EXPECT_EQ(control.m_hWnd, plain.GetParent()) << "the balance list has no scroll panel";
  HWND container = GetParent(GetParent(paneled));
  EXPECT_EQ(control.m_hWnd, GetParent(container));
  EXPECT_FALSE(IsWindowVisible(container)) << "hidden with its list";

  control.SetCurSel(1);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(IsWindowVisible(container));
  EXPECT_FALSE(plain.IsWindowVisible());
  RECT row{};
  ASSERT_TRUE(paneled.GetItemRect(1, &row, LVIR_BOUNDS));
  EXPECT_EQ(kSeparator, ScreenPixel(paneled, 150, row.bottom - 1)) << "the rows are drawn in the panel";

  control.SetCurSel(0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_FALSE(IsWindowVisible(container));
  ASSERT_TRUE(plain.GetItemRect(0, &row, LVIR_BOUNDS));
  EXPECT_EQ(kSeparator, ScreenPixel(plain, 150, row.bottom - 1));

  control.DestroyWindow();
  EXPECT_FALSE(plain.IsWindow());
  EXPECT_FALSE(paneled.IsWindow());
  EXPECT_EQ(0, control.GetPageCount());
}

TEST_F(AccountTabCtrlTest, EachBitmapIsFreedOnceWhicheverGoesFirst)
{
  auto alive = [](HBITMAP bitmap) { return GetObjectType(bitmap) == OBJ_BITMAP; };
  {
    SCOPED_TRACE("the window first");
    MakeTabs();
    std::vector<HBITMAP> bitmaps = tabs->Bitmaps();
    for (HBITMAP bitmap : bitmaps)
      ASSERT_TRUE(alive(bitmap));
    tabs->DestroyWindow();
    EXPECT_EQ(nullptr, tabs->Bitmaps()[3]) << "the background is gone, and not freed again";
    EXPECT_FALSE(alive(bitmaps[3]));
    for (int i = 0; i < 3; ++i)
      EXPECT_TRUE(alive(bitmaps[static_cast<size_t>(i)])) << "the tab images stay with the object";
    tabs.reset();
    for (HBITMAP bitmap : bitmaps)
      EXPECT_FALSE(alive(bitmap));
  }
  {
    SCOPED_TRACE("the object first");
    MakeTabs();
    HWND window = tabs->m_hWnd;
    std::vector<HBITMAP> bitmaps = tabs->Bitmaps();
    tabs.reset();
    EXPECT_FALSE(IsWindow(window)) << "the window goes with the object";
    for (HBITMAP bitmap : bitmaps)
      EXPECT_FALSE(alive(bitmap));
  }
}

using AccountTabCtrlInDialog = basedlgtest::BaseDlgTest;

// Key-ups end in the control: the dialog's filter already hands a soft key's release to the
// dialog, so one passed on as well would press the key twice.
TEST_F(AccountTabCtrlInDialog, ASoftKeyReleasedOnTheControlPressesTheKeyOnce)
{
  basedlgtest::TestDlg& dialog = NewDialog(basedlgtest::Look{.menu = basedlgtest::kMenu});
  int result = 0;
  ShowModal(dialog, result);
  CAccountTabCtrl tabs;
  ui.Invoke([&] {
    ASSERT_TRUE(tabs.Create(dialog, RECT{0, 30, 240, 290}));
    tabs.SetFocus();
  });
  for (UINT key : {VK_LEFT, VK_F1})
    ASSERT_TRUE(kvtest::PressKey(key));
  EXPECT_EQ(std::vector<UINT>{basedlgtest::kSoftKey1}, dialog.Seen());
  ui.Invoke([&] { tabs.DestroyWindow(); });
  PostMessageW(dialog.m_hWnd, WM_KV_ENDDIALOG, 0, 0);
  ASSERT_TRUE(kvtest::RunUntilIdle());
}

}  // namespace
