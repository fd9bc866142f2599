// The access-point settings: a radio button for "默认设置" (the device chooses) and one per data
// connection of the phone that has an access point, the stored choice checked. Saving stores the
// checked access point (or removes the stored one for "默认设置") and asks the service client to
// open a new connection. After a failed connection the dialog also shows two lines saying so.
#pragma once

#include <memory>
#include <vector>

#include "apn_list.h"
#include "base_dlg.h"
#include "skin_scroll_bar.h"

// Posted by the dialog to itself to fill the list once it is shown.
#define WM_KV_APN_FILL 0x607

class CApnSettingsDlg : public CBaseDlg {
 public:
  // Command ids: button k is kFirstButton + k (button 0 is "默认设置").
  static constexpr int kFirstButton = 800;
  static constexpr int kSaveKey = 1021;
  static constexpr int kCloseKey = 1020;

  CApnSettingsDlg() = default;
  ~CApnSettingsDlg() override;

  // Shows (TRUE) or hides the two lines about the failed connection.
  void ShowExtraItems(BOOL show);

  // The radio buttons in order, the panel that holds them and its scroll position.
  const std::vector<HWND>& GetButtons() const { return m_buttons; }
  HWND GetPanel() const { return m_panel.m_hWnd; }
  int GetScrollPosition() const { return m_scroll; }
  HWND GetScrollBar() const { return m_bar.m_hWnd; }

  int GetTemplateId(int) override { return 1087; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == 1 ? 0x418 : 0x419; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return kSaveKey; }
  int GetSoftKey2Id() override { return kCloseKey; }
  void InitFocus() override;

  BEGIN_MSG_MAP(CApnSettingsDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_APN_FILL, OnFill)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_VSCROLL, OnVScroll)
    // The soft keys first: their ids lie in the buttons' old range.
    COMMAND_ID_HANDLER(kSaveKey, OnSave)
    COMMAND_ID_HANDLER(kCloseKey, OnClose)
    MESSAGE_HANDLER(WM_COMMAND, OnButtonCommand)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  // The panel of the radio buttons: a child dialog that hands its buttons' commands up.
  class Panel : public CDialogImpl<Panel> {
   public:
    enum { IDD = 275 };
    BEGIN_MSG_MAP(Panel)
      MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    END_MSG_MAP()

   private:
    LRESULT OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
    {
      return ::SendMessageW(GetParent(), WM_COMMAND, wParam, lParam);
    }
  };

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnFill(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnSave(WORD, WORD, HWND, BOOL&);
  LRESULT OnClose(WORD, WORD, HWND, BOOL&);
  LRESULT OnButtonCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  void Fill();
  void AddButton(const CStringW& name);
  // Places the lines and the buttons for the scroll position, and the panel's content height.
  void LayOut();
  void UpdateScrollBar();
  int CheckedButton() const;
  RECT VisibleArea() const;

  Panel m_panel;
  CSkinScrollBar m_bar;
  HBITMAP m_barBitmap = nullptr;
  std::vector<HWND> m_buttons;
  std::unique_ptr<CApnList> m_list;
  BOOL m_showExtra = FALSE;
  int m_scroll = 0;
  int m_contentHeight = 0;
};
