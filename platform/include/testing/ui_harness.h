// Driving the device's user interface from a test: input as a person gives it, running until
// every user-interface thread is idle, virtual time, the window tree as text, waiting for a
// window. Every wait has a bound; a function that returns false ran into it.
#pragma once

#include <functional>
#include <string>

#include "user/user.h"

namespace kvtest {

constexpr DWORD kIdleBoundMs = 10000;
// Another process may take long to show its first window on a loaded machine.
constexpr DWORD kWindowBoundMs = 60000;

// Handles the calling thread's messages and waits until every thread that takes messages
// (in this process) waits with nothing to take.
bool RunUntilIdle(DWORD boundMs = kIdleBoundMs);

// Runs until idle until the condition holds (work handed on by threads that take no messages,
// which running until idle does not wait for); false when a run does not come to rest or the
// condition does not hold within 30 s.
bool RunUntil(const std::function<bool()>& condition);
// The same for threads that may not come to rest (a shown wait box animates): each run ends
// after 50 ms; false when the condition does not hold within 30 s.
bool PollUntil(const std::function<bool()>& condition);

// Runs the device clock virtually from now on (testing/clock.h); it moves only by AdvanceTime.
// The calendar starts at localStart, by default 2026-01-05 09:00:00.
void UseVirtualTime();
void UseVirtualTime(const SYSTEMTIME& localStart);
// Moves virtual time forward, stopping at each timer that comes due on the way and running
// until idle there, so a 100 ms timer fires ten times in AdvanceTime(1000).
bool AdvanceTime(DWORD ms, DWORD boundMs = kIdleBoundMs);

// Input. Each call injects at the device's input source and then runs until idle.
// A tap: pointer down and up at a screen point, or at a point of a window's client area
// (its centre by default).
bool Tap(POINT screen);
bool TapWindow(HWND hwnd);
bool TapWindow(HWND hwnd, POINT client);
// Pointer down at one point, moves in steps, up at the other.
bool Drag(POINT from, POINT to, int steps = 4);
bool PointerDown(POINT screen);
bool PointerMove(POINT screen);
bool PointerUp(POINT screen);
// A key pressed and released, or only one of the two.
bool PressKey(UINT virtualKey);
bool KeyDown(UINT virtualKey);
bool KeyUp(UINT virtualKey);
// Text typed on the keyboard: one WM_CHAR per character, between the key's down and up.
bool TypeText(const std::u16string& text);
// Text composed by the input method: WM_IME_COMPOSITION and the composing key's key-up for a
// focus window with an input context, WM_CHAR per character for one without.
bool TypeImeText(const std::u16string& text);

// The window tree, one window a line, children indented: class, id, text, rectangle (screen),
// and the words visible, disabled, focus, active as they apply. Top-level windows from the
// topmost down when root is null.
std::string DumpWindowTree(HWND root = nullptr);

// A top-level window of this or another process of the device, by class and/or title (either
// may be null); null when none appeared within the bound.
HWND WaitForTopLevelWindow(LPCWSTR className, LPCWSTR title, DWORD boundMs = kWindowBoundMs);

// Destroys every top-level window of the calling thread (for a test's tear-down).
void DestroyThreadWindows();

// The screen size of the device (the device settings) for this test process, while the device
// root in use stays: a test with a root of its own starts from that root's settings.
void SetScreenSize(int width, int height);

// UTF-8 of system text, for messages and dumps.
std::string Narrow(const std::u16string& text);

}  // namespace kvtest
