// The message loop with its filters and idle handlers.
#include "atl/message_loop.h"

int CMessageLoop::Run()
{
  bool doIdle = true;
  int idleCount = 0;
  for (;;) {
    while (doIdle && !::PeekMessageW(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++))
        doIdle = false;
    }
    BOOL got = ::GetMessageW(&m_msg, nullptr, 0, 0);
    if (got == -1)
      continue;  // a bad filter cannot happen here; take the next message
    if (!got)
      break;
    if (!PreTranslateMessage(&m_msg)) {
      ::TranslateMessage(&m_msg);
      ::DispatchMessageW(&m_msg);
    }
    if (IsIdleMessage(&m_msg)) {
      doIdle = true;
      idleCount = 0;
    }
  }
  return static_cast<int>(m_msg.wParam);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg)
{
  // A filter may remove itself (or another) while it runs: walk a copy, latest first.
  CSimpleArray<CMessageFilter*> filters = m_aMsgFilter;
  for (int i = filters.GetSize() - 1; i >= 0; --i) {
    CMessageFilter* filter = filters[i];
    if (filter && m_aMsgFilter.Find(filter) >= 0 && filter->PreTranslateMessage(pMsg))
      return TRUE;
  }
  return FALSE;
}

BOOL CMessageLoop::OnIdle(int)
{
  CSimpleArray<CIdleHandler*> handlers = m_aIdleHandler;
  for (int i = 0; i < handlers.GetSize(); ++i) {
    CIdleHandler* handler = handlers[i];
    if (handler && m_aIdleHandler.Find(handler) >= 0)
      handler->OnIdle();
  }
  return FALSE;  // idle once per emptying of the queue
}

BOOL CMessageLoop::IsIdleMessage(const MSG* pMsg)
{
  // Pointer moves, paints and the system's timer tick do not restart idle processing.
  switch (pMsg->message) {
  case WM_MOUSEMOVE:
  case WM_PAINT:
  case 0x0118:
    return FALSE;
  default:
    return TRUE;
  }
}
