// The form page of the information supplement: the account, the holder's full name and the
// payment password, on a scrolling form inside the dialog's tab. Focus changes of the two edits
// go up to the dialog, which keeps the edited field above the input panel.
#pragma once

#include <memory>

#include "atl/atl.h"
#include "hint_edit.h"
#include "qtot_ids.h"
#include "scroll_form.h"

class CQtoTFormPage : public CDialogImpl<CQtoTFormPage> {
 public:
  enum { IDD = IDD_QTOT_FORM };

  CQtoTFormPage();
  ~CQtoTFormPage() override;

  BEGIN_MSG_MAP(CQtoTFormPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnRelayout)
    MESSAGE_HANDLER(WM_PAINT, OnRelayout)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    REFLECT_NOTIFICATIONS()
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnRelayout(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  CHintEdit m_nameEdit;
  CHintEdit m_passwordEdit;
  std::unique_ptr<CScrollForm> m_scrollForm;
  HBRUSH m_hBrush = nullptr;
};
