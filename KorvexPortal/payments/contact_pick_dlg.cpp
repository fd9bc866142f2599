#include "contact_pick_dlg.h"

#include "contacts_ids.h"
#include "p2p_ids.h"
#include "resource_values.h"

namespace {

// The input panel's change, as the shell reports it.
constexpr WPARAM kSipChanged = 0xE0;

}  // namespace

CContactPickDlg::CContactPickDlg() = default;
CContactPickDlg::~CContactPickDlg() = default;

int CContactPickDlg::GetTemplateId(int)
{
  return IDD_CONTACT_PICK;
}

int CContactPickDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CContactPickDlg::GetLayoutStringId()
{
  return 132;
}

int CContactPickDlg::GetSoftKey1Id()
{
  return IDC_CONTACT_CHOOSE;
}

int CContactPickDlg::GetSoftKey2Id()
{
  return IDC_CONTACT_BACK;
}

int CContactPickDlg::GetCenterKeyId()
{
  return IDC_CONTACT_CENTER;
}

LRESULT CContactPickDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"选择联系人", FALSE);
  SetSoftKeyTexts(u"选择", u"返回", FALSE);
  bHandled = FALSE;
  return 0;
}

void CContactPickDlg::InitFocus()
{
  SetSoftKeyTexts(u"选择", nullptr, TRUE);
  ShowList(true);
}

void CContactPickDlg::ShowList(bool show)
{
  if (!show) {
    m_hFocus = ::GetFocus();
    if (m_pList && m_pList->IsWindow())
      m_pList->ShowWindow(SW_HIDE);
    return;
  }
  if (!m_pList) {
    m_pList = std::make_unique<CContactListDlg>();
    if (!m_pList->CreateIn(m_hWnd)) {
      m_pList.reset();
      return;
    }
  }
  PlaceList();
  m_pList->ShowWindow(SW_SHOW);
  if (HWND first = m_pList->GetFirstRow())
    ::SetFocus(first);
}

void CContactPickDlg::PlaceList()
{
  if (!m_pList || !m_pList->IsWindow())
    return;
  int top = LoadIntResource();
  int width = GetSystemMetrics(SM_CXSCREEN);
  int bottom = GetSystemMetrics(SM_CYSCREEN) - GetSystemMetrics(SM_CYCAPTION) - 30;
  m_pList->SetWindowPos(nullptr, 0, top, width, bottom > top ? bottom - top : 0, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CContactPickDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  PlaceList();
  bHandled = FALSE;
  return 0;
}

LRESULT CContactPickDlg::OnSettingChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (wParam == kSipChanged && m_pList && m_pList->IsWindow() && m_pList->IsWindowVisible())
    m_pList->PostMessage(message, wParam, lParam);
  bHandled = FALSE;
  return 0;
}

LRESULT CContactPickDlg::OnChoose(WORD, WORD, HWND, BOOL&)
{
  // The row's own account: a name or account with brackets in it cannot mislead the choice.
  CStringW account = m_pList ? m_pList->GetSelected().account : CStringW();
  if (!account.IsEmpty() && m_hOwner && ::IsWindow(m_hOwner))
    ::SetDlgItemTextW(m_hOwner, IDC_P2P_ACCOUNT, account);
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CContactPickDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}
