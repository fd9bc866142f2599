#include "personal_info_dlg.h"

#include "app_services.h"
#include "ids.h"
#include "log_writer.h"
#include "personal_ids.h"

namespace {

constexpr COLORREF kDialogColour = 0xF7F7F7;
constexpr COLORREF kHintColour = 0x0000FF;
constexpr COLORREF kFocusColour = 0xFF0000;
constexpr int kGreetingLimit = 10;

}  // namespace

CPersonalInfoDlg::CPersonalInfoDlg() = default;

CPersonalInfoDlg::~CPersonalInfoDlg()
{
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
}

void CPersonalInfoDlg::SetBackKey(int flag)
{
  if (flag == m_nBackKey)
    return;
  m_nBackKey = flag;
  ApplyBackKey();
}

void CPersonalInfoDlg::ApplyBackKey()
{
  SetSoftKeyTexts(m_nBackKey ? u"返回" : u"", u"保存", m_hWnd != nullptr);
}

int CPersonalInfoDlg::GetTemplateId(int orientation)
{
  return orientation == -1 ? IDD_PERSONAL_LAND : IDD_PERSONAL;
}

int CPersonalInfoDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? IDB_BACKGROUND_LAND : IDB_BACKGROUND;
}

int CPersonalInfoDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

int CPersonalInfoDlg::GetSoftKey1Id()
{
  return IDC_PERSONAL_BACK;
}

int CPersonalInfoDlg::GetSoftKey2Id()
{
  return IDC_PERSONAL_SAVEKEY;
}

int CPersonalInfoDlg::GetCenterKeyId()
{
  return IDC_PERSONAL_CENTER;
}

BOOL CPersonalInfoDlg::BindControls(BOOL save, int)
{
  AttachUserNameLabel(IDC_PERSONAL_NAME, save, -1, -1);
  AttachAccountLabel(IDC_PERSONAL_ACCOUNT, save, -1, -1);
  AttachSkinLabel(IDC_PERSONAL_CAPTION, m_captionLabel, kControlLabel, save, -1, -1, 0);
  AttachSkinLabel(IDC_PERSONAL_NOTE, m_noteLabel, kControlLabel, save, IDB_PERSONAL_NOTE, IDB_PERSONAL_NOTE, 1);
  if (!save)
    AddLayoutItem(IDC_PERSONAL_HINT, &m_hHint);
  AttachSkinEdit(IDC_PERSONAL_GREETING, m_greetingEdit, kControlSkinEdit, save, kFocusColour);
  return TRUE;
}

LRESULT CPersonalInfoDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  HWND edit = GetDlgItem(IDC_PERSONAL_GREETING);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (edit) {
    ::SendMessageW(edit, EM_LIMITTEXT, kGreetingLimit, 0);
    ::SetWindowTextW(edit, app ? app->GetGreeting().GetString() : u"");
  } else {
    WRITE_LOG_ENTRY(u"PersonalInfoDlg: no greeting edit");
  }
  ApplyBackKey();
  if (!m_hBrush)
    m_hBrush = ::CreateSolidBrush(kDialogColour);
  bHandled = FALSE;  // on to the base, which binds the controls
  return 0;
}

void CPersonalInfoDlg::InitFocus()
{
  if (HWND edit = GetDlgItem(IDC_PERSONAL_GREETING))
    ::SetFocus(edit);
}

LRESULT CPersonalInfoDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) != IDC_PERSONAL_HINT || !m_hBrush) {
    bHandled = FALSE;
    return 0;
  }
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetTextColor(dc, kHintColour);
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CPersonalInfoDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_hBrush) {
    ::DeleteObject(m_hBrush);
    m_hBrush = nullptr;
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CPersonalInfoDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  if (!m_nBackKey)
    return 0;
  ShowWindow(SW_HIDE);
  CloseDialog(2, TRUE);
  return 0;
}

CStringW CPersonalInfoDlg::GreetingText() const
{
  WCHAR text[260] = {};
  ::GetDlgItemTextW(m_hWnd, IDC_PERSONAL_GREETING, text, 260);
  return text;
}
