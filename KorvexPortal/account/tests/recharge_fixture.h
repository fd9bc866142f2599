// The recharge dialog's tests: the payment screens' device, gateway and recording application,
// with the recharge dialog opened headless and the helpers to move through its pages, type into
// them and read what the gateway and the device's browser received.
#pragma once

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "ebank_charge_dlg.h"
#include "ebank_confirm_dlg.h"
#include "milocard_charge_dlg.h"
#include "mobile_card_charge_dlg.h"
#include "mobile_card_confirm_dlg.h"
#include "net_charge_dlg.h"
#include "payment_screen_fixture.h"
#include "recharge_host_dlg.h"
#include "recharge_ids.h"
#include "recharge_menu_page.h"
#include "shell/sip.h"
#include "testing/clock.h"
#include "testing/screenshot.h"

namespace rechargetest {

using namespace paytest;
using testgateway::Reply;

// How many requests of the operation the gateway received.
inline size_t CountOf(const testgateway::TestGateway& gateway, const std::string& operation)
{
  size_t count = 0;
  for (const auto& request : gateway.requests())
    if (request.field("operationType") == operation)
      ++count;
  return count;
}

class RechargeHostTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override { host.reset(); }

  void Open()
  {
    ui.Invoke([&] {
      host = std::make_unique<CRechargeHostDlg>();
      host->ShowDialog(nullptr, 0, FALSE, TRUE);
      SipShowIM(SIPF_OFF);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // Sends a soft key to the dialog and runs until the outcome settled.
  void Key(int id)
  {
    ui.Invoke([&] { ::PostMessageW(host->m_hWnd, WM_COMMAND, MAKEWPARAM(id, 0), 0); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  void Select(int method)
  {
    ASSERT_NE(nullptr, host->GetMenuPage());
    HWND page = host->GetMenuPage()->m_hWnd;
    ui.Invoke([&] { ::SendMessageW(page, WM_KV_RECHARGE_METHOD, CRechargeMenuPage::kFirstMethodId + method, 0); });
    Key(IDC_RECHARGE_ACTION);
    // The page shows once its own start-up request answered; some answers close the dialog.
    ASSERT_TRUE(RunUntil([&] { return !IsWindow(host->m_hWnd) || ShownPage(); }));
  }
  // Whether a page other than the menu is shown.
  bool ShownPage() const
  {
    return Shown(host->GetMilocardPage()) || Shown(host->GetCardInputPage()) || Shown(host->GetCardConfirmPage()) ||
           Shown(host->GetEbankInputPage()) || Shown(host->GetEbankConfirmPage()) || Shown(host->GetDraftPage());
  }
  template <class Page>
  static bool Shown(Page* page)
  {
    return page && page->m_hWnd && IsWindowVisible(page->m_hWnd);
  }
  void Type(HWND page, int id, const std::u16string& text)
  {
    ui.Invoke([&] { SetDlgItemTextW(page, id, text.c_str()); });
  }

  // The net-bank pages up to the confirmation, the amount typed; the clock stands still from
  // there (the driver, which moves it whenever something waits on it, is stopped) and moves 9 s.
  void UpToEbankConfirm()
  {
    Open();
    Select(2);
    CEbankChargeDlg* input = host->GetEbankInputPage();
    ASSERT_TRUE(Shown(input));
    Type(input->m_hWnd, IDC_EBANK_AMOUNT, u"20");
    clock.reset();
    Key(IDC_RECHARGE_ACTION);
    ASSERT_TRUE(Shown(host->GetEbankConfirmPage())) << ::testing::PrintToString(Boxes());
    EXPECT_EQ(u"20 元", Text(GetDlgItem(host->GetEbankConfirmPage()->m_hWnd, IDC_EBANKCONFIRM_AMOUNT)));
    // Short of the 10 s the page waits.
    device::testing::AdvanceClock(9000);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_TRUE(Boxes().empty());
  }
  // Two linked cards, and the balance.
  void ScriptCards()
  {
    gateway.script("premcDeposit",
                   Reply::success({{"currentBalance", "88.00"},
                                   {"mcDepositList",
                                    {{{"mcBankId", "B1"}, {"mcBankName", "招商银行"}, {"mcShortCode", "1234"}},
                                     {{"mcBankId", "B2"}, {"mcBankName", "建设银行"}, {"mcShortCode", "5678"}}}}}));
  }
  void ScriptBanks()
  {
    gateway.script("getSupportedBank",
                   Reply::success({{"supportedBankList",
                                    {{{"bankId", "CMB"}, {"bankName", "招商银行"}}, {{"bankId", "CEB"}, {"bankName", "光大银行"}}}},
                                   {"balance", "3.00"}}));
  }
  // The browser the device starts: a program that records its arguments in the device root.
  void InstallBrowser()
  {
    std::ofstream(root.path() + "/device.ini", std::ios::app) << "[browser]\ncommand = " << KV_ARGS_RECORDER << "\n";
  }
  // What the browser was started with; empty when it did not run.
  std::string BrowserArguments()
  {
    std::ifstream file(root.path() + "/args.bin", std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string all = bytes.str();
    return all.empty() ? all : all.substr(0, all.find('\0'));
  }

  // Closes the dialog if it is still open and lets its windows go.
  void CloseHost()
  {
    if (host && IsWindow(host->m_hWnd))
      ui.Invoke([&] { host->CloseRecharge(false); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // The card pages up to the confirmation, with a card that passes the checks.
  void UpToCardConfirm()
  {
    Open();
    Select(1);
    CMobileCardChargeDlg* input = host->GetCardInputPage();
    ASSERT_TRUE(Shown(input));
    Type(input->m_hWnd, IDC_CARD_NUMBER, u"12345678901234567");
    Type(input->m_hWnd, IDC_CARD_PASSWORD, u"123456789012345678");
    Key(IDC_RECHARGE_ACTION);
    ASSERT_TRUE(Shown(host->GetCardConfirmPage())) << ::testing::PrintToString(Boxes());
  }
  // Types into the focused field as a user would (a guarded password edit takes only this).
  void TypeInto(HWND field, const std::u16string& text)
  {
    ui.Invoke([&] { SetFocus(field); });
    ASSERT_TRUE(kvtest::TypeText(text));
  }
  // Scripts every request of the operation to answer with the current reply.
  void AnswerWithCurrent(const std::string& operation)
  {
    gateway.scriptHandler(operation, [&](const testgateway::RecordedRequest&) {
      std::lock_guard<std::mutex> guard(currentLock);
      return current;
    });
  }
  void SetCurrent(const Reply& reply)
  {
    std::lock_guard<std::mutex> guard(currentLock);
    current = reply;
  }
  // Another operation's notification (the unread count, code 32, with a memo of its own), from
  // the network worker's side; returns once every listener has been told.
  void NotifyUnreadCount()
  {
    std::thread([&] { service->ListenerPart()->OnServiceNotify(32, S_OK, 3, u"3条新消息"); }).join();
  }
  // What the application and the gateway recorded, for a failure's message.
  std::string Recorded()
  {
    std::string text = "calls:";
    for (const std::string& call : app.Calls())
      text += " [" + call + "]";
    text += " requests:";
    for (const testgateway::RecordedRequest& request : gateway.requests())
      text += " " + request.operation;
    return text;
  }
  // Whether the shared box shows (a wait, here).
  static bool BoxShown()
  {
    HWND box = CThreadMessageBox::SharedWindow();
    return box && IsWindowVisible(box);
  }

  std::unique_ptr<CRechargeHostDlg> host;
  std::mutex currentLock;
  Reply current = Reply::success();
};

}  // namespace rechargetest
