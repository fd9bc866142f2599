// The fixture of the account query's tests: the page shown over an opener as the desktop shows
// it (its balance asked at once), scripted balances and statement pages, and waits for a query's
// outcome while the user-interface thread may be blocked in the wait box.
#pragma once

#include "account_query_page.h"
#include "payment_screen_fixture.h"
#include "trans_detail_dlg.h"

namespace accounttest {

// A transaction as "queryTransList" lists it; an empty memo leaves "transMemo" out.
inline nlohmann::ordered_json TransJson(const std::string& number, const std::string& memo = "网购")
{
  nlohmann::ordered_json trans = {{"transLogId", number},      {"date", "2010-07-04 12:00:00"},
                                  {"simpleDate", "07-04"},      {"transType", "转账"},
                                  {"money", "+12.50"},          {"transInstitution", "淘宝"}};
  if (!memo.empty())
    trans["transMemo"] = memo;
  return trans;
}

// A page of the statement: its transactions, the page and the transactions on the server.
inline testgateway::Reply TransPage(std::vector<nlohmann::ordered_json> transactions, int page, int total)
{
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (auto& trans : transactions)
    list.push_back(trans);
  return testgateway::Reply::success({{"pageCount", 10}, {"page", page}, {"totalCount", total}, {"transList", list}});
}

inline testgateway::Reply Balance()
{
  return testgateway::Reply::success({{"currentBalance", "1234.50"}, {"availableBalance", "1200.00"}});
}

using kvtest::PollUntil;

class AccountQueryTest : public paytest::PaymentScreenTest {
 protected:
  void DestroyScreens() override { page.reset(); }

  // Shows the page over the opener and waits for the balance's outcome.
  void Show()
  {
    app.SetUserName(u"张三");
    app.SetLogonId(u"zhang@example.com");
    opener = Opener();
    ui.Invoke([&] {
      page = std::make_unique<CAccountQueryPage>();
      page->ShowDialog(opener, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    size_t sent = gateway.requestsOf("queryBalance").size();
    ui.Post([this] { page->QueryBalance(); });
    ASSERT_TRUE(PollUntil([&] { return gateway.requestsOf("queryBalance").size() > sent; }));
    ASSERT_TRUE(PollUntil([&] { return !page->IsWindow() || !Boxes().empty() || !page->GetBalanceRows().m_rows.empty(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }

  // Runs what starts a statement query on the user-interface thread and returns once its outcome
  // shows: rows, the empty row, a box or the page gone.
  void Query(std::function<void()> start)
  {
    size_t sent = gateway.requestsOf("queryTransList").size();
    size_t boxes = Boxes().size();
    ui.Post(std::move(start));
    ASSERT_TRUE(PollUntil([&] { return gateway.requestsOf("queryTransList").size() > sent; }));
    ASSERT_TRUE(PollUntil([&] {
      if (!page->IsWindow() || Boxes().size() > boxes)
        return true;
      CAccountQueryDlg& statement = page->GetStatement();
      return statement.GetList().GetModel() == &statement.GetEmptyRows() || !statement.GetTransRows().m_rows.empty();
    }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }

  // Chooses the tab as a tap on it does (on the user-interface thread).
  void SelectTab(int index)
  {
    CAccountTabCtrl& tabs = page->GetTabs();
    tabs.TabCtrlSetCurSel(index);
    NMHDR notify{tabs.m_hWnd, CAccountQueryPage::kTabsId, TCN_SELCHANGE};
    ::SendMessageW(page->m_hWnd, WM_NOTIFY, CAccountQueryPage::kTabsId, reinterpret_cast<LPARAM>(&notify));
  }
  // The same, from the test's thread.
  void ChooseTab(int index)
  {
    ui.Post([this, index] { SelectTab(index); });
  }

  static int Number(const testgateway::RecordedRequest& request, const char* name)
  {
    const auto& json = *request.json;
    return json.contains(name) && json[name].is_number() ? json[name].get<int>() : -1;
  }
  static std::vector<std::u16string> Cells(const CListRow* row)
  {
    std::vector<std::u16string> cells;
    for (size_t i = 0; i < row->GetCellCount(); ++i)
      cells.push_back(row->GetCell(i)->m_strText.GetString());
    return cells;
  }
  std::u16string CentreKey() { return Text(GetDlgItem(page->m_hWnd, 135)); }
  HWND MenuKey() { return GetDlgItem(page->m_hWnd, CAccountQueryPage::kMenuKeyId); }
  CAccountQueryDlg& Statement() { return page->GetStatement(); }

  HWND opener = nullptr;
  std::unique_ptr<CAccountQueryPage> page;
};

}  // namespace accounttest
