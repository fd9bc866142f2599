// The page a desktop entry opens while its function is not available yet: the entry's name as
// its title, a short notice and "返回" on the left soft key, which closes it.
#pragma once

#include "base_dlg.h"

class CDesktopPlaceholderPage : public CBaseDlg {
 public:
  explicit CDesktopPlaceholderPage(const CStringW& title) : m_title(title) {}

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override { return orientation == 1 ? 0x418 : 0x419; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return 133; }
  int GetSoftKey2Id() override { return 134; }

  BEGIN_MSG_MAP(CDesktopPlaceholderPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(133, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  CStringW m_title;
};
