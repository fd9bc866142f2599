// Thin wrappers over the Linux futex calls the wait machinery sleeps on. A private futex
// lives in this process's memory; a shared one in a mapping shared between processes.
#pragma once

#include <atomic>
#include <cstdint>

namespace kernel {

// Sleeps while *word equals expected, for at most milliseconds (negative: no limit).
void FutexWait(const std::atomic<uint32_t>* word, uint32_t expected, int64_t milliseconds, bool shared);
void FutexWakeAll(const std::atomic<uint32_t>* word, bool shared);

// A count that threads sleep on until it changes, with the number of them asleep, so that a
// wake with no sleeper costs no system call.
struct WakeWord {
  std::atomic<uint32_t> count{0};
  std::atomic<uint32_t> sleepers{0};
};

// Sleeps while the count is seen, for at most milliseconds (negative: no limit).
void SleepOn(WakeWord& word, uint32_t seen, int64_t milliseconds, bool shared);
// Bumps the count and wakes every sleeper.
void WakeAll(WakeWord& word, bool shared);

}  // namespace kernel
