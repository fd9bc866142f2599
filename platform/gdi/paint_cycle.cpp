// The paint cycle: update regions, invalidation and validation, exposure when windows move,
// hide or are destroyed, BeginPaint and EndPaint, and the default painting of windows.
#include <algorithm>
#include <cstdio>
#include <map>
#include <mutex>

#include "base/errors.h"
#include "base/lasterror.h"
#include "internal/boot/device_start.h"
#include "internal/user/paint_link.h"
#include "nonclient.h"
#include "objects_internal.h"
#include "user/user.h"

using namespace gdi_detail;

namespace {

struct Update {
  Region region;  // client coordinates
  bool erase = false;
};

// Guarded by the drawing lock.
std::map<HWND, Update>& Updates()
{
  static auto* updates = new std::map<HWND, Update>;
  return *updates;
}

RECT ClientBounds(HWND hwnd)
{
  RECT client{};
  GetClientRect(hwnd, &client);
  return client;
}

// Adds a client-coordinates rectangle to a shown window's update region and marks it for
// WM_PAINT. The lock held.
void AddToUpdate(Lock&, HWND hwnd, const RECT& rect, bool erase)
{
  if (!IsWindowVisible(hwnd))
    return;
  RECT area = Intersection(rect, ClientBounds(hwnd));
  if (IsEmpty(area))
    return;
  Update& update = Updates()[hwnd];
  Add(update.region, area);
  update.erase = update.erase || erase;
  user_paint::SetNeedsPaint(hwnd, true);
}

void Forget(Lock&, HWND hwnd)
{
  Updates().erase(hwnd);
  user_paint::SetNeedsPaint(hwnd, false);
}

// Takes the part of a screen rectangle that a window shows into its update region.
void Expose(Lock& held, HWND hwnd, const RECT& screen)
{
  POINT origin;
  Region visible = VisibleRegion(hwnd, true, &origin);
  IntersectWith(visible, screen);
  for (const RECT& part : visible)
    AddToUpdate(held, hwnd, Shifted(part, Saturated(-int64_t{origin.x}), Saturated(-int64_t{origin.y})), true);
}

// A window's visible area changed: the window and its descendants are redrawn whole, and
// what it showed before is redrawn by the windows that show there now.
void Changed(HWND hwnd, const RECT& before)
{
  BumpGeometryVersion();
  std::vector<HWND> subtree = user_paint::WindowAndDescendants(hwnd);
  Lock held(GdiLock());
  // Entries of destroyed windows go (their handles never come back).
  for (auto it = Updates().begin(); it != Updates().end();)
    it = IsWindow(it->first) ? std::next(it) : Updates().erase(it);
  bool shown = IsWindowVisible(hwnd);
  for (HWND window : subtree) {
    if (shown)
      AddToUpdate(held, window, ClientBounds(window), true);
    else
      Forget(held, window);
  }
  if (IsEmpty(before))
    return;
  for (HWND window : user_paint::WindowsOfProcess())
    if (std::find(subtree.begin(), subtree.end(), window) == subtree.end())
      Expose(held, window, before);
}

void DefaultPaint(HWND hwnd)
{
  PAINTSTRUCT paint;
  if (BeginPaint(hwnd, &paint))
    EndPaint(hwnd, &paint);
}

void LeftInvalid(HWND hwnd)
{
  {
    Lock held(GdiLock());
    Forget(held, hwnd);
  }
  std::fprintf(stderr, "gdi: window %p left WM_PAINT without validating; taken as painted\n",
               static_cast<void*>(hwnd));
}

LRESULT FillClient(HWND hwnd, HDC dc, HBRUSH brush)
{
  if (!brush || !dc)
    return 0;
  RECT client = ClientBounds(hwnd);
  return FillRect(dc, &client, brush) ? 1 : 0;
}

LRESULT DefaultErase(HWND hwnd, HDC dc)
{
  return FillClient(hwnd, dc, reinterpret_cast<HBRUSH>(GetClassLongPtrW(hwnd, GCLP_HBRBACKGROUND)));
}

HBRUSH SystemColour(HDC dc, int colourIndex)
{
  SetBkColor(dc, GetSysColor(colourIndex));
  return GetSysColorBrush(colourIndex);
}

}  // namespace

// The window manager calls these from the device's start on.
void device_start::InstallWindowPainting()
{
  static std::once_flag once;
  std::call_once(once, [] {
    user_paint::Hooks hooks;
    hooks.changed = Changed;
    hooks.defaultPaint = DefaultPaint;
    hooks.leftInvalid = LeftInvalid;
    hooks.defaultErase = DefaultErase;
    hooks.fillClient = FillClient;
    hooks.systemColour = SystemColour;
    user_paint::SetHooks(hooks);
  });
}

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase)
{
  if (!hwnd) {
    Lock held(GdiLock());
    for (HWND window : user_paint::WindowsOfProcess())
      AddToUpdate(held, window, ClientBounds(window), erase != FALSE);
    return TRUE;
  }
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Lock held(GdiLock());
  AddToUpdate(held, hwnd, rect ? *rect : ClientBounds(hwnd), erase != FALSE);
  return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect)
{
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  Lock held(GdiLock());
  auto it = Updates().find(hwnd);
  if (it == Updates().end())
    return TRUE;
  if (rect)
    Subtract(it->second.region, *rect);
  else
    it->second.region.clear();
  if (it->second.region.empty())
    Forget(held, hwnd);
  return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL)
{
  Lock held(GdiLock());
  auto it = Updates().find(hwnd);
  RECT bounds = it == Updates().end() ? RECT{} : Bounds(it->second.region);
  if (rect)
    *rect = bounds;
  return !IsEmpty(bounds);
}

BOOL UpdateWindow(HWND hwnd)
{
  if (!IsWindow(hwnd))
    return FALSE;
  if (user_paint::NeedsPaint(hwnd))
    SendMessageW(hwnd, WM_PAINT, 0, 0);
  return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN, UINT flags)
{
  std::vector<HWND> windows = (flags & RDW_ALLCHILDREN) ? user_paint::WindowAndDescendants(hwnd) : std::vector<HWND>{hwnd};
  for (HWND window : windows) {
    const RECT* area = window == hwnd ? rect : nullptr;
    if (flags & RDW_INVALIDATE)
      InvalidateRect(window, area, (flags & RDW_ERASE) != 0);
    if (flags & RDW_VALIDATE)
      ValidateRect(window, area);
  }
  if (flags & RDW_UPDATENOW)
    for (HWND window : windows)
      UpdateWindow(window);
  return TRUE;
}

HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint)
{
  if (!paint || !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  Update update;
  HDC dc;
  {
    Lock held(GdiLock());
    auto it = Updates().find(hwnd);
    if (it != Updates().end())
      update = std::move(it->second);
    Forget(held, hwnd);
    dc = MakeWindowDc(held, hwnd, false, &update.region);
  }
  if (update.erase)
    PaintNonClient(hwnd);
  *paint = PAINTSTRUCT{};
  paint->hdc = dc;
  paint->rcPaint = Bounds(update.region);
  paint->fErase = update.erase;
  if (update.erase && SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0))
    paint->fErase = FALSE;
  return dc;
}

BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint)
{
  if (!paint)
    return FALSE;
  ReleaseDC(hwnd, paint->hdc);
  return TRUE;
}
