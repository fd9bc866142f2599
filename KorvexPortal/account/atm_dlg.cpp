#include "atm_dlg.h"

#include "atm_ids.h"
#include "ids.h"
#include "log_writer.h"
#include "selvane/selvane.h"
#include "window_helpers.h"

namespace {

constexpr int kCaptionItems[6] = {IDC_ATM_HOLDER_CAPTION, IDC_ATM_BANK_CAPTION,   IDC_ATM_TYPE_CAPTION,
                                  IDC_ATM_NO_CAPTION,     IDC_ATM_AMOUNT_CAPTION, IDC_ATM_PASSWORD_CAPTION};
constexpr int kValueItems[5] = {IDC_ATM_HOLDER, IDC_ATM_BANK, IDC_ATM_ACCOUNT_TYPE, IDC_ATM_ACCOUNT_NO, IDC_ATM_LIMIT};
constexpr COLORREF kFocusColour = 0xFF0000;
constexpr COLORREF kGreyCaption = 0x999999;
constexpr COLORREF kLimitColour = 0x0049FF;
constexpr COLORREF kHolderBackground = 0xF5F5F5;
constexpr int kAmountLimit = 12;
constexpr int kPasswordLimit = 0xFFFF;

}  // namespace

CAtmDlg::CAtmDlg() = default;
CAtmDlg::~CAtmDlg() = default;

void CAtmDlg::SetWithdrawInfo(const WCHAR* kept1, const WCHAR* kept2, const WCHAR* holder, const WCHAR* bank,
                              const WCHAR* accountType, const WCHAR* accountNo, const WCHAR* onceLimit)
{
  m_kept[0] = kept1 ? kept1 : u"";
  m_kept[1] = kept2 ? kept2 : u"";
  const WCHAR* values[5] = {holder, bank, accountType, accountNo, onceLimit};
  for (int i = 0; i < 5; ++i)
    m_valueTexts[i] = values[i] ? values[i] : u"";
}

int CAtmDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_ATM_LAND : IDD_ATM;
}

int CAtmDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? IDB_BACKGROUND_LAND : IDB_BACKGROUND;
}

int CAtmDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

int CAtmDlg::GetSoftKey1Id()
{
  return IDC_ATM_SUBMIT;
}

int CAtmDlg::GetSoftKey2Id()
{
  return IDC_ATM_CLOSE;
}

int CAtmDlg::GetCenterKeyId()
{
  return IDC_ATM_CENTER;
}

BOOL CAtmDlg::BindControls(BOOL save, int)
{
  if (save)
    return FALSE;
  for (int i = 0; i < 6; ++i)
    AttachSkinLabel(kCaptionItems[i], m_captions[i], kControlLabel, save, -1, -1, 0);
  for (int i = 0; i < 5; ++i) {
    AttachSkinLabel(kValueItems[i], m_values[i], kControlLabel, save, -1, -1, 0);
    SetDlgItemText(kValueItems[i], m_valueTexts[i]);
  }
  AttachSkinEdit(IDC_ATM_AMOUNT, m_amountEdit, kControlSkinEdit, save, kFocusColour);
  AttachSkinEdit(IDC_ATM_PASSWORD, m_passwordEdit, kControlSkinEdit, save, kFocusColour);
  return TRUE;
}

LRESULT CAtmDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  HWND amount = GetDlgItem(IDC_ATM_AMOUNT);
  HWND password = GetDlgItem(IDC_ATM_PASSWORD);
  if (!amount || !password)
    WRITE_LOG_ENTRY(u"");
  if (amount) {
    ::SendMessageW(amount, EM_LIMITTEXT, kAmountLimit, 0);
    DisableImeForWindow(amount);
  }
  if (password) {
    ::SendMessageW(password, EM_LIMITTEXT, kPasswordLimit, 0);
    DisableImeForWindow(password);
  }
  m_captions[0].SetTextColor(kGreyCaption);
  m_captions[1].SetTextColor(kGreyCaption);
  m_captions[2].SetTextColor(kGreyCaption);
  m_values[4].SetTextColor(kLimitColour);
  SetSoftKeyTexts(u"提交", u"关闭", FALSE);
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

void CAtmDlg::InitFocus()
{
  // The holder's name lies on its own light grey, whatever the base gave the labels.
  m_values[0].m_background.SetSource(kHolderBackground, true);
  ::InvalidateRect(m_values[0].m_hWnd, nullptr, TRUE);
  if (HWND password = GetDlgItem(IDC_ATM_PASSWORD))
    HelpMe(password);
  if (HWND amount = GetDlgItem(IDC_ATM_AMOUNT))
    ::SetFocus(amount);
}

LRESULT CAtmDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (HWND password = GetDlgItem(IDC_ATM_PASSWORD))
    FreeMe(password);
  bHandled = FALSE;
  return 0;
}

LRESULT CAtmDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CAtmDlg::OnCloseCommand(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}
