// The transfer, its confirmation and result pages, the contact picker and the phone recharge at
// each screen size, portrait and landscape, with the input panel down and up: the layout check of
// every screen, checks that the entry forms' captions show whole beside their fields, and
// screenshots for a reviewer (build/test/screenshots/).
#include "contact_store.h"
#include "contacts_ids.h"
#include "p2p_ids.h"
#include "p2p_pay_dlg.h"
#include "payment_screen_fixture.h"
#include "phone_payment_dlg.h"
#include "phonepay_ids.h"
#include "shell/sip.h"
#include "testing/screenshot.h"
#include "layout_checks.h"

using namespace paytest;
using testgateway::Reply;

namespace {

class TransferScreensLook : public PaymentScreenTest {
 protected:
  void DestroyScreens() override
  {
    transfer.reset();
    phone.reset();
  }
  void Close()
  {
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      DestroyScreens();
    });
    EXPECT_TRUE(kvtest::RunUntilIdle());
  }
  void Shoot(const std::string& name)
  {
    ui.Invoke([&] { SipShowIM(SIPF_OFF); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_FALSE(kvtest::SaveScreenshot(name).empty());
  }
  static std::string Size(int width, int height) { return std::to_string(width) + "x" + std::to_string(height); }

  std::unique_ptr<CP2PPayDlg> transfer;
  std::unique_ptr<CPhonePaymentDlg> phone;
};

TEST_F(TransferScreensLook, EachScreenAtEachSize)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 3}}));
  gateway.script("p2pPrePay",
                 Reply::success({{"toPayUserName", "李四"}, {"toPayAccount", "lisi.tea.shop@example.com"}}));
  gateway.script("p2pPay", Reply::success({{"isContact", 0}}));
  StartGateway();
  app.SetLogonId(u"zhangsan@example.com");
  app.SetUserName(u"张三");
  CContactStore store(u"zhangsan@example.com");
  store.AddContact(CContactRecord{u"李四", u"li@example.com"});
  store.AddContact(CContactRecord{u"王五", u"13800138000"});
  for (auto [width, height] : kvtest::kLookSizes) {
    SCOPED_TRACE(Size(width, height));
    UseLibrary(width, height);
    ui.Invoke([&] {
      transfer = std::make_unique<CP2PPayDlg>();
      transfer->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(RunUntil([&] { return transfer->GetUnpaidCount() == 3; }));
    ui.Invoke([&] {
      SetWindowTextW(transfer->GetDlgItem(IDC_P2P_ACCOUNT), u"li@example.com");
      SetWindowTextW(transfer->GetDlgItem(IDC_P2P_AMOUNT), u"12.50");
      SetWindowTextW(transfer->GetDlgItem(IDC_P2P_REASON), u"房租");
    });
    kvtest::ExpectSoundLayout(ui, *transfer, "transfer_" + Size(width, height));
    EXPECT_FALSE(kvtest::ShowsScrollBar(transfer->m_hWnd)) << "the form fits below the title, unscrolled";
    // Each caption shows whole and clear of its field.
    for (auto [caption, field] : {std::pair{IDC_P2P_ACCOUNT_CAPTION, IDC_P2P_ACCOUNT},
                                  std::pair{IDC_P2P_AMOUNT_CAPTION, IDC_P2P_AMOUNT},
                                  std::pair{IDC_P2P_REASON_CAPTION, IDC_P2P_REASON}}) {
      HWND label = transfer->GetDlgItem(caption);
      EXPECT_TRUE(kvtest::ShowsWholeText(label)) << kvtest::Narrow(Text(label));
      EXPECT_FALSE(kvtest::Overlap(label, transfer->GetDlgItem(field))) << kvtest::Narrow(Text(label));
    }

    ASSERT_TRUE(kvtest::TapWindow(transfer->GetDlgItem(IDC_P2P_CONTACTS)));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    ASSERT_TRUE(transfer->GetContactPicker());
    kvtest::ExpectSoundLayout(ui, *transfer->GetContactPicker(), "contact_picker_" + Size(width, height));
    // The selected row lines up with the link above it.
    CContactListDlg* contacts = transfer->GetContactPicker()->GetList();
    ASSERT_TRUE(contacts && contacts->GetFirstRow());
    RECT row{}, link{};
    GetWindowRect(contacts->GetFirstRow(), &row);
    GetWindowRect(contacts->GetDlgItem(IDC_CONTACT_LIST_REFRESH), &link);
    EXPECT_EQ(link.left, row.left);
    EXPECT_EQ(link.right, row.right);
    ASSERT_TRUE(kvtest::TapWindow(transfer->GetContactPicker()->GetDlgItem(IDC_CONTACT_BACK)));

    ASSERT_TRUE(kvtest::TapWindow(transfer->GetDlgItem(IDC_P2P_SUBMIT)));
    ASSERT_TRUE(RunUntil([&] { return transfer->GetConfirmDlg().IsWindow() != FALSE; }));
    CP2PPayConfirmDlg& confirm = transfer->GetConfirmDlg();
    kvtest::ExpectSoundLayout(ui, confirm, "transfer_confirm_" + Size(width, height));
    // The payee's lines show whole, each above the next and clear of the password.
    const int lines[] = {IDC_P2P_CONFIRM_ACCOUNT, IDC_P2P_CONFIRM_NAME, IDC_P2P_CONFIRM_AMOUNT, IDC_P2P_CONFIRM_REASON};
    for (size_t i = 0; i < std::size(lines); ++i) {
      HWND line = confirm.GetDlgItem(lines[i]);
      EXPECT_TRUE(kvtest::ShowsWholeText(line)) << kvtest::Narrow(Text(line));
      EXPECT_FALSE(kvtest::Overlap(line, confirm.GetDlgItem(IDC_P2P_CONFIRM_PASSWORD)));
      if (i + 1 < std::size(lines)) {
        EXPECT_FALSE(kvtest::Overlap(line, confirm.GetDlgItem(lines[i + 1]))) << kvtest::Narrow(Text(line));
      }
    }

    HWND edit = confirm.GetDlgItem(IDC_P2P_CONFIRM_PASSWORD);
    ui.Invoke([&] { SetFocus(edit); });
    ASSERT_TRUE(kvtest::TypeText(u"pay123456"));
    ASSERT_TRUE(kvtest::TapWindow(confirm.GetDlgItem(IDC_P2P_SUBMIT)));
    ASSERT_TRUE(RunUntil([&] { return confirm.GetResultDlg() && confirm.GetResultDlg()->IsWindow(); }));
    kvtest::ExpectSoundLayout(ui, *confirm.GetResultDlg(), "transfer_result_" + Size(width, height));
    Close();

    ui.Invoke([&] {
      phone = std::make_unique<CPhonePaymentDlg>();
      phone->ShowDialog(nullptr, 0, FALSE, TRUE);
      SetWindowTextW(phone->GetDlgItem(1015), u"13800138000");
    });
    kvtest::ExpectSoundLayout(ui, *phone, "phone_recharge_" + Size(width, height));
    EXPECT_FALSE(kvtest::ShowsScrollBar(phone->m_hWnd)) << "the form fits below the title, unscrolled";
    for (auto [caption, field] : {std::pair{IDC_PHONEPAY_NUMBER_CAPTION, IDC_PHONEPAY_NUMBER},
                                  std::pair{IDC_PHONEPAY_AMOUNT_CAPTION, IDC_PHONEPAY_AMOUNT}}) {
      HWND label = phone->GetDlgItem(caption);
      EXPECT_TRUE(kvtest::ShowsWholeText(label)) << kvtest::Narrow(Text(label));
      EXPECT_FALSE(kvtest::Overlap(label, phone->GetDlgItem(field))) << kvtest::Narrow(Text(label));
    }
    Close();
  }
}

TEST_F(TransferScreensLook, TheEmptyContactNote)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
  gateway.script("queryContactLists", Reply::success({{"contactLists", nlohmann::ordered_json::array()}}));
  StartGateway();
  app.SetLogonId(u"nobody@example.com");
  ui.Invoke([&] {
    transfer = std::make_unique<CP2PPayDlg>();
    transfer->ShowDialog(nullptr, 0, FALSE, TRUE);
  });
  ASSERT_TRUE(RunUntil([&] { return transfer->GetUnpaidCount() == 0; }));
  ASSERT_TRUE(kvtest::TapWindow(transfer->GetDlgItem(IDC_P2P_CONTACTS)));
  ASSERT_TRUE(RunUntil([&] {
    return transfer->GetContactPicker() && transfer->GetContactPicker()->GetList() &&
           transfer->GetContactPicker()->GetList()->IsEmptyNoteVisible();
  }));
  Shoot("contact_picker_empty_240x320");
}

}  // namespace
