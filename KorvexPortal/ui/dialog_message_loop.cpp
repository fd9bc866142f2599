// The modal dialog's message loop.
#include "dialog_message_loop.h"

namespace {

// The release of one of the two soft keys.
bool IsSoftKeyRelease(const MSG& msg)
{
  return msg.message == WM_KEYUP && (msg.wParam == VK_F1 || msg.wParam == VK_F2);
}

}  // namespace

int CDialogMessageLoop::Run()
{
  bool doIdle = true;
  int idleCount = 0;
  for (;;) {
    while (doIdle && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++))
        doIdle = false;
    }
    if (!::IsWindow(m_hWndDialog) && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE))
      return m_bQuitPending ? m_quitResult : 0;
    BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
    if (got == -1)
      continue;
    if (!got)
      break;
    if (m_hWndParent && m_msg.hwnd == m_hWndParent)
      m_msg.hwnd = m_hWndDialog;
    if (!PreTranslateMessage(&m_msg) && !PreTranslateDialogMessage(&m_msg)) {
      ::TranslateMessage(&m_msg);
      ::DispatchMessageW(&m_msg);
    }
    // Loops nested in a dispatch have returned by now.
    if (m_bQuitPending)
      return m_quitResult;
    if (IsIdleMessage(&m_msg)) {
      doIdle = true;
      idleCount = 0;
    }
  }
  return static_cast<int>(m_msg.wParam);
}

void CDialogMessageLoop::Quit(int result, const CAppModule* module)
{
  if (module && module->GetMessageLoop() != this) {
    m_bQuitPending = true;
    m_quitResult = result;
    return;
  }
  ::PostThreadMessageW(::GetCurrentThreadId(), WM_QUIT, static_cast<WPARAM>(result), 0);
}

BOOL CDialogMessageLoop::PreTranslateDialogMessage(MSG* pMsg)
{
  BOOL taken = ::IsDialogMessageW(m_hWndDialog, pMsg);
  if (IsSoftKeyRelease(*pMsg) && pMsg->hwnd != m_hWndDialog && ::IsChild(m_hWndDialog, pMsg->hwnd)) {
    // The focus control has had the key; the dialog presses its soft key on the release.
    pMsg->hwnd = m_hWndDialog;
    return FALSE;
  }
  return taken;
}
