// The message loop of a user-interface thread: message filters see each message before it is
// dispatched (and may consume it), idle handlers run when the queue has run dry.
#pragma once

#include "atl/simple_collections.h"
#include "user/user.h"

class CMessageFilter {
 public:
  virtual ~CMessageFilter() = default;
  // TRUE when the message was handled and is not to be dispatched.
  virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;
};

class CIdleHandler {
 public:
  virtual ~CIdleHandler() = default;
  virtual BOOL OnIdle() = 0;
};

class CMessageLoop {
 public:
  virtual ~CMessageLoop() = default;

  BOOL AddMessageFilter(CMessageFilter* filter) { return m_aMsgFilter.Add(filter); }
  BOOL RemoveMessageFilter(CMessageFilter* filter) { return m_aMsgFilter.Remove(filter); }
  BOOL AddIdleHandler(CIdleHandler* handler) { return m_aIdleHandler.Add(handler); }
  BOOL RemoveIdleHandler(CIdleHandler* handler) { return m_aIdleHandler.Remove(handler); }

  // Runs until WM_QUIT; returns its wParam. Idle handlers run once each time the queue runs
  // dry after a message that counts (pointer moves and paints do not restart idle time).
  int Run();

  // Filters, the most recently added first; TRUE when one consumed the message.
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Idle handlers in the order added.
  virtual BOOL OnIdle(int idleCount);
  static BOOL IsIdleMessage(const MSG* pMsg);

  CSimpleArray<CMessageFilter*> m_aMsgFilter;
  CSimpleArray<CIdleHandler*> m_aIdleHandler;
  MSG m_msg{};
};
