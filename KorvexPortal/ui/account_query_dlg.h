// The account statement page of the account tab control: a child window of the control that
// the account screens create as its fifth page. For now it is an empty window; the account
// screens give it its content.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class CAccountQueryDlg : public CWindowImpl<CAccountQueryDlg> {
 public:
  DECLARE_WND_CLASS(u"KvAccountQuery")

  BEGIN_MSG_MAP(CAccountQueryDlg)
  END_MSG_MAP()
};
