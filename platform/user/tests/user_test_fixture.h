// The fixture of the window manager's tests: a device root of its own, a message log, and
// every window of the test's thread destroyed at the end.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "testing/device_root.h"
#include "windows.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"

class UserTest : public ::testing::Test {
 protected:
  void TearDown() override { kvtest::DestroyThreadWindows(); }
  device::testing::ScopedDeviceRoot root;
  kvtest::MessageLog log;
};

// Waits until the condition holds, up to a bound; for states that another thread reaches
// without a message to wait on.
template <class Condition>
bool WaitFor(Condition condition, int boundMs = 10000)
{
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(boundMs);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    std::this_thread::yield();
  }
  return true;
}
