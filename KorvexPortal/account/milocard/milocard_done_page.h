// Page D of the bank-card wizard: the application was sent; the chosen bank in the heavy font.
#pragma once

#include "milocard_ids.h"
#include "milocard_page.h"
#include "owner_draw_ctrl_c.h"

class CMilocardDonePage : public CMilocardPageT<CMilocardDonePage> {
 public:
  enum { IDD = IDD_MILOCARD_DONE };

  CMilocardDonePage()
  {
    m_ruleIds = {IDC_MILOCARD_DONE_LINE1, IDC_MILOCARD_DONE_LINE2, IDC_MILOCARD_DONE_LINE3, IDC_MILOCARD_DONE_LINE4};
    m_bTakesFocusWhenShown = true;
  }
  ~CMilocardDonePage() override;

  BEGIN_MSG_MAP(CMilocardDonePage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CMilocardPageT<CMilocardDonePage>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  void DeleteFont();

  COwnerDrawCtrlC m_lines[4];
  HFONT m_hHeavyFont = nullptr;
};
