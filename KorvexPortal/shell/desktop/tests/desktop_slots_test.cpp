// The desktop's page slots with stub pages: which pages are closed and freed when another opens,
// the kept web pages, the card wizard's log-out and bind-phone reports, the exit question.
#include <atomic>
#include <set>

#include "desktop_fixture.h"
#include "shell_ids.h"

namespace desktoptest {
namespace {

// A page for any slot, made from the about dialog's template, that counts the stub pages alive.
class StubPage : public CBaseDlg {
 public:
  StubPage() { ++alive; }
  ~StubPage() override { --alive; }
  int GetTemplateId(int) override { return IDD_ABOUT; }
  static inline std::atomic<int> alive{0};
};

class DesktopSlotsTest : public DesktopTest {
 protected:
  void SetUp() override
  {
    DesktopTest::SetUp();
    customOpeners = std::make_unique<DesktopPageOpeners>();
    for (int slot = 0; slot < kDesktopSlotCount; ++slot) {
      customOpeners->open[slot] = [this, slot](CBaseDlg* kept, DesktopPageContext& context) -> CBaseDlg* {
        ++opened[slot];
        params[slot] = context.commandParam;
        CBaseDlg* page = kept ? kept : new StubPage;
        if (kept && kept->IsWindow())
          kept->CloseDialog(2, FALSE);
        page->ShowDialog(context.desktop, 0, FALSE, TRUE);
        context.logOut = slot == 6 && wizardLogsOut;
        context.bindPhone = slot == 6 && wizardBindsPhone;
        return page;
      };
    }
    app.SetLogonId(u"li@a.cn");
    app.SetUserName(u"李四");
    app.SetGreeting(u"你好");
    ShowDesktop();
  }
  void TearDown() override
  {
    DesktopTest::TearDown();
    EXPECT_EQ(0, StubPage::alive.load()) << "every page is freed with the desktop";
  }
  HWND PageWindow(DesktopSlot slot)
  {
    CBaseDlg* page = desktop->GetPage(slot);
    return page ? page->m_hWnd : nullptr;
  }
  void Open(DesktopSlot slot, LPARAM lParam = 0)
  {
    PostCommand(slot == DesktopSlot::kMessages ? 1078 : 4078 + static_cast<int>(slot), lParam);
  }

  int opened[kDesktopSlotCount] = {};
  LPARAM params[kDesktopSlotCount] = {};
  bool wizardLogsOut = false;
  bool wizardBindsPhone = false;
};

TEST_F(DesktopSlotsTest, AnotherPageClosesAndFreesThePreviousOne)
{
  Open(DesktopSlot::kAccountQuery);
  HWND account = PageWindow(DesktopSlot::kAccountQuery);
  ASSERT_TRUE(IsWindow(account));
  Open(DesktopSlot::kRechargeHost);
  EXPECT_FALSE(IsWindow(account));
  EXPECT_EQ(nullptr, desktop->GetPage(DesktopSlot::kAccountQuery));
  EXPECT_TRUE(IsWindowVisible(PageWindow(DesktopSlot::kRechargeHost)));
  EXPECT_EQ(static_cast<int>(DesktopSlot::kRechargeHost), desktop->GetCurrentSlot());
  EXPECT_EQ(1, StubPage::alive.load());
}

TEST_F(DesktopSlotsTest, TheSameEntryTwiceGivesAFreshPage)
{
  Open(DesktopSlot::kTransfer);
  CBaseDlg* first = desktop->GetPage(DesktopSlot::kTransfer);
  HWND firstWindow = first->m_hWnd;
  Open(DesktopSlot::kTransfer);
  EXPECT_FALSE(IsWindow(firstWindow));
  EXPECT_TRUE(IsWindowVisible(PageWindow(DesktopSlot::kTransfer)));
  EXPECT_EQ(2, opened[0]);
  EXPECT_EQ(1, StubPage::alive.load());
}

TEST_F(DesktopSlotsTest, WebCentreAndEntertainmentPagesAreKeptAndReused)
{
  for (DesktopSlot kept : {DesktopSlot::kWebCentre, DesktopSlot::kEntertainment}) {
    Open(kept);
    CBaseDlg* page = desktop->GetPage(kept);
    Open(DesktopSlot::kTradeQuery, 4);
    EXPECT_EQ(4, params[2]) << "the trade query's filter preset";
    EXPECT_TRUE(IsWindow(page->m_hWnd)) << "kept under the next page";
    Open(kept);
    EXPECT_EQ(page, desktop->GetPage(kept)) << "reused";
    EXPECT_EQ(nullptr, desktop->GetPage(DesktopSlot::kTradeQuery));
  }
  EXPECT_EQ(2, StubPage::alive.load());
}

TEST_F(DesktopSlotsTest, MessagesButtonOpensItsPage)
{
  Open(DesktopSlot::kPhoneRecharge);
  Open(DesktopSlot::kMessages);
  EXPECT_EQ(1, opened[9]);
  EXPECT_EQ(nullptr, desktop->GetPage(DesktopSlot::kPhoneRecharge));
  EXPECT_TRUE(IsWindowVisible(PageWindow(DesktopSlot::kMessages)));
}

TEST_F(DesktopSlotsTest, WizardLogOutClearsTheUserAndReturnsToLogin)
{
  Open(DesktopSlot::kAccountQuery);
  wizardLogsOut = true;
  Open(DesktopSlot::kCardWizard);
  EXPECT_EQ(nullptr, desktop->GetPage(DesktopSlot::kCardWizard));
  EXPECT_TRUE(app.GetUserName().IsEmpty());
  EXPECT_TRUE(app.GetGreeting().IsEmpty());
  EXPECT_EQ(std::vector<std::string>{"ShowLoginDlg"}, app.Calls());
  // No switch: the page opened before stays.
  EXPECT_TRUE(IsWindow(PageWindow(DesktopSlot::kAccountQuery)));
  EXPECT_EQ(static_cast<int>(DesktopSlot::kAccountQuery), desktop->GetCurrentSlot());
}

TEST_F(DesktopSlotsTest, WizardBindPhoneOpensThePhoneBinding)
{
  wizardBindsPhone = true;
  Open(DesktopSlot::kCardWizard);
  EXPECT_EQ(nullptr, desktop->GetPage(DesktopSlot::kCardWizard));
  EXPECT_TRUE(app.Calls().empty()) << "no main window: no binding";
  app.SetMainDialog(desktop.get());
  Open(DesktopSlot::kCardWizard);
  app.SetMainDialog(nullptr);
  EXPECT_EQ(std::vector<std::string>{"ShowBindPhoneDlg"}, app.Calls());
  EXPECT_EQ(u"李四", std::u16string(app.GetUserName().GetString()));
}

TEST_F(DesktopSlotsTest, ExitQuestionEndsTheRunOnlyOnOk)
{
  app.boxAnswer = KV_BOX_ANSWER_CANCEL;
  PostCommand(133);
  EXPECT_TRUE(app.Calls().empty());
  app.boxAnswer = KV_BOX_ANSWER_OK;
  PostCommand(133);
  EXPECT_EQ(std::vector<std::string>{"PostToActiveDialog(2)"}, app.Calls());
  auto boxes = app.Boxes();
  ASSERT_EQ(2u, boxes.size());
  EXPECT_EQ(static_cast<UINT>(KV_BOX_QUESTION), boxes[0].type);
  EXPECT_FALSE(boxes[0].text.empty()) << "the exit question's string";
}

TEST_F(DesktopSlotsTest, ReturnAfterATradePaymentShowsNothing)
{
  PostMessageW(desktop->m_hWnd, WM_KV_DESKTOP_RESULT, 0, 0);
  EXPECT_TRUE(kvtest::RunUntilIdle());
  EXPECT_TRUE(app.Boxes().empty());
}

}  // namespace
}  // namespace desktoptest
