#include "retired_dialogs.h"

#include <algorithm>

void CRetiredDialogs::Retire(std::unique_ptr<CBaseDlg> dialog, int closeResult)
{
  if (!dialog)
    return;
  if (dialog->m_hWnd && ::IsWindow(dialog->m_hWnd))
    dialog->CloseDialog(closeResult, FALSE);
  m_dialogs.push_back(std::move(dialog));
  Sweep();
}

void CRetiredDialogs::Sweep()
{
  std::erase_if(m_dialogs, [](const std::unique_ptr<CBaseDlg>& dialog) {
    return !IsDispatching(*dialog) && !(dialog->m_hWnd && ::IsWindow(dialog->m_hWnd));
  });
}
