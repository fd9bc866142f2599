// The list of the contact picker: a child dialog with one row per contact of the user's contact
// list file, and a command hyperlink that asks the gateway for the list ("queryContactLists"). A
// missing file asks the gateway at once; a non-empty gateway list replaces the file. Each row keeps its
// contact, so the account chosen never depends on how the caption reads. The list's own message
// filter moves the focus between the rows with the keys (the action key chooses the focused row)
// and leaves the soft keys to the picker.
#pragma once

#include <memory>
#include <vector>

#include "atl/dialog_impl.h"
#include "atl/hyperlink.h"
#include "contact_store.h"
#include "form_button.h"
#include "page_message_filter.h"
#include "scroll_form.h"

// Posted to itself when the gateway's list has arrived.
#define WM_KV_CONTACTS_LOADED 0x635

class CContactListDlg : public CDialogImpl<CContactListDlg> {
 public:
  enum { IDD = 1076 };

  CContactListDlg();
  ~CContactListDlg() override;
  CContactListDlg(const CContactListDlg&) = delete;
  CContactListDlg& operator=(const CContactListDlg&) = delete;

  // Creates the list from the resource library's template as a child of the picker.
  HWND CreateIn(HWND picker);

  // The contact of the selected row; empty when none was chosen.
  const CContactRecord& GetSelected() const { return m_selected; }
  // The rows shown, in order (for tests and the picker's focus).
  const std::vector<CContactRecord>& GetContacts() const { return m_contacts; }
  HWND GetFirstRow() const;
  bool IsEmptyNoteVisible() const;

  // Shows the file's contacts; 1 when the file could not be read, else 0.
  int ShowLocalList();
  // Asks the gateway for the list and posts WM_KV_CONTACTS_LOADED unless the user cancelled.
  void RequestServerList();

  BEGIN_MSG_MAP(CContactListDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_CONTACTS_LOADED, OnServerList)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColor)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnServerList(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnCtlColor(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

  void BuildRows(const std::vector<CContactRecord>& contacts);
  void DestroyRows();
  void ShowEmptyNote();
  void HideEmptyNote();
  void SetPickerChoose(bool enabled);

  std::vector<CContactRecord> m_contacts;
  CContactRecord m_selected;
  std::vector<std::unique_ptr<CFormButton>> m_rows;
  CHyperLink m_link;
  CScrollForm m_scrollForm;
  CPageMessageFilter m_filter;
  HWND m_hNote = nullptr;
  HBRUSH m_hBrush = nullptr;
  // The gateway's answer, kept until it is shown (user-interface thread only).
  ContactGroupList m_serverGroups;
  int m_nStatus = 100;
  CStringW m_strMemo;
};
