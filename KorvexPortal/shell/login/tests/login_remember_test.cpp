// The remember boxes and the settings: the account and the password come back at the next login,
// the password stored only in its enciphered form, the boxes kept together, the warning once.
#include "gateway_address.h"
#include "ini_file.h"
#include "login_fixture.h"
#include "password_cipher.h"
#include "text_helpers.h"

using namespace logintest;
using testgateway::Reply;

namespace {

// The settings file's bytes, read through the device.
std::string FileBytes(const CStringW& path)
{
  HANDLE file = CreateFileW(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE)
    return {};
  std::string bytes(65536, '\0');
  DWORD read = 0;
  ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
  CloseHandle(file);
  bytes.resize(read);
  return bytes;
}

TEST_F(LoginTest, ARememberedAccountAndPasswordComeBackAtTheNextLogin)
{
  if (!SettingsWork())
    GTEST_SKIP() << "the application keeps no settings yet";
  gateway.script("login", Reply::success({{"logonId", "13912345678"}, {"mobileNo", "13900000000"}}));
  Open();
  Fill(u"13912345678", u"Secret88");
  SetChecked(IDC_LOGIN_REMEMBER_PASSWORD, true);
  ui.Invoke([&] { dialog->SendMessage(WM_COMMAND, IDC_LOGIN_REMEMBER_PASSWORD, 0); });
  Login();
  ASSERT_FALSE(IsWindow(dialog->m_hWnd));

  std::string file = FileBytes(app.GetConfigFile()->GetFileName());
  ASSERT_FALSE(file.empty()) << "the settings were saved";
  EXPECT_EQ(std::string::npos, file.find("Secret88"));
  CStringW plainBase64;
  ASSERT_TRUE(Base64EncodeString(u"Secret88", plainBase64));
  EXPECT_EQ(std::string::npos, file.find(Utf8(plainBase64))) << "the password is enciphered before it is stored";
  CStringW stored;
  ASSERT_TRUE(app.GetConfig(u"LastUserPassword", stored));
  EXPECT_NE(CStringW(u"Secret88"), stored);
  CPasswordCipher cipher;
  EXPECT_EQ(CStringW(u"Secret88"), cipher.Decrypt(stored));
  CStringW value;
  EXPECT_TRUE(app.GetConfig(u"mobileNO", value));
  EXPECT_EQ(CStringW(u"13900000000"), value);

  Open();
  EXPECT_EQ(u"13912345678", Text(Item(IDC_LOGIN_ACCOUNT)));
  EXPECT_TRUE(Checked(IDC_LOGIN_REMEMBER_ID));
  EXPECT_TRUE(Checked(IDC_LOGIN_REMEMBER_PASSWORD));
  EXPECT_EQ(u"Secret88", GuardedText(IDC_LOGIN_PASSWORD));
  EXPECT_NE(u"Secret88", Text(Item(IDC_LOGIN_PASSWORD))) << "the edit shows only the mask";
}

TEST_F(LoginTest, WithoutTheBoxesNothingIsRemembered)
{
  if (!SettingsWork())
    GTEST_SKIP() << "the application keeps no settings yet";
  app.SetConfig(u"LastUserId", u"13912345678");
  app.SetConfig(u"LastUserPassword", CPasswordCipher().Encrypt(u"Secret88"));
  app.SetConfig(u"RememberId", u"1");
  app.SetConfig(u"RememberPassword", u"1");
  gateway.script("login", Reply::success({{"logonId", "13912345678"}}));
  Open();
  Fill(u"13912345678", u"Secret88");
  SetChecked(IDC_LOGIN_REMEMBER_PASSWORD, false);
  SetChecked(IDC_LOGIN_REMEMBER_ID, false);
  Login();
  const char16_t* keys[][2] = {
      {u"LastUserId", u""}, {u"RememberId", u"0"}, {u"LastUserPassword", u""}, {u"RememberPassword", u"0"}};
  for (auto& key : keys) {
    CStringW value(u"unchanged");
    EXPECT_TRUE(app.GetConfig(key[0], value));
    EXPECT_EQ(CStringW(key[1]), value) << Narrow(key[0]);
  }
}

TEST_F(LoginTest, AStoredPasswordThatDoesNotDecipherLeavesThePasswordEmpty)
{
  if (!SettingsWork())
    GTEST_SKIP() << "the application keeps no settings yet";
  app.SetConfig(u"LastUserPassword", u"not a cipher");
  Open();
  EXPECT_EQ(u"", GuardedText(IDC_LOGIN_PASSWORD));
}

TEST_F(LoginTest, ThePasswordIsRememberedOnlyWithItsAccountAndTheWarningComesOnce)
{
  Open();
  auto click = [&](int id, bool checked) {
    SetChecked(id, checked);
    ui.Invoke([&] { dialog->SendMessage(WM_COMMAND, static_cast<WPARAM>(id), 0); });
  };
  click(IDC_LOGIN_REMEMBER_PASSWORD, true);
  EXPECT_TRUE(Checked(IDC_LOGIN_REMEMBER_ID));
  click(IDC_LOGIN_REMEMBER_ID, false);
  EXPECT_TRUE(Checked(IDC_LOGIN_REMEMBER_ID)) << "the account stays remembered with the password";
  click(IDC_LOGIN_REMEMBER_PASSWORD, false);
  click(IDC_LOGIN_REMEMBER_ID, false);
  EXPECT_FALSE(Checked(IDC_LOGIN_REMEMBER_ID));
  click(IDC_LOGIN_REMEMBER_PASSWORD, true);

  std::vector<std::string> calls = app.Calls();
  ASSERT_EQ(1u, calls.size()) << "the warning comes once a run";
  std::string warning = "box(64,  温馨提醒：如果手机丢失，请登录https://" + Utf8(GetGatewayHost()) + "修改您的登录密码。)";
  EXPECT_EQ(warning, calls[0]);
}

}  // namespace
