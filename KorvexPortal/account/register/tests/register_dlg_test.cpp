// The registration form against the test gateway: the agreement and the field checks, the
// request with both passwords under the gateway's key, the activation page, a refusal with and
// without fresh key material, and the leave question.
#include "register_fixture.h"
#include "testing/screenshot.h"

using namespace regtest;
using testgateway::Reply;

namespace {

std::string Narrow(const std::u16string& text)
{
  return kvtest::Narrow(text.c_str());
}

TEST_F(RegisterTest, TheAgreementStartsCheckedAndASuccessShowsTheActivationPage)
{
  gateway.script("register", Reply::success());
  Open();
  EXPECT_EQ(BST_CHECKED, SendMessageW(Item(IDC_REGISTER_AGREE), BM_GETCHECK, 0, 0));
  Form form;
  Fill(form);
  Submit();
  EXPECT_TRUE(Boxes().empty()) << testing::PrintToString(Boxes());

  auto sent = gateway.waitForRequest("register");
  ASSERT_TRUE(sent && sent->json);
  std::vector<std::string> keys;
  for (auto& member : sent->json->items())
    keys.push_back(member.key());
  EXPECT_EQ((std::vector<std::string>{"operationType", "clientID", "phoneNO", "realName", "checkCode", "loginPassword",
                                      "payPassword"}),
            keys);
  CStringW clientId;
  app.JoinPair(clientId);
  EXPECT_EQ(kvtest::Narrow(clientId.GetString()), sent->field("clientID"));
  EXPECT_EQ("13912345678", sent->field("phoneNO"));
  EXPECT_EQ("张三", sent->field("realName"));
  EXPECT_EQ("A1b2", sent->field("checkCode"));
  for (auto [key, typed] : {std::pair{"loginPassword", form.loginPassword}, std::pair{"payPassword", form.payPassword}}) {
    auto plain = gateway.key().decryptPassword(sent->field(key), stamp);
    ASSERT_TRUE(plain) << key;
    EXPECT_EQ(Narrow(typed), plain->password) << key;
  }

  ASSERT_TRUE(FormPageShown());
  EXPECT_EQ(u"账户注册", std::u16string(dialog->GetFormPage().GetTitle().GetString()));
  EXPECT_FALSE(paytest::PaymentScreenTest::Text(GetDlgItem(dialog->GetFormPage().GetNoticeWindow(),
                                                           IDC_REGISTER_NOTICE_TEXT))
                   .empty());
  EXPECT_TRUE(Boxes().empty());

  // "完成注册" from the page's menu ends the registration without the leave question, although
  // the form still holds the typed fields.
  app.ClearCalls();
  PostMessageW(dialog->GetFormPage().m_hWnd, WM_COMMAND, ID_KV_REGISTER_DONE, 0);
  ASSERT_TRUE(RunUntil([&] { return !IsWindow(dialog->m_hWnd); }));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(RegisterTest, ThePlainPasswordsAreWipedOnceEncrypted)
{
  gateway.script("register", Reply::stall(Reply::result(120, "验证码不正确")));
  Open();
  Form form;
  Fill(form);
  PostMessageW(dialog->m_hWnd, WM_COMMAND, IDC_REGISTER_SUBMIT, 0);
  ASSERT_TRUE(gateway.waitForRequest("register"));
  // The request is out and its answer still to come: only the encrypted forms are held.
  bool held = true;
  ui.Invoke([&] { held = dialog->HoldsPlainPasswords(); });
  EXPECT_FALSE(held);
  gateway.releaseStalled();
  ASSERT_TRUE(RunUntil([&] { return !Boxes().empty(); }));
}

TEST_F(RegisterTest, ARefusalClearsTheSecretsAndTakesFreshKeyMaterialOnlyWhenAllOfItCame)
{
  struct Case {
    const char* name;
    bool newMaterial;
  };
  for (const Case& c : {Case{"with new key, stamp and picture", true}, Case{"with the memo only", false}}) {
    SCOPED_TRACE(c.name);
    gateway.clearScripts();
    gateway.clearRequests();
    std::string newStamp = gateway.key().issueTimeStamp();
    nlohmann::ordered_json refusal = {{"resultStatus", 120}, {"memo", "验证码不正确"}};
    if (c.newMaterial) {
      refusal["rsaPK"] = gateway.key().publicKeyText();
      refusal["rsaTS"] = newStamp;
      refusal["checkCode"] = ImageBase64(kvtest::BmpFile(30, 12, RGB(40, 40, 200)));
    }
    gateway.scriptSequence("register", {Reply::json(refusal), Reply::success()});
    Open();
    HBITMAP before = dialog->GetCheckCodeBitmap();
    Form form;
    Fill(form);
    Submit();
    EXPECT_EQ(std::vector<std::string>{"box 16 验证码不正确"}, Boxes());
    EXPECT_EQ(u"", Text(IDC_REGISTER_LOGINPASSWORD));
    EXPECT_EQ(u"", Text(IDC_REGISTER_PAYPASSWORD));
    EXPECT_EQ(u"", Text(IDC_REGISTER_CHECKCODE));
    EXPECT_EQ(u"13912345678", Text(IDC_REGISTER_PHONE));
    std::string expectedStamp = c.newMaterial ? newStamp : stamp;
    EXPECT_EQ(Wide(expectedStamp), std::u16string(dialog->GetTimeStamp().GetString()));
    EXPECT_FALSE(dialog->GetPublicKey().IsEmpty());
    EXPECT_NE(nullptr, dialog->GetCheckCodeBitmap());
    EXPECT_EQ(!c.newMaterial, dialog->GetCheckCodeBitmap() == before);

    // The next attempt goes out under the key held now.
    Fill(form);
    Submit();
    auto second = gateway.waitForRequest("register", 2);
    ASSERT_TRUE(second);
    auto plain = gateway.key().decryptPassword(second->field("payPassword"), expectedStamp);
    ASSERT_TRUE(plain);
    EXPECT_EQ(Narrow(form.payPassword), plain->password);
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); dialog.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

TEST_F(RegisterTest, LeavingAsksOnlyWhenSomethingWasTyped)
{
  struct Case {
    const char* name;
    Form form;
    WORD code;
    int answer;
    bool asked;
    bool closed;
  };
  Form nameOnly{u"", u"张三", u"", u"", u""};
  Form passwordOnly{u"", u"", u"", u"abc123", u""};
  const Case cases[] = {
      {"name only, OK", nameOnly, 0, KV_BOX_ANSWER_OK, true, true},
      {"pay password only, cancel", passwordOnly, 0, KV_BOX_ANSWER_CANCEL, true, false},
      {"nothing typed", Form{u"", u"", u"", u"", u""}, 0, KV_BOX_ANSWER_OK, false, true},
      {"from the activation page", nameOnly, CRegisterDlg::kLeaveWithoutAsking, KV_BOX_ANSWER_CANCEL, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Open();
    Fill(c.form);
    app.ClearCalls();
    app.answer = c.answer;
    Command(IDC_REGISTER_LEAVE, c.code);
    std::vector<std::string> question;
    if (c.asked)
      question.push_back("box 65 您确定要离开注册页面吗？填写信息将会丢失。");
    EXPECT_EQ(question, Boxes());
    EXPECT_EQ(!c.closed, IsWindow(dialog->m_hWnd) != FALSE);
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); dialog.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

TEST_F(RegisterTest, TheAgreementAndEachFieldAreCheckedBeforeAnythingIsSent)
{
  struct Case {
    const char* name;
    bool agree;
    Form form;
    const char16_t* message;
  };
  auto with = [](auto change) {
    Form form;
    change(form);
    return form;
  };
  const Case cases[] = {
      {"agreement unchecked", false, Form{}, u"请选择同意注册协议！"},
      {"no mobile number", true, with([](Form& f) { f.phone.clear(); }), u"手机号码不能为空！"},
      {"bad mobile number", true, with([](Form& f) { f.phone = u"12345678901"; }), u"手机号码输入不正确！"},
      {"no name", true, with([](Form& f) { f.realName.clear(); }), u"用户名不能为空！"},
      {"weak login password", true, with([](Form& f) { f.loginPassword = u"12345678"; }),
       u"登录密码不能使用纯数字或连续的英文字母。"},
      {"no pay password", true, with([](Form& f) { f.payPassword.clear(); }), u"支付密码不能为空！"},
      {"check code of three", true, with([](Form& f) { f.checkCode = u"A1b"; }), u"验证码必须为4位！"},
  };
  Open();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Fill(c.form);
    ui.Invoke([&] { SendMessageW(Item(IDC_REGISTER_AGREE), BM_SETCHECK, c.agree ? BST_CHECKED : BST_UNCHECKED, 0); });
    Submit();
    EXPECT_EQ(std::vector<std::string>{"box 71 " + Narrow(c.message)}, Boxes());
    EXPECT_EQ(c.agree ? 1 : 0, dialog->GetAgreementFlag());
  }
  EXPECT_TRUE(gateway.requestsOf("register").empty());
}

}  // namespace

namespace {

TEST_F(RegisterTest, TheFormAndTheActivationPageAtEachSize)
{
  gateway.script("register", Reply::success());
  for (auto [width, height] :
       {std::pair{240, 320}, std::pair{480, 640}, std::pair{320, 240}, std::pair{640, 480}}) {
    std::string size = std::to_string(width) + "x" + std::to_string(height);
    SCOPED_TRACE(size);
    UseLibrary(width, height);
    Open();
    Fill(Form{});
    ui.Invoke([&] { SetFocus(Item(IDC_REGISTER_PHONE)); SipShowIM(SIPF_OFF); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
    EXPECT_FALSE(kvtest::SaveScreenshot("register_form_" + size).empty());
    Submit();
    ASSERT_TRUE(FormPageShown());
    EXPECT_FALSE(kvtest::SaveScreenshot("register_activation_" + size).empty());
    ui.Invoke([&] { kvtest::DestroyThreadWindows(); dialog.reset(); });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
}

}  // namespace
