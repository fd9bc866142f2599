// The personal settings, information supplement, phone binding and withdrawal dialogs at each
// screen size, portrait and landscape, with the input panel down and up: the layout check of
// every screen and screenshots for a reviewer (build/test/screenshots/).
#include "account_screen_fixture.h"
#include "atm_dlg.h"
#include "bind_phone_dlg.h"
#include "layout_checks.h"
#include "personal_info_dlg.h"
#include "qtot_dlg.h"
#include "testing/screenshot.h"

using namespace accounttest;

namespace {

class AccountScreensLook : public paytest::PaymentScreenTest {
 protected:
  void DestroyScreens() override { screen.reset(); }
  // Shows the dialog, checks its layout, saves its pictures under the name and closes it.
  void Shoot(std::unique_ptr<CBaseDlg> dialog, const std::string& name)
  {
    ui.Invoke([&] {
      screen = std::move(dialog);
      screen->ShowDialog(nullptr, 0, FALSE, TRUE);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    kvtest::ExpectSoundLayout(ui, *screen, name);
    ui.Invoke([&] {
      kvtest::DestroyThreadWindows();
      DestroyScreens();
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }

  std::unique_ptr<CBaseDlg> screen;
};

TEST_F(AccountScreensLook, EachScreenAtEachSize)
{
  app.SetLogonId(u"zhangsan@example.com");
  app.SetUserName(u"张三");
  app.SetGreeting(u"春眠不觉晓");
  for (auto [width, height] : kvtest::kLookSizes) {
    std::string size = kvtest::SizeName(width, height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    auto personal = std::make_unique<CPersonalInfoDlg>();
    personal->SetBackKey(1);
    Shoot(std::move(personal), "personal_info_" + size);
    Shoot(std::make_unique<CQtoTDlg>(), "qtot_" + size);
    Shoot(std::make_unique<CBindPhoneDlg>(), "bind_phone_" + size);
    auto atm = std::make_unique<CAtmDlg>();
    atm->SetWithdrawInfo(u"", u"", u"张三", u"招商银行", u"借记卡", u"6225880123456789", u"50000.00");
    Shoot(std::move(atm), "withdrawal_" + size);
  }
}

}  // namespace
