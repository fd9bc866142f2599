// Thin wrappers over the Linux futex calls the wait machinery sleeps on. A private futex
// lives in this process's memory; a shared one in a mapping shared between processes.
#pragma once

#include <atomic>
#include <cstdint>

namespace kernel {

// Sleeps while *word equals expected, for at most milliseconds (negative: no limit).
void FutexWait(const std::atomic<uint32_t>* word, uint32_t expected, int64_t milliseconds, bool shared);
void FutexWakeAll(const std::atomic<uint32_t>* word, bool shared);

}  // namespace kernel
