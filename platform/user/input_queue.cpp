// Pointer and key input: where it goes, the messages it becomes, key state, double taps.
#include <algorithm>
#include <cstdlib>
#include <map>

#include "class_table.h"
#include "kernel/clock.h"
#include "input_queue.h"
#include "internal/user/test_hooks.h"
#include "window_internal.h"

namespace user_detail {
namespace {

constexpr DWORD kStaticNotify = 0x0100;  // SS_NOTIFY
constexpr UINT kDoubleTapMs = 500;

struct LastTap {
  HWND hwnd = nullptr;
  uint64_t time = 0;
  POINT point{};
};

struct InputState {
  LastTap lastTap;
  std::map<HIMC, std::u16string> compositions;
};

InputState& input()
{
  static InputState* shared = new InputState;
  return *shared;
}

bool Contains(const RECT& rect, POINT point)
{
  return point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom;
}

RECT ScreenRectOf(Lock& held, Window& window)
{
  POINT origin = window.parent ? ClientOriginOnScreen(held, window.parent) : POINT{0, 0};
  return RECT{window.rect.left + origin.x, window.rect.top + origin.y, window.rect.right + origin.x,
              window.rect.bottom + origin.y};
}

bool LetsTapThrough(Window& window)
{
  return EqualNoCase(window.cls->name, u"STATIC") && !(window.style & kStaticNotify);
}

HWND ChildHit(Lock& held, Window& window, POINT screen)
{
  for (HWND childHandle : window.children) {
    auto child = Find(held, childHandle);
    if (!child || !(child->style & WS_VISIBLE) || !Contains(ScreenRectOf(held, *child), screen))
      continue;
    if (child->style & WS_DISABLED)
      return window.handle;
    if (LetsTapThrough(*child))
      continue;
    return ChildHit(held, *child, screen);
  }
  return window.handle;
}

void PushInput(Lock&, ThreadQueue& queue, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  queue.input.push_back(MSG{hwnd, message, wParam, lParam, static_cast<DWORD>(kernel::clock::Now()), state().cursor});
  Wake(queue);
}

// The window that key input goes to: the foreground thread's focus, else its active window.
std::shared_ptr<Window> KeyTarget(Lock& held)
{
  auto foreground = state().foreground ? Find(held, state().foreground) : nullptr;
  if (!foreground)
    return nullptr;
  auto& queue = *foreground->queue;
  if (auto focus = queue.focus ? Find(held, queue.focus) : nullptr)
    return focus;
  return queue.active ? Find(held, queue.active) : nullptr;
}

bool IsExtendedKey(UINT key)
{
  return (key >= VK_PRIOR && key <= VK_DOWN) || key == VK_INSERT || key == VK_DELETE;
}

void SetKeyDown(UINT key, bool down)
{
  BYTE& entry = state().keyState[key & 0xff];
  if (down && !(entry & 0x80))
    entry ^= 0x01;  // toggled on each press
  entry = static_cast<BYTE>(down ? (entry | 0x80) : (entry & ~0x80));
}

bool ClassHasDoubleTaps(Window& window)
{
  return (window.cls->info.style & CS_DBLCLKS) != 0;
}

UINT NonClientMessage(UINT message)
{
  switch (message) {
  case WM_LBUTTONDOWN: return WM_NCLBUTTONDOWN;
  case WM_LBUTTONUP: return WM_NCLBUTTONUP;
  default: return WM_NCMOUSEMOVE;
  }
}

}  // namespace

std::u16string CompositionResult(HIMC context)
{
  Lock held(state().lock);
  auto it = input().compositions.find(context);
  return it == input().compositions.end() ? std::u16string() : it->second;
}

HWND HitTest(Lock& held, POINT screen)
{
  for (HWND top : state().topLevel) {
    auto window = Find(held, top);
    if (!window || !(window->style & WS_VISIBLE) || !Contains(ScreenRectOf(held, *window), screen))
      continue;
    if (window->style & WS_DISABLED)
      return nullptr;
    return ChildHit(held, *window, screen);
  }
  return nullptr;
}

}  // namespace user_detail

using namespace user_detail;

void user_test::InjectPointer(Pointer action, POINT screen)
{
  Lock held(state().lock);
  state().cursor = screen;
  SetKeyDown(VK_LBUTTON, action == Pointer::down || (action == Pointer::move && (state().keyState[VK_LBUTTON] & 0x80)));
  HWND capture = state().capture && Find(held, state().capture) ? state().capture : nullptr;
  HWND target = capture ? capture : HitTest(held, screen);
  auto window = target ? Find(held, target) : nullptr;
  if (!window)
    return;
  // Input in a window's frame (where its own scroll bars lie) and input for a gesture on one of
  // its bars come as non-client messages with the screen point: the window's thread asks the
  // window what lies there (WM_NCHITTEST) when it takes the message, unless the bar's capture
  // already says.
  int barHit = BarCaptureHit(held, capture);
  bool nonClient = barHit != HTNOWHERE || (!capture && !Contains(ClientRectOnScreen(held, *window), screen));
  POINT origin = ClientOriginOnScreen(held, target);
  LPARAM lParam = MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(screen.x - origin.x)),
                             static_cast<WORD>(static_cast<SHORT>(screen.y - origin.y)));
  UINT message = WM_MOUSEMOVE;
  WPARAM buttons = (state().keyState[VK_LBUTTON] & 0x80) ? MK_LBUTTON : 0;
  if (action == Pointer::up) {
    message = WM_LBUTTONUP;
  } else if (action == Pointer::down) {
    message = WM_LBUTTONDOWN;
    LastTap& last = input().lastTap;
    uint64_t now = kernel::clock::Now();
    if (nonClient) {
      last.hwnd = nullptr;
    } else if (ClassHasDoubleTaps(*window) && last.hwnd == target && now - last.time <= kDoubleTapMs &&
               std::abs(screen.x - last.point.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
               std::abs(screen.y - last.point.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2) {
      message = WM_LBUTTONDBLCLK;
      last.hwnd = nullptr;
    } else {
      last = LastTap{target, now, screen};
    }
    // A tap activates the window's top-level window, unless a window on the way declines it.
    bool declines = false;
    for (auto w = window; w; w = w->parent ? Find(held, w->parent) : nullptr)
      declines = declines || (w->exStyle & WS_EX_NOACTIVATE);
    HWND top = TopLevelOf(held, target);
    auto topWindow = Find(held, top);
    if (!declines && topWindow && (topWindow->queue->active != top || state().foreground != top))
      QueueAction(held, *topWindow->queue, [top] {
        if (IsWindow(top))
          ActivateOnThisThread(top, true);
      });
  }
  if (nonClient)
    PushInput(held, *window->queue, target, NonClientMessage(message), static_cast<WPARAM>(barHit), MAKELPARAM(screen.x, screen.y));
  else
    PushInput(held, *window->queue, target, message, buttons, lParam);
}

void user_test::InjectKey(UINT virtualKey, bool down)
{
  Lock held(state().lock);
  bool wasDown = (state().keyState[virtualKey & 0xff] & 0x80) != 0;
  SetKeyDown(virtualKey, down);
  auto target = KeyTarget(held);
  if (!target)
    return;
  DWORD lParam = 1;
  if (IsExtendedKey(virtualKey))
    lParam |= 1u << 24;
  if (!down)
    lParam |= 0xC0000000u;
  else if (wasDown)
    lParam |= 0x40000000u;  // auto-repeat: the key was already down
  PushInput(held, *target->queue, target->handle, down ? WM_KEYDOWN : WM_KEYUP, virtualKey,
            static_cast<LPARAM>(lParam));
}

HWND user_test::KeyboardTarget()
{
  Lock held(state().lock);
  auto target = KeyTarget(held);
  return target ? target->handle : nullptr;
}

void user_test::InjectCharacter(char16_t character)
{
  Lock held(state().lock);
  auto target = KeyTarget(held);
  if (!target)
    return;
  PushInput(held, *target->queue, target->handle, WM_KEYDOWN, VK_PACKET, 1);
  PushInput(held, *target->queue, target->handle, WM_CHAR, character, 1);
  PushInput(held, *target->queue, target->handle, WM_KEYUP, VK_PACKET, static_cast<LPARAM>(0xC0000001u));
}

void user_test::InjectImeText(const std::u16string& text, UINT composingKey)
{
  if (text.empty())
    return;
  Lock held(state().lock);
  auto target = KeyTarget(held);
  if (!target)
    return;
  if (target->inputContext) {
    input().compositions[target->inputContext] = text;
    PushInput(held, *target->queue, target->handle, WM_IME_COMPOSITION, text.back(), GCS_RESULTSTR);
    PushInput(held, *target->queue, target->handle, WM_KEYUP, composingKey, static_cast<LPARAM>(0xC0000001u));
  } else {
    for (char16_t character : text)
      PushInput(held, *target->queue, target->handle, WM_CHAR, character, 1);
  }
}

SHORT GetKeyState(int virtualKey)
{
  Lock held(state().lock);
  BYTE entry = state().keyState[virtualKey & 0xff];
  return static_cast<SHORT>(((entry & 0x80) ? 0x8000 : 0) | (entry & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey)
{
  Lock held(state().lock);
  return static_cast<SHORT>((state().keyState[virtualKey & 0xff] & 0x80) ? 0x8000 : 0);
}

UINT GetDoubleClickTime()
{
  return kDoubleTapMs;
}

HWND WindowFromPoint(POINT point)
{
  Lock held(state().lock);
  return HitTest(held, point);
}

HWND ChildWindowFromPoint(HWND parent, POINT point)
{
  Lock held(state().lock);
  auto window = Find(held, parent);
  if (!window)
    return nullptr;
  POINT origin = ClientOriginOnScreen(held, parent);
  POINT screen{point.x + origin.x, point.y + origin.y};
  if (!Contains(ScreenRectOf(held, *window), screen))
    return nullptr;
  for (HWND childHandle : window->children) {
    auto child = Find(held, childHandle);
    if (child && Contains(ScreenRectOf(held, *child), screen))
      return childHandle;
  }
  return parent;
}

BOOL GetCursorPos(LPPOINT point)
{
  if (!point)
    return FALSE;
  Lock held(state().lock);
  *point = state().cursor;
  return TRUE;
}
