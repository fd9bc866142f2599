// The registration form's tests: the payment screens' fixture (test gateway over HTTPS, the
// client's resource libraries, a recording application), the form opened with the gateway's key
// and a check-code picture, and the typing of its fields.
#pragma once

#include <memory>
#include <string>

#include "bitmap_file.h"
#include "check_code_bitmap.h"
#include "crypt/base64.h"
#include "payment_screen_fixture.h"
#include "register_dlg.h"
#include "selvane/selvane.h"
#include "shell/sip.h"

namespace regtest {

using kvtest::RunUntil;

using paytest::Wide;

// The Base64 text of a bitmap file.
inline std::string ImageBase64(const std::string& file)
{
  int length = Base64EncodeGetRequiredLength(static_cast<int>(file.size()), ATL_BASE64_FLAG_NOCRLF);
  std::string text(static_cast<size_t>(length), '\0');
  Base64Encode(reinterpret_cast<const BYTE*>(file.data()), static_cast<int>(file.size()), text.data(), &length,
               ATL_BASE64_FLAG_NOCRLF);
  text.resize(static_cast<size_t>(length));
  return text;
}

// What the user types into the form.
struct Form {
  std::u16string phone = u"13912345678";
  std::u16string realName = u"张三";
  std::u16string loginPassword = u"abc123xyz";
  std::u16string payPassword = u"pay456qwe";
  std::u16string checkCode = u"A1b2";
};

class RegisterTest : public paytest::PaymentScreenTest {
 protected:
  // The gateway runs from the start; each test scripts it as it goes.
  void SetUp() override
  {
    paytest::PaymentScreenTest::SetUp();
    StartGateway();
  }
  void DestroyScreens() override { dialog.reset(); }

  // Opens the form over a recording opener with the gateway's key and a picture.
  void Open()
  {
    stamp = gateway.key().issueTimeStamp();
    opener = nullptr;
    std::u16string key = Wide(gateway.key().publicKeyText());
    std::u16string ts = Wide(stamp);
    ui.Invoke([&] {
      dialog = std::make_unique<CRegisterDlg>();
      HBITMAP picture = CheckCodeBitmapFromBase64(CStringW(Wide(ImageBase64(kvtest::BmpFile(30, 12, RGB(200, 40, 40)))).c_str()));
      dialog->SetKeyInfo(key.c_str(), ts.c_str(), picture);
      dialog->ShowDialog(opener, 0, FALSE, TRUE);
      SipShowIM(SIPF_OFF);
    });
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  HWND Item(int id) { return GetDlgItem(dialog->m_hWnd, id); }
  // Types the form: plain fields set directly, the guarded passwords typed key by key.
  void Fill(const Form& form)
  {
    ui.Invoke([&] {
      for (int id : {IDC_REGISTER_LOGINPASSWORD, IDC_REGISTER_PAYPASSWORD}) {
        SetWindowTextW(Item(id), u"");
        ClearInputForMe(Item(id));
      }
      SetWindowTextW(Item(IDC_REGISTER_PHONE), form.phone.c_str());
      SetWindowTextW(Item(IDC_REGISTER_REALNAME), form.realName.c_str());
      SetWindowTextW(Item(IDC_REGISTER_CHECKCODE), form.checkCode.c_str());
    });
    TypeInto(IDC_REGISTER_LOGINPASSWORD, form.loginPassword);
    TypeInto(IDC_REGISTER_PAYPASSWORD, form.payPassword);
  }
  void TypeInto(int id, const std::u16string& text)
  {
    if (text.empty())
      return;
    HWND edit = Item(id);
    ui.Invoke([&] { SetFocus(edit); });
    ASSERT_TRUE(kvtest::TypeText(text));
  }
  // Presses a soft key (with the notification code) and runs until the form is idle again.
  void Command(int id, WORD code = 0)
  {
    PostMessageW(dialog->m_hWnd, WM_COMMAND, MAKEWPARAM(id, code), 0);
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  // Submits and returns once the outcome is shown: a box other than the wait, or the
  // activation page.
  void Submit()
  {
    app.ClearCalls();
    PostMessageW(dialog->m_hWnd, WM_COMMAND, IDC_REGISTER_SUBMIT, 0);
    ASSERT_TRUE(RunUntil([&] { return !Boxes().empty() || FormPageShown(); }));
    ASSERT_TRUE(kvtest::RunUntilIdle());
  }
  bool FormPageShown()
  {
    HWND page = dialog->GetFormPage().m_hWnd;
    return page && IsWindow(page) && IsWindowVisible(page);
  }
  std::u16string Text(int id) { return paytest::PaymentScreenTest::Text(Item(id)); }

  HWND opener = nullptr;
  std::string stamp;
  std::unique_ptr<CRegisterDlg> dialog;
};

}  // namespace regtest
