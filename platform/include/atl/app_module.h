// The application module: the program's instance and resource instance, and the message loop
// of each user-interface thread, registered by thread id under a lock.
#pragma once

#include <map>
#include <mutex>

#include "atl/message_loop.h"
#include "atl/window_impl.h"
#include "kernel/thread.h"

class CAppModule {
 public:
  CAppModule();
  virtual ~CAppModule();
  CAppModule(const CAppModule&) = delete;
  CAppModule& operator=(const CAppModule&) = delete;

  HRESULT Init(void* objectMap, HINSTANCE instance);
  void Term();

  HINSTANCE GetModuleInstance() const { return m_instance; }
  HINSTANCE GetResourceInstance() const;
  // Returns the former resource instance.
  HINSTANCE SetResourceInstance(HINSTANCE instance);

  // One loop per thread: FALSE when the thread has one already.
  BOOL AddMessageLoop(CMessageLoop* loop);
  BOOL RemoveMessageLoop();
  // The calling thread's loop, or another thread's; null when it has none.
  CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

  // The object whose window the calling thread is creating (atl/window_impl.h).
  void AddCreateWndData(void* object) { ::AtlAddCreateWndData(object); }
  void* ExtractCreateWndData() { return ::AtlExtractCreateWndData(); }

 private:
  HINSTANCE m_instance = nullptr;
  HINSTANCE m_resourceInstance = nullptr;
  mutable std::mutex m_lock;
  std::map<DWORD, CMessageLoop*> m_loops;
};

// The program's module (the last one constructed), or null.
CAppModule* AtlGetAppModule();
