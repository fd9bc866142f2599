#include "placeholder_dlg.h"

#include "app_services.h"
#include "ids.h"

int CPlaceholderDlg::GetTemplateId(int)
{
  return IDD_PLACEHOLDER;
}

int CPlaceholderDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == 1 ? IDB_BACKGROUND : IDB_BACKGROUND_LAND;
}

int CPlaceholderDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

int CPlaceholderDlg::GetSoftKey1Id()
{
  return IDC_DIALOG_SOFTKEY1;
}

int CPlaceholderDlg::GetSoftKey2Id()
{
  return IDC_DIALOG_SOFTKEY2;
}

int CPlaceholderDlg::GetCenterKeyId()
{
  return IDC_DIALOG_CENTER;
}

BOOL CPlaceholderDlg::BindControls(BOOL save, int)
{
  AttachSkinLabel(IDC_PLACEHOLDER_TEXT, m_noticeLabel, kControlLabel, save, -1, -1, 0);
  return TRUE;
}

LRESULT CPlaceholderDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // The window's text is the screen's name, so the screen is found by its title as the real one
  // would be; the base draws it into the title strip.
  SetWindowText(m_strScreenTitle);
  SetTitle(m_strScreenTitle, FALSE);
  SetSoftKeyTexts(u"返回", u"", FALSE);
  bHandled = FALSE;
  return 0;
}

LRESULT CPlaceholderDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (m_bEndsRun && app) {
    app->PostToActiveDialog(m_endCode);
    return 0;
  }
  CloseDialog(IDCANCEL, TRUE);
  return 0;
}
