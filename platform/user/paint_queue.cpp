// Which windows wait for WM_PAINT. The drawing layer marks and clears them; the queue makes
// WM_PAINT for them after input and before timers.
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
