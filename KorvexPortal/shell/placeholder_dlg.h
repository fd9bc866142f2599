// The stand-in for a screen that is not built yet: a skinned page titled with the screen's name
// and a notice, whose left soft key "返回" closes it. One that stands for the run's top window
// ends the run with its code instead.
#pragma once

#include "base_dlg.h"
#include "shell_ids.h"
#include "skin_label.h"
#include "text/cstring.h"

class CPlaceholderDlg : public CBaseDlg {
 public:
  explicit CPlaceholderDlg(const WCHAR* title) : m_strScreenTitle(title) {}

  // The left soft key ends the run with the code (through PostToActiveDialog) instead of only
  // closing the page.
  void SetEndsRun(int code)
  {
    m_bEndsRun = true;
    m_endCode = code;
  }

  int GetTemplateId(int) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  BOOL BindControls(BOOL save, int controlId) override;

  BEGIN_MSG_MAP(CPlaceholderDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDC_DIALOG_SOFTKEY1, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  CStringW m_strScreenTitle;
  bool m_bEndsRun = false;
  int m_endCode = 0;
  CSkinLabel m_noticeLabel;
};
