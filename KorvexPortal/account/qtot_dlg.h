// The information supplement dialog: an account that may log in but must first be completed
// gives the holder's full name and a payment password, sent as "qUserInfoSupplement"; once the
// gateway accepts them the account is enabled and the desktop opens.
#pragma once

#include "base_dlg.h"
#include "facade_request.h"
#include "owner_draw_ctrl_e.h"
#include "qtot_form_page.h"

// Handles the finished supplement request on the user-interface thread (posted to itself).
#define WM_KV_QTOT_DONE 0x62D

class CQtoTDlg : public CBaseDlg {
 public:
  CQtoTDlg();
  ~CQtoTDlg() override;

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;

  void InitFocus() override;
  // Up and Down move between the two fields while the form shows.
  BOOL PreTranslateMessage(MSG* pMsg) override;

  // The form page's window (null until the dialog has one).
  HWND GetFormWindow() const { return m_page.m_hWnd; }

  BEGIN_MSG_MAP(CQtoTDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_KV_QTOT_DONE, OnDone)
    COMMAND_ID_HANDLER(IDC_QTOT_BACK, OnBack)
    COMMAND_ID_HANDLER(IDC_QTOT_SAVE, OnSubmit)
    COMMAND_ID_HANDLER(IDC_QTOT_NAME, OnFieldFocus)
    COMMAND_ID_HANDLER(IDC_QTOT_PASSWORD, OnFieldFocus)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDone(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);
  LRESULT OnSubmit(WORD, WORD, HWND, BOOL&);
  LRESULT OnFieldFocus(WORD code, WORD id, HWND control, BOOL&);

  // Places the tab control across the screen under the title, and the page inside it.
  void PlaceTabAndPage();
  HWND PageItem(int id) const;

  COwnerDrawCtrlE m_tab;
  CQtoTFormPage m_page;
  CStringW m_strLogonId;
  CStringW m_strHolderName;
  // The answer of the last request, read by the posted handler.
  FacadeReply m_answer;
};
