// What the test harness (platform/testing) needs of the window manager beyond the device's
// own calls: timers for virtual time, input injection at the device's input source, idle detection
// and how a message reached a window procedure. Not for system code.
#pragma once

#include <cstdint>
#include <string>

#include "user/user.h"

namespace user_test {

// The earliest time on the device clock that a timer of any thread is due; UINT64_MAX when
// there is none.
uint64_t NextTimerDue();

// Input as the device's touch screen and keys produce it. Pointer input goes to the capture
// window or else to the window under the point; key input to the foreground thread's focus
// window (or its active window when nothing has the focus).
enum class Pointer { down, move, up };
void InjectPointer(Pointer action, POINT screen);
void InjectKey(UINT virtualKey, bool down);
// One character of text, as a text-entry key produces it (WM_KEYDOWN, WM_CHAR, WM_KEYUP).
void InjectCharacter(char16_t character);
// The window key input goes to now (null when none).
HWND KeyboardTarget();
// Text composed by the input method: to a focus window with an input context as
// WM_IME_COMPOSITION then the key-up of the composing key; to one without, as WM_CHAR.
void InjectImeText(const std::u16string& text, UINT composingKey);

// Key and text input for another process of the device (the one that owns window), at its
// input source as its own keyboard gives it: to its foreground thread's focus window. false when
// that process does not answer.
enum class RemoteInput : uint32_t { keyDown = 0, keyUp = 1, character = 2 };
bool InjectInProcessOf(HWND window, RemoteInput kind, uint32_t value);
// The control id of the window that key input of that process goes to now; -1 when nothing
// takes it, the window is not shown or the process does not answer.
int KeyboardTargetIdInProcessOf(HWND window);
// Whether every thread of that process that takes messages waits with nothing to take, waiting
// there up to boundMs; false after the bound or when the process does not answer.
bool WaitUntilProcessIdle(HWND window, uint32_t boundMs);
// A screenshot of that process's screen, which it writes itself as a PNG file at a host path;
// false when it does not answer or could not write it.
bool SaveScreenshotInProcessOf(HWND window, const std::string& hostPath);
// How this process writes its screen when another process asks for a screenshot: set by the
// display at the device's start (without it, such a request fails).
void SetScreenshotWriter(bool (*writer)(const std::string& hostPath));

// Whether every thread that has a message queue (except the caller) waits for messages with
// none to take. Waits up to boundMs for that; false when the bound passed first.
bool WaitUntilOtherThreadsIdle(uint32_t boundMs);
// Whether the calling thread's queue has anything to take now (sent, posted, input, paint,
// a due timer). Makes no queue.
bool CurrentThreadHasWork();

// How the message being handled by the innermost window procedure call of this thread came.
enum Delivery : unsigned { sent = 1, posted = 2, defwinproc = 4 };
unsigned CurrentDelivery();

// For the window-tree dump: the focus and active state of a window within its own thread, and
// its text (through WM_GETTEXT when its thread is the caller or waits for messages, else the
// text the window manager keeps, so that a thread blocked elsewhere does not block the dump).
bool IsFocusOfItsThread(HWND hwnd);
bool IsActiveOfItsThread(HWND hwnd);
std::u16string WindowText(HWND hwnd);
bool IsOwnedByCallingThread(HWND hwnd);

// The calling thread's id as windows and queues know it.
DWORD CurrentThreadId();
// Messages sent to the window's thread that it has not taken yet.
size_t PendingSends(HWND hwnd);

// The screen size (device settings) for this process while the device root in use stays.
void SetScreenSize(int width, int height);

}  // namespace user_test
