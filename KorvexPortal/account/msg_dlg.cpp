#include "msg_dlg.h"

#include "app_services.h"
#include "html/html_viewer.h"
#include "ids.h"
#include "message_box_types.h"
#include "message_store.h"
#include "process_helpers.h"
#include "service_results.h"

CMsgDlg::CMsgDlg() = default;

CMsgDlg::~CMsgDlg() = default;

int CMsgDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? IDB_BACKGROUND_LAND : IDB_BACKGROUND;
}

CStringW CMsgDlg::LogonId() const
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  return app ? app->GetLogonId() : CStringW();
}

void CMsgDlg::ShowNotice(const CStringW& text, UINT type)
{
  if (CKorvexPortalApp* app = GetKorvexPortalApp())
    app->ShowMessageBox(m_hWnd, text, CStringW(), type, FALSE, SW_HIDE);
}

LRESULT CMsgDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(u"用户消息", FALSE);
  InitHTMLControl(nullptr);
  m_viewer = ::CreateWindowExW(0, DISPLAYCLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 10, 10, m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<intptr_t>(IDC_MSG_VIEWER)), nullptr, nullptr);
  ::SetWindowPos(m_viewer, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  m_shown = MsgRecord();
  Fetch();
  bHandled = FALSE;  // on to the base
  return 0;
}

void CMsgDlg::LayoutViewer()
{
  if (!m_viewer)
    return;
  // Between the title strip and the soft-key bar, the bars' heights being the library's own
  // pixel sizes for the screen.
  RECT client{};
  GetClientRect(&client);
  int top = client.top + m_titleHeight;
  int bottom = std::max(top, static_cast<int>(client.bottom) - m_bottomBarHeight);
  ::SetWindowPos(m_viewer, nullptr, 0, top, client.right - client.left, bottom - top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMsgDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the base places its bars first
  LayoutViewer();
  return 0;
}

void CMsgDlg::InitFocus()
{
  LayoutViewer();
  if (m_viewer)
    ::SetFocus(m_viewer);
}

LRESULT CMsgDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

LRESULT CMsgDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_viewer && ::IsWindow(m_viewer))
    ::DestroyWindow(m_viewer);
  m_viewer = nullptr;
  bHandled = FALSE;
  return 0;
}

LRESULT CMsgDlg::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (!header || header->hwndFrom != m_viewer || header->code != NM_HOTSPOT) {
    bHandled = FALSE;
    return 0;
  }
  const auto* link = reinterpret_cast<const NM_HTMLVIEWW*>(lParam);
  if (link->szTarget && *link->szTarget)
    OpenUrlInBrowser(link->szTarget);
  return 0;
}

LRESULT CMsgDlg::OnCloseCommand(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}

void CMsgDlg::Render()
{
  if (!m_viewer)
    return;
  CStringW html = u"<html><body><br/>标题：";
  html += m_shown.topic;
  html += u"<br/><br/>时间：";
  html += m_shown.date;
  html += u"<br/><br/><hr/><br/>";
  html += m_shown.content;
  html += u"</body></html>";
  // The viewer appends to the page it has: each message starts a page of its own.
  ::SendMessageW(m_viewer, DTM_CLEAR, 0, 0);
  ::SendMessageW(m_viewer, DTM_ADDTEXTW, 0, reinterpret_cast<LPARAM>(html.GetString()));
  ::SendMessageW(m_viewer, DTM_ENDOFSOURCE, 0, 0);
  ::InvalidateRect(m_viewer, nullptr, TRUE);
}

void CMsgDlg::ShowStoredMessage(bool previous)
{
  CStringW text;
  if (previous)
    LoadPrevMessage(LogonId(), m_shown.msgId, text);
  else
    LoadNextMessage(LogonId(), m_shown.msgId, text);
  MsgRecord message;
  if (text.IsEmpty() || !ParseMessageFile(text, message)) {
    ShowNotice(previous ? u"已经是最上一条消息！" : u"下一条消息不存在。", KV_BOX_INFO);
    return;
  }
  m_shown = message;
  Render();
}

LRESULT CMsgDlg::OnPrevious(WORD, WORD, HWND, BOOL&)
{
  ShowStoredMessage(true);
  return 0;
}

LRESULT CMsgDlg::OnNext(WORD, WORD, HWND, BOOL&)
{
  if (m_shown.msgId < GetNewestMessageId(LogonId()))
    ShowStoredMessage(false);
  else
    Fetch();
  return 0;
}

LRESULT CMsgDlg::OnDelete(WORD, WORD, HWND, BOOL&)
{
  if (!DeleteMessageFile(LogonId(), m_shown.msgId)) {
    ShowNotice(u"消息删除失败。", KV_BOX_INFO);
    return 0;
  }
  ShowNotice(u"消息已经成功删除。", KV_BOX_INFO | KV_BOX_SELF_CLOSING);
  SendMessage(WM_COMMAND, ID_MSG_NEXT);
  return 0;
}

BOOL CMsgDlg::PreTranslateMessage(MSG* pMsg)
{
  bool keyOrMouse = (pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST) ||
                    (pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST);
  if (!keyOrMouse || !IsWindow() || !IsWindowVisible())
    return FALSE;
  bool ours = pMsg->hwnd == m_hWnd || ::IsChild(m_hWnd, pMsg->hwnd);
  if (ours && pMsg->message == WM_KEYUP) {
    if (pMsg->wParam == VK_RETURN) {
      HWND focus = ::GetFocus();
      SendMessage(WM_COMMAND, static_cast<WPARAM>(::GetDlgCtrlID(focus)), reinterpret_cast<LPARAM>(focus));
      return TRUE;
    }
    if (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN)
      return TRUE;
  }
  return CBaseDlg::PreTranslateMessage(pMsg);
}
