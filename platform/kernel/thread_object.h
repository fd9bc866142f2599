// The thread object behind CreateThread: signalled when the thread has ended.
#pragma once

#include "base/types.h"
#include "kernel/object.h"

#include <atomic>

namespace kernel {

class Thread : public LocalWaitable {
 public:
  bool IsSignalled() const override { return ended_.load(); }
  bool TryAcquire() override { return ended_.load(); }

  DWORD Id() const { return id_.load(); }
  DWORD ExitCode() const;

  // Called by the thread itself.
  void Started(DWORD id);
  void SetExitCode(DWORD code) { exitCode_.store(code); }
  void Ended();

  // Blocks until the new thread has reported its id.
  void WaitUntilStarted() const { id_.wait(0); }

 private:
  std::atomic<DWORD> id_{0};
  std::atomic<DWORD> exitCode_{0};
  std::atomic<bool> ended_{false};
};

}  // namespace kernel
