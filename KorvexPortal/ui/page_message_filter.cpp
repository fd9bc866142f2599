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

namespace {

bool IsRadioButton(HWND control)
{
  return control && (::SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON);
}

// The next (or previous) radio button of the control's group, round the group; the control
// itself when there is no other.
HWND NextRadioInGroup(HWND page, HWND control, bool previous)
{
  for (HWND next = ::GetNextDlgGroupItem(page, control, previous); next && next != control;
       next = ::GetNextDlgGroupItem(page, next, previous)) {
    if (IsRadioButton(next))
      return next;
  }
  return control;
}

}  // namespace

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
    // Up and down go from tab stop to tab stop (the rows, a link, the fields), never onto the
    // form's scroll bar, unless the focused control uses them itself: a one-line edit (it has a
    // selection and takes no line keys) moves its caret with left and right only.
    // Among radio buttons (only the checked one is a tab stop) they move the choice through the
    // group instead.
    LRESULT code = ::SendMessageW(pMsg->hwnd, WM_GETDLGCODE, pMsg->wParam, reinterpret_cast<LPARAM>(pMsg));
    bool oneLineEdit = (code & DLGC_HASSETSEL) && !(code & DLGC_WANTMESSAGE);
    bool up = pMsg->wParam == VK_UP;
    if (code & DLGC_RADIOBUTTON) {
      HWND next = NextRadioInGroup(m_hPage, pMsg->hwnd, up);
      if (next != pMsg->hwnd) {
        ::SendMessageW(m_hPage, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(next), TRUE);
        ::SendMessageW(next, BM_CLICK, 0, 0);
      }
    } else if (!(code & (DLGC_WANTARROWS | DLGC_WANTMESSAGE)) || oneLineEdit) {
      ::SendMessageW(m_hPage, WM_NEXTDLGCTL, up ? 1 : 0, FALSE);
    } else {
      return ::IsDialogMessageW(m_hPage, pMsg);
    }
    if (m_pForm)
      m_pForm->ScrollIntoView(::GetFocus());
    return TRUE;
  }
  return ::IsDialogMessageW(m_hPage, pMsg);
}
