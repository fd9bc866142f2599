// A user-interface thread inside a test: it runs a message loop until the object ends, and
// runs the test's functions on itself.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

#include "user/user.h"

namespace kvtest {

class UiThread {
 public:
  UiThread();
  // Ends the thread's message loop (a modal loop running on it gets a WM_QUIT first), destroys
  // the thread's windows and waits for the thread.
  ~UiThread();
  UiThread(const UiThread&) = delete;
  UiThread& operator=(const UiThread&) = delete;

  // Runs the function on the thread and waits for it; the caller answers sends meanwhile.
  void Invoke(const std::function<void()>& function);
  // Runs the function on the thread without waiting (for one that starts a modal loop).
  void Post(std::function<void()> function);
  DWORD ThreadId() const { return threadId_; }

 private:
  void Main();

  std::thread thread_;
  DWORD threadId_ = 0;
  HWND invoker_ = nullptr;
  std::atomic<bool> stopping_{false};
};

}  // namespace kvtest
