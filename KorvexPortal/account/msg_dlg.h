// The user's messages: fetches the newest message from the gateway ("viewMsgDetail"), keeps each
// fetched message in the user's message store (message_store.h) and shows one message at a time
// in an HTML viewer. The menu steps to the previous and next stored messages (the next one after
// the newest fetches again), deletes the shown one, or closes; a link in a message opens in the
// device's browser. Each fetch passes the unread count on to the desktop's messages button.
#pragma once

#include <memory>
#include <mutex>

#include "base_dlg.h"
#include "message_file.h"
#include "msg_ids.h"
#include "service_listener.h"

struct MsgDetailResult;

// Posted to itself when the fetch's wait is over and its outcome is to be taken.
#define WM_KV_MSG_FETCHED 0x62B

class CMsgDlg : public CBaseDlg, public IServiceListener {
 public:
  CMsgDlg();
  ~CMsgDlg() override;

  // The message shown (id -1 before any) and the unread count of the last fetch.
  const MsgRecord& GetShownMessage() const { return m_shown; }
  int GetMessageCount() const { return m_nMsgCount; }
  HWND GetViewer() const { return m_viewer; }

  int GetTemplateId(int) override { return IDD_MSG; }
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return IDC_MSG_SOFTKEY1; }
  int GetSoftKey2Id() override { return IDC_MSG_SOFTKEY2; }
  int GetMenuId() override { return IDR_MSG_MENU; }
  int GetCenterKeyId() override { return IDC_MSG_CENTER; }
  BOOL HasSecondLabel() override { return FALSE; }
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // Last in the initialisation, once the bars have their heights: the viewer takes its place
  // and the focus.
  void InitFocus() override;

  // On the network worker: keeps the fetched message (75) or the failure (76) and ends the wait;
  // every other code (the desktop's unread counts among them) is ignored.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  BEGIN_MSG_MAP(CMsgDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    MESSAGE_HANDLER(WM_KV_MSG_FETCHED, OnFetched)
    COMMAND_ID_HANDLER(IDC_MSG_SOFTKEY1, OnCloseCommand)
    COMMAND_ID_HANDLER(ID_MSG_CLOSE, OnCloseCommand)
    COMMAND_ID_HANDLER(ID_MSG_DELETE, OnDelete)
    COMMAND_ID_HANDLER(ID_MSG_NEXT, OnNext)
    COMMAND_ID_HANDLER(ID_MSG_PREVIOUS, OnPrevious)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnFetched(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCloseCommand(WORD, WORD, HWND, BOOL&);
  LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
  LRESULT OnNext(WORD, WORD, HWND, BOOL&);
  LRESULT OnPrevious(WORD, WORD, HWND, BOOL&);

  // Asks the gateway for the newest message, waiting in the shared box; posts the outcome to
  // itself, or WM_CLOSE when the fetch was cancelled or could not start.
  void Fetch();
  // Shows the stored message before (after) the shown one; a notice when there is none.
  void ShowStoredMessage(bool previous);
  // The shown message as HTML in the viewer, replacing what it showed.
  void Render();
  void LayoutViewer();
  // The current user's logon id, which names the message store's folder.
  CStringW LogonId() const;
  void ShowNotice(const CStringW& text, UINT type);

  HWND m_viewer = nullptr;
  MsgRecord m_shown;
  int m_nMsgCount = 0;
  // What the listener keeps, guarded: it writes on the network worker.
  std::mutex m_lock;
  int m_nStatus = 0;
  CStringW m_strMemo;
  std::unique_ptr<MsgDetailResult> m_pReply;
};
