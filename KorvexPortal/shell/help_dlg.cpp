#include "help_dlg.h"

#include "app_services.h"
#include "help_ids.h"
#include "ids.h"
#include "kernel/module.h"

int CHelpDlg::GetTemplateId(int)
{
  return IDD_HELP;
}

int CHelpDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == 1 ? IDB_BACKGROUND : IDB_BACKGROUND_LAND;
}

int CHelpDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

int CHelpDlg::GetSoftKey1Id()
{
  return IDC_DIALOG_SOFTKEY1;
}

int CHelpDlg::GetSoftKey2Id()
{
  return IDC_DIALOG_SOFTKEY2;
}

int CHelpDlg::GetCenterKeyId()
{
  return IDC_DIALOG_CENTER;
}

LRESULT CHelpDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"帮助", FALSE);
  SetSoftKeyTexts(u"返回", u"", FALSE);
  m_viewer = ::CreateWindowExW(0, DISPLAYCLASS, u"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, m_hWnd, nullptr, nullptr,
                               nullptr);
  CKorvexPortalApp* app = GetKorvexPortalApp();
  WCHAR path[MAX_PATH + 1] = {};
  // Without the library's file name the viewer stays empty.
  if (m_viewer && app && app->GetResourceLibrary() &&
      ::GetModuleFileNameW(app->GetResourceLibrary(), path, MAX_PATH) != 0) {
    CStringW url;
    url.Format(u"res://%s/%d", path, IDR_HELP_PAGE);
    ::SendMessageW(m_viewer, DTM_NAVIGATE, 0, reinterpret_cast<LPARAM>(url.GetString()));
  }
  bHandled = FALSE;
  return 0;
}

void CHelpDlg::FitViewer()
{
  if (!m_viewer)
    return;
  int width = ::GetSystemMetrics(SM_CXSCREEN);
  int height = ::GetSystemMetrics(SM_CYSCREEN) - m_bottomBarHeight - m_titleHeight;
  ::MoveWindow(m_viewer, 0, m_titleHeight, width, height > 0 ? height : 0, TRUE);
}

LRESULT CHelpDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  FitViewer();
  bHandled = FALSE;
  return 0;
}

LRESULT CHelpDlg::OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam == SETTINGCHANGE_RESET) {
    FitViewer();
    return 0;
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CHelpDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_viewer && ::IsWindow(m_viewer))
    ::DestroyWindow(m_viewer);
  m_viewer = nullptr;
  bHandled = FALSE;
  return 0;
}

LRESULT CHelpDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(IDCANCEL, TRUE);
  return 0;
}
