#include "testing/ui_harness.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "internal/user/test_hooks.h"
#include "kernel/clock.h"
#include "testing/clock.h"

namespace kvtest {
namespace {

using Clock = std::chrono::steady_clock;

void PumpCallingThread()
{
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

DWORD Remaining(Clock::time_point deadline)
{
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  return left > 0 ? static_cast<DWORD>(left) : 0;
}

POINT CentreOf(HWND hwnd)
{
  RECT client{};
  GetClientRect(hwnd, &client);
  return POINT{client.right / 2, client.bottom / 2};
}

}  // namespace

bool RunUntilIdle(DWORD boundMs)
{
  auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
  for (;;) {
    PumpCallingThread();
    if (!user_test::WaitUntilOtherThreadsIdle(Remaining(deadline))) {
      std::fprintf(stderr, "RunUntilIdle: the user-interface threads were still busy after %u ms\n",
                   static_cast<unsigned>(boundMs));
      return false;
    }
    if (!user_test::CurrentThreadHasWork())
      return true;
  }
}

bool RunUntil(const std::function<bool()>& condition)
{
  auto bound = Clock::now() + std::chrono::seconds(30);
  while (!condition()) {
    if (Clock::now() > bound || !RunUntilIdle())
      return false;
    std::this_thread::yield();
  }
  return true;
}

bool PollUntil(const std::function<bool()>& condition)
{
  auto bound = Clock::now() + std::chrono::seconds(30);
  while (!condition()) {
    if (Clock::now() > bound)
      return false;
    RunUntilIdle(50);
  }
  return true;
}

void UseVirtualTime(const SYSTEMTIME& localStart)
{
  device::testing::UseVirtualClock(localStart);
}

void UseVirtualTime()
{
  UseVirtualTime(SYSTEMTIME{2026, 1, 1, 5, 9, 0, 0, 0});
}

bool AdvanceTime(DWORD ms, DWORD boundMs)
{
  uint64_t target = kernel::clock::Now() + ms;
  if (!RunUntilIdle(boundMs))
    return false;
  for (;;) {
    uint64_t now = kernel::clock::Now();
    uint64_t next = user_test::NextTimerDue();
    // A timer already due belongs to a thread that does not take messages now: not a step.
    if (next <= now || next > target)
      break;
    device::testing::AdvanceClock(static_cast<DWORD>(next - now));
    if (!RunUntilIdle(boundMs))
      return false;
  }
  uint64_t now = kernel::clock::Now();
  if (target > now)
    device::testing::AdvanceClock(static_cast<DWORD>(target - now));
  return RunUntilIdle(boundMs);
}

bool PointerDown(POINT screen)
{
  user_test::InjectPointer(user_test::Pointer::down, screen);
  return RunUntilIdle();
}

bool PointerMove(POINT screen)
{
  user_test::InjectPointer(user_test::Pointer::move, screen);
  return RunUntilIdle();
}

bool PointerUp(POINT screen)
{
  user_test::InjectPointer(user_test::Pointer::up, screen);
  return RunUntilIdle();
}

bool Tap(POINT screen)
{
  return PointerDown(screen) && PointerUp(screen);
}

bool TapWindow(HWND hwnd, POINT client)
{
  ClientToScreen(hwnd, &client);
  return Tap(client);
}

bool TapWindow(HWND hwnd)
{
  return TapWindow(hwnd, CentreOf(hwnd));
}

bool Drag(POINT from, POINT to, int steps)
{
  if (!PointerDown(from))
    return false;
  for (int i = 1; i <= steps; ++i) {
    POINT at{from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps};
    if (!PointerMove(at))
      return false;
  }
  return PointerUp(to);
}

bool KeyDown(UINT virtualKey)
{
  user_test::InjectKey(virtualKey, true);
  return RunUntilIdle();
}

bool KeyUp(UINT virtualKey)
{
  user_test::InjectKey(virtualKey, false);
  return RunUntilIdle();
}

bool PressKey(UINT virtualKey)
{
  return KeyDown(virtualKey) && KeyUp(virtualKey);
}

bool TypeText(const std::u16string& text)
{
  for (char16_t character : text) {
    user_test::InjectCharacter(character);
    if (!RunUntilIdle())
      return false;
  }
  return true;
}

bool TypeImeText(const std::u16string& text)
{
  if (text.empty())
    return true;
  // A letter composed from a key (multi-tap) carries that key; other text the process key.
  char16_t last = text.back();
  UINT key = VK_PROCESSKEY;
  if (text.size() == 1 && last >= u'a' && last <= u'z')
    key = static_cast<UINT>(last - u'a' + 'A');
  else if (text.size() == 1 && last >= u'A' && last <= u'Z')
    key = static_cast<UINT>(last);
  user_test::InjectImeText(text, key);
  return RunUntilIdle();
}

HWND WaitForTopLevelWindow(LPCWSTR className, LPCWSTR title, DWORD boundMs)
{
  auto deadline = Clock::now() + std::chrono::milliseconds(boundMs);
  for (;;) {
    PumpCallingThread();
    if (HWND found = FindWindowW(className, title))
      return found;
    if (Clock::now() >= deadline)
      return nullptr;
    // Another process gives no signal when it makes a window: look again shortly.
    user_test::WaitUntilOtherThreadsIdle(std::min<DWORD>(Remaining(deadline), 10));
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

void SetScreenSize(int width, int height)
{
  user_test::SetScreenSize(width, height);
}

std::string Narrow(const std::u16string& text)
{
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t code = text[i];
    if (code >= 0xD800 && code < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      code = 0x10000 + ((code - 0xD800) << 10) + (text[++i] - 0xDC00);
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | (code >> 6));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | (code >> 12));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (code >> 18));
      out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }
  return out;
}

}  // namespace kvtest
