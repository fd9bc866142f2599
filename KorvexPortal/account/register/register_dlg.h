// The registration form: the mobile number, the real name, the login and pay passwords (under the
// secure-input guard), the check code with the gateway's picture and the agreement box. The
// submit checks the fields, encrypts both passwords under the gateway's key and sends "register";
// success shows the activation page, a refusal clears the secrets and takes the fresh key and
// picture the reply brings. Leaving a form with something typed asks first.
#pragma once

#include "base_dlg.h"
#include "hint_edit.h"
#include "register_form_dlg.h"
#include "register_ids.h"
#include "skin_label.h"

// The reply of "register" (wParam: the HTTP result, lParam: the reply slot).
#define WM_KV_REGISTER_REPLY 0x621

class CResponseMap;

class CRegisterDlg : public CBaseDlg {
 public:
  // The leave command's notification code that closes the form without asking.
  static constexpr WORD kLeaveWithoutAsking = 255;

  CRegisterDlg();
  ~CRegisterDlg() override;

  // The gateway's key, its time stamp and the check-code picture, which the form owns from now
  // on (a picture it held before is deleted). Shown at once when the form is open.
  void SetKeyInfo(const CStringW& publicKey, const CStringW& timeStamp, HBITMAP checkCode);

  int GetTemplateId(int orientation) override { return orientation == -1 ? IDD_REGISTER_LAND : IDD_REGISTER; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == -1 ? 0x419 : 0x418; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return IDC_REGISTER_LEAVE; }
  int GetSoftKey2Id() override { return IDC_REGISTER_SUBMIT; }

  BOOL BindControls(BOOL save, int controlId) override;
  // Guards both passwords and focuses the mobile number.
  void InitFocus() override;

  // For the opener and tests: the key material and the picture held now, and the agreement
  // flag of the last submit.
  const CStringW& GetPublicKey() const { return m_strRsaPK; }
  const CStringW& GetTimeStamp() const { return m_strRsaTS; }
  HBITMAP GetCheckCodeBitmap() const { return m_hCheckCode; }
  int GetAgreementFlag() const { return m_nAgreed; }
  // Whether a typed password is still held in plain text (both are wiped once encrypted).
  bool HoldsPlainPasswords() const { return !m_strLoginPassword.IsEmpty() || !m_strPayPassword.IsEmpty(); }
  CRegisterFormDlg& GetFormPage() { return m_formDlg; }

  BEGIN_MSG_MAP(CRegisterDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_CTLCOLORBTN, OnCtlColorButton)
    COMMAND_ID_HANDLER(IDC_REGISTER_LEAVE, OnLeave)
    COMMAND_ID_HANDLER(IDC_REGISTER_SUBMIT, OnSubmit)
    MESSAGE_HANDLER(WM_KV_REGISTER_REPLY, OnRegisterReply)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  // The agreement box paints on the form's ground.
  LRESULT OnCtlColorButton(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnLeave(WORD code, WORD, HWND, BOOL&);
  LRESULT OnSubmit(WORD, WORD, HWND, BOOL&);
  LRESULT OnRegisterReply(UINT, WPARAM wParam, LPARAM lParam, BOOL&);

  // Reads the fields into the members, both passwords included.
  void ReadFields();
  // Encrypts both passwords and sends "register" behind the wait box.
  void SendRegister();
  // After a refusal: a new key and picture when the reply brings all three.
  void TakeNewKeyMaterial(const CResponseMap& reply);
  // Empties both password edits (with their guarded contents) and the check-code edit.
  void ClearSecretFields();
  // Wipes the plain passwords kept from the last read.
  void WipePlainPasswords();
  // Shows the picture stretched by the screen's whole horizontal factor.
  void ShowCheckCode();
  int ShowBox(const CStringW& text, UINT type, int afterShow = SW_HIDE);
  HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }

  CHintEdit m_phoneEdit{true};
  CHintEdit m_realNameEdit;
  CHintEdit m_loginPasswordEdit;
  CHintEdit m_payPasswordEdit;
  CHintEdit m_checkCodeEdit;
  CSkinLabel m_checkCodeLabel;
  CSkinLabel m_captions[6];

  CStringW m_strPhone;
  CStringW m_strRealName;
  CStringW m_strLoginPassword;
  CStringW m_strPayPassword;
  CStringW m_strCheckCode;
  CStringW m_strRsaPK;
  CStringW m_strRsaTS;
  CStringW m_strEncryptedLoginPassword;
  CStringW m_strEncryptedPayPassword;
  HBITMAP m_hCheckCode = nullptr;
  HBRUSH m_hFormBrush = nullptr;
  int m_nAgreed = 0;
  bool m_bGuarded = false;
  CRegisterFormDlg m_formDlg;
};
