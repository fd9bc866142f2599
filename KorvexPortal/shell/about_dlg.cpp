#include "about_dlg.h"

#include "ids.h"

int CAboutDlg::GetTemplateId(int)
{
  return IDD_ABOUT;
}

int CAboutDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == 1 ? IDB_BACKGROUND : IDB_BACKGROUND_LAND;
}

int CAboutDlg::GetLayoutStringId()
{
  return IDS_LAYOUT;
}

int CAboutDlg::GetSoftKey1Id()
{
  return IDC_DIALOG_SOFTKEY1;
}

int CAboutDlg::GetSoftKey2Id()
{
  return IDC_DIALOG_SOFTKEY2;
}

int CAboutDlg::GetCenterKeyId()
{
  return IDC_DIALOG_CENTER;
}

BOOL CAboutDlg::BindControls(BOOL save, int)
{
  AttachSkinLabel(IDC_ABOUT_TEXT, m_textLabel, kControlLabel, save, -1, -1, 0);
  return TRUE;
}

LRESULT CAboutDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetSoftKeyTexts(u"返回", u"", FALSE);
  bHandled = FALSE;
  return 0;
}

LRESULT CAboutDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(IDCANCEL, TRUE);
  return 0;
}
