// Which windows wait for WM_PAINT and where windows show on the screen. The drawing layer
// marks and clears windows; the queue makes WM_PAINT for them after input and before timers.
#include <algorithm>
#include <atomic>

#include "internal/user/paint_link.h"
#include "window_internal.h"

namespace user_detail {

HWND WindowNeedingPaint(Lock& held, ThreadQueue& queue, HWND filter)
{
  for (auto& [generation, window] : state().windows)
    if (window && window->needsPaint && window->queue.get() == &queue && MatchesFilter(held, window->handle, filter))
      return window->handle;
  return nullptr;
}

namespace {

RECT Offset(RECT rect, POINT by)
{
  return RECT{rect.left + by.x, rect.top + by.y, rect.right + by.x, rect.bottom + by.y};
}

RECT Intersect(const RECT& a, const RECT& b)
{
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (r.right <= r.left || r.bottom <= r.top)
    return RECT{};
  return r;
}

RECT ScreenWindowRect(Lock& held, const Window& window)
{
  POINT origin = window.parent ? ClientOriginOnScreen(held, window.parent) : POINT{0, 0};
  return Offset(window.rect, origin);
}

RECT ScreenClientRect(Lock& held, const Window& window)
{
  RECT outer = ScreenWindowRect(held, window);
  RECT client{outer.left + window.insets.left, outer.top + window.insets.top, outer.right - window.insets.right,
              outer.bottom - window.insets.bottom};
  client.right = std::max(client.left, client.right);
  client.bottom = std::max(client.top, client.bottom);
  return client;
}

bool Shown(Lock& held, const Window& window)
{
  for (const Window* w = &window; w;) {
    if (!(w->style & WS_VISIBLE))
      return false;
    if (!w->parent)
      return true;
    auto parent = Find(held, w->parent);
    w = parent.get();
  }
  return false;
}

// Visible siblings in front of the window.
void AddSiblingsAbove(Lock& held, Window& window, std::vector<RECT>& covered)
{
  for (HWND sibling : SiblingList(held, window)) {
    if (sibling == window.handle)
      break;
    auto other = Find(held, sibling);
    if (other && (other->style & WS_VISIBLE))
      covered.push_back(ScreenWindowRect(held, *other));
  }
}

RECT VisibleBounds(Lock& held, Window& window, bool clientArea)
{
  RECT visible = clientArea ? ScreenClientRect(held, window) : ScreenWindowRect(held, window);
  for (auto parent = window.parent ? Find(held, window.parent) : nullptr; parent;
       parent = parent->parent ? Find(held, parent->parent) : nullptr)
    visible = Intersect(visible, ScreenClientRect(held, *parent));
  return visible;
}

std::atomic<const user_paint::Hooks*> g_hooks{nullptr};

}  // namespace

RECT ShownBounds(Lock& held, Window& window)
{
  return Shown(held, window) ? VisibleBounds(held, window, false) : RECT{};
}

void NotifyChanged(HWND hwnd, const RECT& before)
{
  if (auto hooks = g_hooks.load(); hooks && hooks->changed)
    hooks->changed(hwnd, before);
}

}  // namespace user_detail

using namespace user_detail;

void user_paint::SetNeedsPaint(HWND hwnd, bool needsPaint)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window || window->needsPaint == needsPaint)
    return;
  window->needsPaint = needsPaint;
  window->queue->paintCount += needsPaint ? 1 : -1;
  if (needsPaint)
    Wake(*window->queue);
}

bool user_paint::NeedsPaint(HWND hwnd)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  return window && window->needsPaint;
}

bool user_paint::GetGeometry(HWND hwnd, bool clientArea, Geometry* geometry)
{
  Lock held(state().lock);
  auto window = Find(held, hwnd);
  if (!window)
    return false;
  geometry->area = clientArea ? ScreenClientRect(held, *window) : ScreenWindowRect(held, *window);
  geometry->visible = VisibleBounds(held, *window, clientArea);
  geometry->shown = Shown(held, *window);
  geometry->covered.clear();
  for (HWND child : window->children) {
    auto other = Find(held, child);
    if (other && (other->style & WS_VISIBLE))
      geometry->covered.push_back(ScreenWindowRect(held, *other));
  }
  for (auto w = window; w; w = w->parent ? Find(held, w->parent) : nullptr)
    AddSiblingsAbove(held, *w, geometry->covered);
  return true;
}

std::vector<HWND> user_paint::WindowsOfProcess()
{
  Lock held(state().lock);
  std::vector<HWND> result;
  // Bottom-most top-level windows first, so a window's parent always comes before it.
  for (auto it = state().topLevel.rbegin(); it != state().topLevel.rend(); ++it) {
    size_t start = result.size();
    result.push_back(*it);
    for (size_t i = start; i < result.size(); ++i)
      if (auto window = Find(held, result[i]))
        result.insert(result.end(), window->children.begin(), window->children.end());
  }
  return result;
}

std::vector<HWND> user_paint::WindowAndDescendants(HWND hwnd)
{
  Lock held(state().lock);
  std::vector<HWND> result;
  if (!Find(held, hwnd))
    return result;
  result.push_back(hwnd);
  for (size_t i = 0; i < result.size(); ++i)
    if (auto window = Find(held, result[i]))
      result.insert(result.end(), window->children.begin(), window->children.end());
  return result;
}

void user_paint::SetHooks(const Hooks& hooks)
{
  static Hooks installed;
  installed = hooks;
  g_hooks = &installed;
}

const user_paint::Hooks* user_paint::GetHooks()
{
  return g_hooks.load();
}
