// The contact picker of the transfer: rows from the user's contact list file, the chosen row's
// own account put into the transfer's account field, the gateway's list when there is no file
// (written to the file), the empty note, and the phone's chooser of the recharge.
#include "contact_store.h"
#include "contacts_ids.h"
#include "p2p_ids.h"
#include "p2p_pay_dlg.h"
#include "payment_screen_fixture.h"
#include "phone_payment_dlg.h"
#include "phonepay_ids.h"

using namespace paytest;
using testgateway::Reply;

namespace {

constexpr char16_t kLogonId[] = u"zhangsan@example.com";

class ContactPickerTest : public PaymentScreenTest {
 protected:
  void DestroyScreens() override
  {
    transfer.reset();
    phone.reset();
  }

  // Shows the transfer dialog (once) and taps its contact button; returns the picker.
  CContactPickDlg* OpenPicker()
  {
    app.SetLogonId(kLogonId);
    if (!transfer) {
      ui.Invoke([&] {
        transfer = std::make_unique<CP2PPayDlg>();
        transfer->ShowDialog(nullptr, 0, FALSE, TRUE);
      });
      EXPECT_TRUE(kvtest::RunUntilIdle());
      if (service) {
        EXPECT_TRUE(RunUntil([&] { return transfer->GetUnpaidCount() >= 0; }));
      }
    }
    ui.Invoke([&] { SetWindowTextW(transfer->GetDlgItem(IDC_P2P_ACCOUNT), u"typed@example.com"); });
    EXPECT_TRUE(kvtest::TapWindow(transfer->GetDlgItem(IDC_P2P_CONTACTS)));
    EXPECT_TRUE(kvtest::RunUntilIdle());
    return transfer->GetContactPicker();
  }
  std::u16string AccountField() { return Text(transfer->GetDlgItem(IDC_P2P_ACCOUNT)); }
  std::vector<std::u16string> Accounts(CContactListDlg* list)
  {
    std::vector<std::u16string> accounts;
    for (const CContactRecord& contact : list->GetContacts())
      accounts.push_back(contact.account.GetString());
    return accounts;
  }
  HWND Row(CContactListDlg* list, int index) { return GetDlgItem(list->m_hWnd, IDC_CONTACT_ROW0 + index); }
  void ScriptServerList(const nlohmann::ordered_json& groups)
  {
    gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
    gateway.script("queryContactLists", Reply::success({{"contactLists", groups}}));
  }

  std::unique_ptr<CP2PPayDlg> transfer;
  std::unique_ptr<CPhonePaymentDlg> phone;
};

TEST_F(ContactPickerTest, ChoosingARowPutsItsOwnAccountIntoTheTransfer)
{
  CContactStore store(kLogonId);
  // A name with brackets of its own must not change the account chosen.
  ASSERT_EQ(0, store.AddContact(CContactRecord{u"王(五)", u"wang@example.com"}));
  ASSERT_EQ(0, store.AddContact(CContactRecord{u"李四", u"13800138000"}));
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker && picker->IsWindow());
  CContactListDlg* list = picker->GetList();
  ASSERT_TRUE(list);
  EXPECT_EQ((std::vector<std::u16string>{u"wang@example.com", u"13800138000"}), Accounts(list));
  EXPECT_EQ(u"选择联系人", std::u16string(picker->GetTitle().GetString()));

  ASSERT_TRUE(kvtest::TapWindow(Row(list, 0)));
  ASSERT_TRUE(kvtest::TapWindow(picker->GetDlgItem(IDC_CONTACT_CHOOSE)));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(u"wang@example.com", AccountField());
  EXPECT_FALSE(picker->IsWindow());
  EXPECT_TRUE(gateway.requestsOf("queryContactLists").empty());
}

TEST_F(ContactPickerTest, TheKeysMoveBetweenTheRowsAndTheLinkAndTheActionKeyChoosesARow)
{
  CContactStore store(kLogonId);
  ASSERT_EQ(0, store.AddContact(CContactRecord{u"王五", u"wang@example.com"}));
  ASSERT_EQ(0, store.AddContact(CContactRecord{u"李四", u"13800138000"}));
  RunAppLoop();
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker && picker->GetList());
  CContactListDlg* list = picker->GetList();
  auto focused = [&] {
    HWND focus = nullptr;
    ui.Invoke([&] { focus = GetFocus(); });
    if (focus == list->GetDlgItem(IDC_CONTACT_LIST_REFRESH))
      return std::string("link");
    for (int row = 0; row < 2; ++row)
      if (focus == Row(list, row))
        return "row " + std::to_string(row);
    return std::string("elsewhere");
  };
  ASSERT_EQ("row 0", focused());
  struct Step {
    UINT key;
    std::string focus;
  };
  const Step steps[] = {{VK_DOWN, "row 1"}, {VK_DOWN, "link"}, {VK_DOWN, "row 0"},
                        {VK_UP, "link"},    {VK_UP, "row 1"}};
  for (const Step& s : steps) {
    ASSERT_TRUE(kvtest::PressKey(s.key));
    EXPECT_EQ(s.focus, focused());
  }
  EXPECT_TRUE(list->GetSelected().account.IsEmpty()) << "moving the focus chooses nothing";
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  EXPECT_EQ(u"13800138000", std::u16string(list->GetSelected().account.GetString()));
  ASSERT_TRUE(kvtest::PressKey(VK_F1));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(u"13800138000", AccountField());
  EXPECT_FALSE(picker->IsWindow());
  EXPECT_TRUE(gateway.requestsOf("queryContactLists").empty());
}

TEST_F(ContactPickerTest, TheLinkTappedOrTakenWithTheReturnKeyAsksTheGatewayAgain)
{
  ASSERT_EQ(0, CContactStore(kLogonId).AddContact(CContactRecord{u"李四", u"13800138000"}));
  ScriptServerList({{{"groupName", "同事"}, {"contacts", {{{"account", "li@example.com"}, {"name", "李四"}}}}}});
  StartGateway();
  RunAppLoop();
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker && picker->GetList());
  CContactListDlg* list = picker->GetList();
  HWND link = list->GetDlgItem(IDC_CONTACT_LIST_REFRESH);
  EXPECT_EQ(u"从服务器更新联系人", Text(link));
  ASSERT_TRUE(kvtest::TapWindow(link));
  ASSERT_TRUE(RunUntil([&] { return gateway.requestsOf("queryContactLists").size() == 1; }));
  ASSERT_TRUE(RunUntil([&] { return Accounts(list) == std::vector<std::u16string>{u"li@example.com"}; }));

  ui.Invoke([&] { SetFocus(link); });
  ASSERT_TRUE(kvtest::PressKey(VK_RETURN));
  ASSERT_TRUE(RunUntil([&] { return gateway.requestsOf("queryContactLists").size() == 2; }));
  EXPECT_TRUE(picker->IsWindow()) << "the return key on the link chooses no row";
}

TEST_F(ContactPickerTest, AContactBelowTheListsEdgeIsScrolledIntoViewWhenTheKeysReachIt)
{
  CContactStore store(kLogonId);
  for (int i = 0; i < 9; ++i)
    ASSERT_EQ(0, store.AddContact(CContactRecord{CStringW(u"联系人") + CStringW(std::to_string(i).c_str()),
                                                 CStringW(("c" + std::to_string(i) + "@example.com").c_str())}));
  RunAppLoop();
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker && picker->GetList());
  CContactListDlg* list = picker->GetList();
  RECT shown{};
  GetWindowRect(list->m_hWnd, &shown);
  for (int row = 1; row < 9; ++row) {
    SCOPED_TRACE(row);
    ASSERT_TRUE(kvtest::PressKey(VK_DOWN));
    HWND focus = nullptr;
    ui.Invoke([&] { focus = GetFocus(); });
    ASSERT_EQ(Row(list, row), focus);
    RECT rect{};
    GetWindowRect(focus, &rect);
    EXPECT_TRUE(rect.top >= shown.top && rect.bottom <= shown.bottom) << "the focused row is shown";
  }
}

TEST_F(ContactPickerTest, BackOrChoosingWithoutARowKeepsTheField)
{
  ASSERT_EQ(0, CContactStore(kLogonId).AddContact(CContactRecord{u"李四", u"13800138000"}));
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker);
  ASSERT_TRUE(kvtest::TapWindow(picker->GetDlgItem(IDC_CONTACT_CHOOSE)));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(u"typed@example.com", AccountField());

  picker = OpenPicker();
  ASSERT_TRUE(kvtest::TapWindow(Row(picker->GetList(), 0)));
  ASSERT_TRUE(kvtest::TapWindow(picker->GetDlgItem(IDC_CONTACT_BACK)));
  ASSERT_TRUE(kvtest::RunUntilIdle());
  EXPECT_EQ(u"typed@example.com", AccountField());
  EXPECT_FALSE(picker->IsWindow());
}

TEST_F(ContactPickerTest, WithoutAFileTheGatewaysListIsShownAndKept)
{
  ScriptServerList({{{"groupName", "同事"}, {"contacts", {{{"account", "li@example.com"}, {"name", "李四"}}}}},
                    {{"groupName", ""}, {"contacts", {{{"account", "13800138000"}, {"name", "Wang Wu"}}}}}});
  StartGateway();
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker);
  ASSERT_TRUE(RunUntil([&] { return picker->GetList() && picker->GetList()->GetContacts().size() == 2; }));
  EXPECT_TRUE(Called("box 6 正在获取联系人列表..."));
  EXPECT_FALSE(picker->GetList()->IsEmptyNoteVisible());

  std::vector<CContactGroup> groups;
  ASSERT_FALSE(CContactStore(kLogonId).Load(groups));
  ASSERT_EQ(2u, groups.size());
  EXPECT_EQ(u"同事", std::u16string(groups[0].name.GetString()));
  EXPECT_EQ(u"default", std::u16string(groups[1].name.GetString()));
  ASSERT_EQ(1u, groups[1].contacts.size());
  EXPECT_EQ(u"Wang Wu", std::u16string(groups[1].contacts[0].name.GetString()));
}

TEST_F(ContactPickerTest, AnEmptyGatewayListShowsTheNoteAndLeavesTheFile)
{
  ScriptServerList({{{"groupName", "同事"}, {"contacts", nlohmann::ordered_json::array()}}});
  StartGateway();
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker);
  ASSERT_TRUE(RunUntil([&] { return picker->GetList() && picker->GetList()->IsEmptyNoteVisible(); }));
  EXPECT_FALSE(IsWindowEnabled(picker->GetDlgItem(IDC_CONTACT_CHOOSE)));
  std::vector<CContactGroup> groups;
  EXPECT_TRUE(CContactStore(kLogonId).Load(groups)) << "no file was written";
}

TEST_F(ContactPickerTest, ARefusedGatewayListShowsTheMemoAndClosesThePicker)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
  gateway.script("queryContactLists", Reply::result(500, "系统繁忙"));
  StartGateway();
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker);
  ASSERT_TRUE(RunUntil([&] { return !picker->IsWindow(); }));
  EXPECT_EQ((std::vector<std::string>{"box 16 系统繁忙"}), Boxes());
  EXPECT_EQ(u"typed@example.com", AccountField());
}

TEST_F(ContactPickerTest, AnEndedSessionGoesToTheLoginWithTheUserCleared)
{
  gateway.script("queryTradeNum", Reply::success({{"totalCount", 0}}));
  gateway.script("queryContactLists", Reply::result(200, "会话已过期，请重新登录"));
  StartGateway();
  app.SetUserName(u"张三");
  app.SetGreeting(u"下午好");
  CContactPickDlg* picker = OpenPicker();
  ASSERT_TRUE(picker);
  ASSERT_TRUE(RunUntil([&] { return !picker->IsWindow(); }));
  EXPECT_EQ((std::vector<std::string>{"box 16 会话已过期，请重新登录"}), Boxes()) << "the memo in an error box";
  EXPECT_TRUE(Called("ShowLoginDlg"));
  EXPECT_TRUE(app.GetUserName().IsEmpty());
  EXPECT_TRUE(app.GetGreeting().IsEmpty());
  EXPECT_EQ(u"typed@example.com", AccountField());
  std::vector<CContactGroup> groups;
  EXPECT_TRUE(CContactStore(kLogonId).Load(groups)) << "no file was written";
}

TEST_F(ContactPickerTest, TheRechargeTakesTheChosenNumberAndACancelKeepsTheField)
{
  std::ofstream(root.path() + "/device.ini", std::ios::binary)
      << "[contact]\nname = 张三\nmobile = 13912345678\n";
  ui.Invoke([&] {
    phone = std::make_unique<CPhonePaymentDlg>();
    phone->ShowDialog(nullptr, 0, FALSE, TRUE);
    SetWindowTextW(phone->GetDlgItem(IDC_PHONEPAY_NUMBER), u"13800138000");
  });
  ASSERT_TRUE(kvtest::RunUntilIdle());
  HWND number = phone->GetDlgItem(IDC_PHONEPAY_NUMBER);
  for (int button : {IDCANCEL, IDOK}) {
    SCOPED_TRACE(button);
    ui.Post([&] { SendMessageW(phone->m_hWnd, WM_COMMAND, IDC_PHONEPAY_CONTACTS, 0); });
    HWND chooser = kvtest::WaitForTopLevelWindow(WC_DIALOG, u"选择联系人");
    ASSERT_TRUE(chooser);
    ASSERT_TRUE(kvtest::RunUntilIdle());
    ASSERT_TRUE(kvtest::TapWindow(GetDlgItem(chooser, button)));
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_EQ(button == IDOK ? u"13912345678" : u"13800138000", Text(number));
  }
}

}  // namespace
