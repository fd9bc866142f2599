// The contact picker over the transfer dialog: the contact list as a child below the title;
// "选择" puts the chosen contact's account into the transfer dialog's account field.
#pragma once

#include <memory>

#include "base_dlg.h"
#include "contact_list_dlg.h"

class CContactPickDlg : public CBaseDlg {
 public:
  CContactPickDlg();
  ~CContactPickDlg() override;

  // The transfer dialog, whose account field (item 1015) receives the choice.
  void SetOwner(HWND owner) { m_hOwner = owner; }
  CContactListDlg* GetList() const { return m_pList.get(); }

  // Shows the list (made on first use) or hides it.
  void ShowList(bool show);

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  int GetCenterKeyId() override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CContactPickDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    COMMAND_ID_HANDLER(1152, OnChoose)
    COMMAND_ID_HANDLER(1082, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnChoose(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  void PlaceList();

  std::unique_ptr<CContactListDlg> m_pList;
  HWND m_hOwner = nullptr;
  HWND m_hFocus = nullptr;
};
