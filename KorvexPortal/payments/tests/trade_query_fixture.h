// The fixture of the trade query list's and trade detail's tests: the list shown as the desktop
// shows it (preset, show, first query), scripted trade lists and details, and waits for a
// query's outcome.
#pragma once

#include "payment_screen_fixture.h"
#include "trade_query_dlg.h"
#include "tradequery_ids.h"

namespace paytest {

// A trade as "queryTradeLists" lists it.
inline nlohmann::ordered_json TradeJson(const std::string& tradeNo, const std::string& status, int buyer,
                                        const std::string& statusMemo = "交易状态")
{
  return {{"tradeNO", tradeNo},       {"tradeStatus", status}, {"tradeTime", "07-01 10:00"},
          {"goodsName", "西湖龙井"},  {"act", "买"},           {"tradeMoney", "128.50"},
          {"tradeStatusMemo", statusMemo}, {"buyer", buyer}};
}

// A page of the list: its trades, the page and the trades on the server.
inline testgateway::Reply TradePage(std::vector<nlohmann::ordered_json> trades, int page, int total)
{
  nlohmann::ordered_json list = nlohmann::ordered_json::array();
  for (auto& trade : trades)
    list.push_back(trade);
  return testgateway::Reply::success({{"pageCount", 0}, {"page", page}, {"totalCount", total}, {"tradeTableList", list}});
}

using kvtest::PollUntil;

class TradeQueryTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { dialog.reset(); }

  // Shows the list over no window with the filter preset, and runs its first query.
  void Show(int preset = 0)
  {
    app.SetUserName(u"张三");
    app.SetGreeting(u"春眠不觉晓");
    ui.Invoke([&] {
      dialog = std::make_unique<CTradeQueryDlg>();
      dialog->GetStatusFilter(preset);
      dialog->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    Query([&] { dialog->Refresh(); });
  }
  // Runs what starts a list query on the user-interface thread and returns once its outcome
  // shows: rows, the empty row, a box or the dialog gone.
  void Query(std::function<void()> start)
  {
    size_t sent = gateway.requestsOf("queryTradeLists").size();
    ui.Post(std::move(start));
    ASSERT_TRUE(RunUntil([&] { return gateway.requestsOf("queryTradeLists").size() > sent; }));
    ASSERT_TRUE(RunUntil([&] { return Replied(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  bool Replied()
  {
    if (!dialog->IsWindow() || !Boxes().empty())
      return true;
    CKorvexListView& list = dialog->GetList();
    return list.GetModel() == &dialog->GetEmptyRows() || !dialog->GetTradeRows().m_rows.empty();
  }
  // The row's height on this screen.
  static int RowHeight() { return 32 * GetSystemMetrics(SM_CXSCREEN) / 240; }
  HWND List() { return dialog->GetList().m_hWnd; }
  std::u16string CentreKey() { return Text(GetDlgItem(dialog->m_hWnd, 135)); }
  HWND Focus()
  {
    HWND focus = nullptr;
    ui.Invoke([&] { focus = GetFocus(); });
    return focus;
  }
  std::vector<std::u16string> TradeNumbers()
  {
    std::vector<std::u16string> numbers;
    for (const CListRow* row : dialog->GetTradeRows().m_rows)
      numbers.push_back(row->GetCell(0)->m_strText.GetString());
    return numbers;
  }
  static int Number(const testgateway::RecordedRequest& request, const char* name)
  {
    const auto& json = *request.json;
    return json.contains(name) && json[name].is_number() ? json[name].get<int>() : -1;
  }

  std::unique_ptr<CTradeQueryDlg> dialog;
};

}  // namespace paytest
