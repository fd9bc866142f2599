// The help dialog: the program's help page, an HTML page of the screen-size resource library,
// in the HTML viewer below the title; the left soft key "返回" closes it.
#pragma once

#include "base_dlg.h"
#include "html/html_viewer.h"
#include "shell_ids.h"

class CHelpDlg : public CBaseDlg {
 public:
  int GetTemplateId(int) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  BOOL HasSecondLabel() override { return FALSE; }
  // The bars are measured by now: the viewer takes its place.
  void InitFocus() override { FitViewer(); }

  // The viewer's window, null while the dialog has none.
  HWND GetViewer() const { return m_viewer; }

  BEGIN_MSG_MAP(CHelpDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDC_DIALOG_SOFTKEY1, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);
  // The viewer fills the screen between the title and the soft-key bar.
  void FitViewer();

  HWND m_viewer = nullptr;
};
