#include "tab_detail_dlg.h"

LRESULT CTabDetailDlg::OnSoftKeyPopup(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // The list's commands have no place here.
  if (HMENU popup = m_hMenu ? ::GetSubMenu(m_hMenu, 0) : nullptr)
    for (UINT command : {ID_KV_OPENITEM, ID_KV_NEXTPAGE, ID_KV_PREVPAGE, ID_KV_FOCUSFILTER})
      ::DeleteMenu(popup, command, MF_BYCOMMAND);
  bHandled = FALSE;
  return 0;
}

LRESULT CTabDetailDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}
