// The about dialog: the program's name and a few words about it over the skin, and the left soft
// key "返回" that closes it.
#pragma once

#include "base_dlg.h"
#include "shell_ids.h"
#include "skin_label.h"

class CAboutDlg : public CBaseDlg {
 public:
  int GetTemplateId(int) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;

  BEGIN_MSG_MAP(CAboutDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDC_DIALOG_SOFTKEY1, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  CSkinLabel m_textLabel;
};
