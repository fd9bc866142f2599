#include "page_message_filter.h"

#include "app_services.h"
#include "modal_loops.h"
#include "scroll_form.h"

void CPageMessageFilter::Register(HWND page, CScrollForm* form)
{
  Unregister();
  m_hPage = page;
  m_pForm = form;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (CMessageLoop* loop = app ? app->GetMessageLoop() : nullptr) {
    loop->AddMessageFilter(this);
    m_pLoop = loop;
  }
}

void CPageMessageFilter::Unregister()
{
  // A modal dialog's loop that the filter joined may have ended since.
  if (m_pLoop && IsLiveMessageLoop(GetKorvexPortalApp(), m_pLoop))
    m_pLoop->RemoveMessageFilter(this);
  m_pLoop = nullptr;
  m_hPage = nullptr;
  m_pForm = nullptr;
}

BOOL CPageMessageFilter::PreTranslateMessage(MSG* pMsg)
{
  UINT message = pMsg->message;
  bool keyboard = message >= WM_KEYFIRST && message <= WM_KEYLAST;
  bool pointer = message >= WM_MOUSEFIRST && message <= WM_MOUSELAST;
  if ((!keyboard && !pointer) || !m_hPage || !::IsWindow(m_hPage))
    return FALSE;
  if (message == WM_KEYUP && (pMsg->wParam == VK_F1 || pMsg->wParam == VK_F2))
    return FALSE;
  if (message == WM_KEYDOWN && (pMsg->wParam == VK_UP || pMsg->wParam == VK_DOWN) &&
      (pMsg->hwnd == m_hPage || ::IsChild(m_hPage, pMsg->hwnd))) {
    // Up and down go from tab stop to tab stop (the rows, a link), never onto the form's scroll
    // bar, unless the focused control uses the arrows itself.
    LRESULT code = ::SendMessageW(pMsg->hwnd, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg));
    if (!(code & (DLGC_WANTARROWS | DLGC_WANTMESSAGE))) {
      ::SendMessageW(m_hPage, WM_NEXTDLGCTL, pMsg->wParam == VK_UP ? 1 : 0, FALSE);
      if (m_pForm)
        m_pForm->ScrollIntoView(::GetFocus());
      return TRUE;
    }
  }
  return ::IsDialogMessageW(m_hPage, pMsg);
}
