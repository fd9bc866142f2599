// The base of the detail dialogs a list opens for one of its rows (a trade, a transaction):
// tabs made in code on the list screens' template, the common background and title strip,
// "返回" on the first soft key, and a soft-key menu without the list's commands.
#pragma once

#include "base_dlg.h"

class CTabDetailDlg : public CBaseDlg {
 public:
  enum { kBackKeyId = 133, kTabsId = 1005 };

  int GetTemplateId(int) override { return 208; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == -1 ? 0x419 : 0x418; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return kBackKeyId; }
  int GetSoftKey2Id() override { return 134; }
  int GetCenterKeyId() override { return 135; }

  BEGIN_MSG_MAP(CTabDetailDlg)
    MESSAGE_HANDLER(WM_KV_SOFTKEY_POPUP, OnSoftKeyPopup)
    COMMAND_ID_HANDLER(kBackKeyId, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnSoftKeyPopup(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);
};
