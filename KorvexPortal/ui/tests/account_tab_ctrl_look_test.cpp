// The account tab control as a user sees it on a screen of the client's kind, with the client's
// own resource libraries: the balance page of the account query and the trade detail page, at
// each screen size; screenshots for people to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "account_tab_ctrl.h"
#include "app_services.h"
#include "base_dlg.h"
#include "testing/clock.h"
#include "testing/device_root.h"
#include "testing/screenshot.h"
#include "testing/ui_harness.h"
#include "testing/ui_thread.h"

using namespace kvtest;

namespace {

constexpr int kScreen = 9100;

// A screen with nothing on it but what the test adds, in a copy of the library.
const char kScreenScript[] = R"(
9100 DIALOG 0, 0, 120, 160
STYLE WS_POPUP | WS_VISIBLE | DS_SETFONT
FONT 9, "宋体"
BEGIN
END
)";

class TabScreen : public CBaseDlg {
 public:
  int GetTemplateId(int) override { return kScreen; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == 1 ? 0x418 : 0x419; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return 133; }
  int GetSoftKey2Id() override { return 134; }
  int GetCenterKeyId() override { return 4; }
};

using Rows = std::vector<std::pair<const char16_t*, const char16_t*>>;

// Rows of four cells: an empty one, the label, "：" and the value.
void FillLabelRows(CListRows& model, const Rows& rows)
{
  for (const auto& [label, value] : rows) {
    auto* row = new CListRow;
    for (const char16_t* text : {u"", label, u"：", value}) {
      row->AddCell(new CListCell);
      row->GetCell(row->GetCellCount() - 1)->m_strText = text;
    }
    model.AddRow(row);
  }
}

class AccountTabCtrlLook : public ::testing::Test {
 protected:
  void TearDown() override
  {
    ui.Invoke([&] {
      tabs.reset();
      DestroyThreadWindows();
    });
    RunUntilIdle();
    ui.Invoke([&] { screen.reset(); });
    for (CListRows* model : {&first, &second})
      model->Clear();
  }

  void UseLibrary(int width, int height)
  {
    SetScreenSize(width, height);
    std::string name = "ModelRes_" + std::to_string(width) + "x" + std::to_string(height);
    std::filesystem::path target = root.path() + "/Program Files/Tests/" + name + ".dll";
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy(KV_RESOURCE_OUTPUT "/" + name + ".dll", target, std::filesystem::copy_options::recursive);
    std::ofstream(target / "zz_tab_screen.rc", std::ios::binary) << kScreenScript;
    HMODULE library = LoadLibraryW(std::u16string(name.begin(), name.end()).c_str());
    ASSERT_NE(nullptr, library);
    app.SetResourceLibrary(library);
  }

  // The screen with its title and a tab control laid out as the account screens lay it out: 10
  // pixels (at 240 wide) in from the sides, from 5 below the title strip down to the soft keys.
  void ShowScreen(int width, int height, LPCWSTR title)
  {
    UseVirtualTime(SYSTEMTIME{2026, 1, 1, 5, 9, 41, 0, 0});
    int s = width / 240;
    ui.Invoke([&] {
      screen = std::make_unique<TabScreen>();
      screen->ShowDialog(nullptr, 0, FALSE, TRUE);
      screen->SetTitle(title, TRUE);
      screen->SetSoftKeyTexts(u"返回", u"", TRUE);
      tabs = std::make_unique<CAccountTabCtrl>();
      tabs->Create(*screen, RECT{10 * s, 31 * s, width - 10 * s, height - 26 * s}, nullptr,
                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    });
  }

  // Columns of label rows: an empty one, the label, "：" and the value over the rest.
  void LayOut(CListRows& model, CAccountTabCtrl::ListPage page, int width)
  {
    int s = width / 240;
    RECT client{};
    ui.Invoke([&] { tabs->GetList(page).GetClientRect(&client); });
    model.m_columnWidths = {0, 60 * s, 14 * s, static_cast<int>(client.right) - 74 * s};
    ui.Invoke([&] { tabs->GetList(page).Rebuild(); });
  }

  device::testing::ScopedDeviceRoot root;
  CKorvexPortalApp app;
  UiThread ui;
  std::unique_ptr<TabScreen> screen;
  std::unique_ptr<CAccountTabCtrl> tabs;
  CListRows first, second;
};

TEST_F(AccountTabCtrlLook, TheBalanceAndTheTradeDetailPagesAtEachScreenSize)
{
  struct Case {
    int width, height;
  };
  for (Case c : {Case{240, 320}, Case{480, 640}}) {
    std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
    SCOPED_TRACE(size);
    UseLibrary(c.width, c.height);

    // The account query: the balance list and the statement page behind the second tab.
    ShowScreen(c.width, c.height, u"账户查询");
    FillLabelRows(first, {{u"用 户 名", u"张三"},
                          {u"你的账户", u"13800138000"},
                          {u"当前余额", u"1,288.50"},
                          {u"可用余额", u"1,088.50"}});
    ui.Invoke([&] {
      EXPECT_EQ(0, tabs->AddListPage(CAccountTabCtrl::kBalancePage, u"账户余额", &first));
      CAccountQueryDlg& query = tabs->GetQueryPage();
      query.Create(*tabs, tabs->GetDisplayRect(), nullptr, WS_CHILD);
      EXPECT_EQ(1, tabs->AddPage(u"账户明细查询", query));
    });
    LayOut(first, CAccountTabCtrl::kBalancePage, c.width);
    ASSERT_TRUE(RunUntilIdle());
    SaveScreenshot("account_tab_ctrl_balance_" + size);

    // The trade detail: a longer list in its scroll panel, and the logistics tab.
    TearDown();
    ShowScreen(c.width, c.height, u"交易详情");
    FillLabelRows(first, {{u"交易号", u"2026010509410001"},
                          {u"商品名称", u"话费充值 100 元"},
                          {u"交易金额", u"99.80 元"},
                          {u"交易时间", u"2026-01-05 09:41"},
                          {u"卖    家", u"华东通信营业厅"},
                          {u"交易状态", u"交易成功"},
                          {u"备    注", u"一个很长很长的备注，超出一行的部分以省略号结束"}});
    FillLabelRows(second, {{u"物流公司", u"顺达快递"}, {u"运单号", u"SD88012345"}});
    ui.Invoke([&] {
      EXPECT_EQ(0, tabs->AddListPage(CAccountTabCtrl::kTradeDetailPage, u"交易详情", &first));
      EXPECT_EQ(1, tabs->AddListPage(CAccountTabCtrl::kLogisticsPage, u"物流信息", &second));
    });
    LayOut(first, CAccountTabCtrl::kTradeDetailPage, c.width);
    LayOut(second, CAccountTabCtrl::kLogisticsPage, c.width);
    ASSERT_TRUE(RunUntilIdle());
    SaveScreenshot("account_tab_ctrl_trade_detail_" + size);
    TearDown();
  }
}

}  // namespace
