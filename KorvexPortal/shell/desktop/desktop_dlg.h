// The desktop: the account header, the messages button with the unread count and the grid of the
// wallet's nine entries. Each entry opens its page over the desktop; the desktop keeps one page
// at a time (the web centre and entertainment pages stay for reuse). Before the withdrawal page
// it asks the gateway for the withdrawal data; each time it becomes active it asks for the
// unread-message count.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "base_dlg.h"
#include "desktop_count_listener.h"
#include "desktop_menu_list.h"
#include "desktop_pages.h"
#include "form_button.h"
#include "service_listener.h"
#include "skin_label.h"

class CServiceCommand;

// Posted with a withdrawal status to show (wParam); 0 comes from the web page dialog after a
// trade payment and shows nothing.
#define WM_KV_DESKTOP_RESULT 0x630
// Posted by the desktop to itself to free the pages whose windows it closed.
#define WM_KV_DESKTOP_FREEPAGES 0x627

class CDesktopDlg : public CBaseDlg {
 public:
  CDesktopDlg();
  ~CDesktopDlg() override;

  // Sends the entry's command (4078 + entry, lParam 0) to the active window; other values send
  // nothing.
  static void DispatchMenuItem(int entry);

  // The openers of the pages (the program's by default).
  void SetPageOpeners(const DesktopPageOpeners& openers) { m_openers = openers; }
  // Stores the unread count and shows it on the messages button as "（count）".
  void SetCountCaption(int count);
  int GetUnreadCount() const { return m_unreadCount; }
  const CStringW& GetCountCaption() const { return m_countCaption; }
  const CStringW& GetHeaderText() const { return m_header; }
  CBaseDlg* GetPage(DesktopSlot slot) const { return m_pages[static_cast<int>(slot)]; }
  // The slot of the page opened last; -1 before any.
  int GetCurrentSlot() const { return m_current; }

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override { return 0; }
  int GetSoftKey1Id() override { return 133; }
  int GetSoftKey2Id() override { return 134; }
  int GetMenuId() override { return 204; }
  int GetCenterKeyId() override { return 135; }
  BOOL IsSkinned() override { return TRUE; }
  BOOL BindControls(BOOL save, int controlId) override;
  void InitFocus() override;

  BEGIN_MSG_MAP(CDesktopDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SHOWWINDOW, OnShowWindow)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_ACTIVATE, OnActivate)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    NOTIFY_HANDLER(kMenuListId, NM_CLICK, OnMenuNotify)
    NOTIFY_HANDLER(kMenuListId, NM_RETURN, OnMenuNotify)
    COMMAND_ID_HANDLER(133, OnExitKey)
    COMMAND_RANGE_HANDLER(kFirstEntryCommand, kFirstEntryCommand + 8, OnEntry)
    COMMAND_ID_HANDLER(kMessagesId, OnEntry)
    MESSAGE_HANDLER(WM_KV_DESKTOP_RESULT, OnDesktopResult)
    MESSAGE_HANDLER(WM_KV_DESKTOP_COUNT, OnCount)
    MESSAGE_HANDLER(WM_KV_DESKTOP_FREEPAGES, OnFreePages)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  static constexpr int kHeaderId = 1034;
  static constexpr int kMenuListId = 1044;
  static constexpr int kMessagesId = 1078;
  static constexpr int kFirstEntryCommand = 4078;

  // The desktop's own service listener: it takes the withdrawal data replies only.
  class Listener : public IServiceListener {
   public:
    explicit Listener(CDesktopDlg& owner) : m_owner(owner) {}
    int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override
    {
      return m_owner.OnServiceNotify(code, hr, value, memo);
    }

   private:
    CDesktopDlg& m_owner;
  };

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnKeyUp(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnMenuNotify(int, LPNMHDR header, BOOL&);
  LRESULT OnExitKey(WORD, WORD, HWND, BOOL&);
  LRESULT OnEntry(WORD, WORD id, HWND, BOOL&);
  LRESULT OnDesktopResult(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnCount(UINT, WPARAM wParam, LPARAM, BOOL&);
  LRESULT OnFreePages(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  // The header: the label's caption and the logon id cut to 17 characters; empty without one.
  void BuildHeader();
  void RequestUnreadCount();

  // Pages (desktop_slots.cpp).
  void OpenPage(DesktopSlot slot, LPARAM commandParam);
  // Makes the previous page of another ordinary slot give way to the slot.
  void SwitchTo(DesktopSlot slot);
  // Closes the slot's window (with the result) and frees its page once its handlers returned.
  void RetirePage(DesktopSlot slot, int result);
  void RetireAllPages();

  // The withdrawal (desktop_withdrawal.cpp).
  void OpenWithdrawal();
  void ShowWithdrawalResult(int status);
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo);

  DesktopPageOpeners m_openers;
  CBaseDlg* m_pages[kDesktopSlotCount] = {};
  int m_current = -1;
  // Pages whose windows are closed, freed once the handlers that closed them returned.
  std::vector<std::unique_ptr<CBaseDlg>> m_closedPages;

  CDesktopMenuList m_menuList;
  CFormButton m_messagesButton;
  CSkinLabel m_headerLabel;
  CStringW m_headerCaption;
  CStringW m_header;
  int m_unreadCount = 0;
  CStringW m_countCaption;
  CServiceCommand* m_countCommand = nullptr;

  Listener m_listener;
  // What the listener stored for the withdrawal, read after the wait.
  std::mutex m_resultLock;
  std::unique_ptr<WithdrawInfo> m_withdrawal;
  HRESULT m_lastResult = 0;
  int m_lastStatus = 0;
  CStringW m_lastMemo;
};
