// The thread object behind CreateThread: signalled when the thread has ended.
#pragma once

#include "base/types.h"
#include "futex.h"
#include "kernel/object.h"

#include <atomic>

namespace kernel {

class Thread : public LocalWaitable {
 public:
  bool IsSignalled() const override { return ended_.load(); }
  bool TryAcquire() override { return ended_.load(); }

  DWORD Id() const { return id_.load(); }
  DWORD ExitCode() const;

  // Called by the thread itself; wakeWord is the word it sleeps on in its waits.
  void Started(DWORD id, WakeWord* wakeWord = nullptr);
  void SetExitCode(DWORD code) { exitCode_.store(code); }
  void Ended();

  // Asks the thread to end with the given code at its next wait; false for a thread that does
  // not wait in this process (a child process's main thread).
  bool RequestTermination(DWORD code);
  bool TerminationRequested() const { return terminating_.load(); }

  // Blocks until the new thread has reported its id.
  void WaitUntilStarted() const { id_.wait(0); }

  // The main thread of a process started suspended: the process runs its program once the
  // gate (the write end of a pipe it waits on) is written. Resume writes it and answers the
  // suspend count before the call: 1 the first time, 0 after.
  void HoldAtGate(int gate) { gate_.store(gate); }
  DWORD Resume();
  ~Thread() override;

 private:
  std::atomic<DWORD> id_{0};
  std::atomic<DWORD> exitCode_{0};
  std::atomic<bool> ended_{false};
  std::atomic<bool> terminating_{false};
  std::atomic<int> gate_{-1};
  WakeWord* wakeWord_ = nullptr;
};

// Ends the calling thread (it unwinds) when TerminateThread asked for it; waits call this.
void EndThreadIfTerminated();

// The word the calling thread sleeps on while it waits on objects of this process only.
WakeWord& ThreadWakeWord();

}  // namespace kernel
