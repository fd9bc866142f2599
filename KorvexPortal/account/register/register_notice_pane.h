// The notice inside the activation page's tab: how to activate the new account, on a light
// grey ground.
#pragma once

#include "atl/atl.h"
#include "register_ids.h"

class CRegisterNoticePane : public CDialogImpl<CRegisterNoticePane> {
 public:
  enum { IDD = IDD_REGISTER_NOTICE };

  CRegisterNoticePane() = default;
  ~CRegisterNoticePane() override;
  CRegisterNoticePane(const CRegisterNoticePane&) = delete;
  CRegisterNoticePane& operator=(const CRegisterNoticePane&) = delete;

  BEGIN_MSG_MAP(CRegisterNoticePane)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM, BOOL&);
  // The notice keeps its margins inside the pane, however wide the screen.
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  void DeleteBrush();

  HWND m_hText = nullptr;
  HBRUSH m_hBrush = nullptr;
};
