// Device contexts: making and freeing them, their attributes, their clip, and resolving one
// for drawing (surface, clip and origin).
#include <algorithm>
#include <utility>

#include "base/errors.h"
#include "base/lasterror.h"
#include "internal/gdi/device_context.h"
#include "internal/user/paint_link.h"
#include "objects_internal.h"
#include "user/user.h"

namespace gdi_detail {

namespace {

constexpr RECT kEverything{-0x7FFFFFF, -0x7FFFFFF, 0x7FFFFFF, 0x7FFFFFF};

// Adds `delta` to the selection count of each object a state holds selected.
void CountSelections(Lock& held, const DcState& state, int delta)
{
  for (HGDIOBJ handle : {state.brush, state.pen, state.font, state.bitmap})
    if (auto object = Lookup(held, handle))
      object->selections += delta;
}

std::shared_ptr<DeviceContext> NewDc(Lock& held, bool memory)
{
  auto dc = std::make_shared<DeviceContext>();
  dc->type = memory ? OBJ_MEMDC : OBJ_DC;
  dc->memory = memory;
  dc->state.brush = Stock(held, WHITE_BRUSH);
  dc->state.pen = Stock(held, BLACK_PEN);
  dc->state.font = Stock(held, SYSTEM_FONT);
  dc->state.bitmap = memory ? StockBitmap(held) : nullptr;
  CountSelections(held, dc->state, +1);
  return dc;
}

void ReleaseSelections(Lock& held, DeviceContext& dc)
{
  CountSelections(held, dc.state, -1);
  dc.state.brush = dc.state.pen = dc.state.font = dc.state.bitmap = nullptr;
}

// Frees a DC: its live and saved selections end, so that every object it held can be deleted.
void FreeDc(Lock& held, HDC handle, DeviceContext& dc)
{
  ReleaseSelections(held, dc);
  for (const DcState& saved : dc.saved)
    CountSelections(held, saved, -1);
  dc.saved.clear();
  Remove(held, handle);
}

void Refresh(DeviceContext& dc)
{
  uint64_t version = GeometryVersion();
  if (dc.memory || dc.version == version)
    return;
  dc.version = version;
  if (!dc.hwnd) {
    dc.visible = Region{RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
    dc.origin = POINT{0, 0};
    return;
  }
  dc.visible = VisibleRegion(dc.hwnd, !dc.wholeWindow, &dc.origin);
}

}  // namespace

Region VisibleRegion(HWND hwnd, bool clientArea, POINT* origin)
{
  user_paint::Geometry geometry;
  if (!user_paint::GetGeometry(hwnd, clientArea, &geometry)) {
    *origin = POINT{0, 0};
    return Region{};
  }
  *origin = POINT{geometry.area.left, geometry.area.top};
  if (!geometry.shown || IsEmpty(geometry.visible))
    return Region{};
  Region region{geometry.visible};
  for (const RECT& cut : geometry.covered)
    Subtract(region, cut);
  return region;
}

HDC MakeWindowDc(Lock& held, HWND hwnd, bool wholeWindow, const Region* clip)
{
  auto dc = NewDc(held, false);
  dc->hwnd = hwnd;
  dc->wholeWindow = wholeWindow;
  if (clip)
    dc->state.userClip = *clip;
  return static_cast<HDC>(Insert(held, dc));
}

bool Resolve(Lock& held, HDC handle, Target* target)
{
  if (!ResolveSource(held, handle, target))
    return false;
  DeviceContext& dc = *target->dc;
  if (dc.memory) {
    target->clip = Region{target->surface->Bounds()};
  } else {
    target->clip = dc.visible;
    IntersectWith(target->clip, target->surface->Bounds());
  }
  auto narrow = [&](const Region& inDc) {
    Region shifted = inDc;
    Shift(shifted, target->dcOrigin.x, target->dcOrigin.y);
    target->clip = Intersection(target->clip, shifted);
  };
  if (dc.state.userClip)
    narrow(*dc.state.userClip);
  for (const Region& pushed : dc.pushed)
    narrow(pushed);
  return true;
}

bool ResolveSource(Lock& held, HDC handle, Target* target)
{
  auto dc = LookupAs<DeviceContext>(held, handle);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  target->dc = dc;
  if (dc->memory) {
    target->keep = LookupAs<Bitmap>(held, dc->state.bitmap);
    if (!target->keep)
      return false;
    target->dcOrigin = POINT{0, 0};
  } else {
    Refresh(*dc);
    target->keep = ScreenBitmap(held);
    target->dcOrigin = dc->origin;
  }
  target->surface = &target->keep->surface;
  target->shift = POINT{Saturated(int64_t{target->dcOrigin.x} + dc->state.viewport.x),
                        Saturated(int64_t{target->dcOrigin.y} + dc->state.viewport.y)};
  return true;
}

}  // namespace gdi_detail

using namespace gdi_detail;

namespace {

// Runs an action on the DC under the drawing lock; `failed` for a bad handle.
template <class Result, class Action>
Result WithDc(HDC handle, Result failed, Action action)
{
  Lock held(GdiLock());
  auto dc = LookupAs<DeviceContext>(held, handle);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return failed;
  }
  return action(*dc);
}

HDC WindowDc(HWND hwnd, bool wholeWindow)
{
  if (hwnd && hwnd != GetDesktopWindow() && !IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  if (hwnd == GetDesktopWindow())
    hwnd = nullptr;
  Lock held(GdiLock());
  return MakeWindowDc(held, hwnd, wholeWindow, nullptr);
}

// The DC's current clip region in its own (device) coordinates, for narrowing.
Region CurrentUserClip(const DeviceContext& dc)
{
  return dc.state.userClip ? *dc.state.userClip : Region{kEverything};
}

int RegionKind(const Region& region)
{
  return region.empty() ? NULLREGION : region.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

// Sets a point of the DC's state (an origin), giving the previous one back when asked.
BOOL SetPoint(HDC dc, POINT DcState::*member, POINT value, LPPOINT previous)
{
  return WithDc(dc, FALSE, [&](DeviceContext& c) {
    if (previous)
      *previous = c.state.*member;
    c.state.*member = value;
    return TRUE;
  });
}

BOOL GetPoint(HDC dc, POINT DcState::*member, LPPOINT out)
{
  return WithDc(dc, FALSE, [&](DeviceContext& c) {
    if (!out)
      return FALSE;
    *out = c.state.*member;
    return TRUE;
  });
}

// Narrows the DC's own clip by a logical rectangle: `combine` is IntersectWith or Subtract.
int NarrowUserClip(HDC dc, const RECT& logical, void (*combine)(Region&, const RECT&))
{
  return WithDc(dc, ERROR, [&](DeviceContext& c) {
    Region clip = CurrentUserClip(c);
    combine(clip, Shifted(logical, c.state.viewport.x, c.state.viewport.y));
    c.state.userClip = clip;
    return RegionKind(clip);
  });
}

}  // namespace

HDC GetDC(HWND hwnd)
{
  return WindowDc(hwnd, false);
}

HDC GetWindowDC(HWND hwnd)
{
  return WindowDc(hwnd, true);
}

int ReleaseDC(HWND, HDC handle)
{
  Lock held(GdiLock());
  auto dc = LookupAs<DeviceContext>(held, handle);
  if (!dc || dc->memory)
    return 0;
  FreeDc(held, handle, *dc);
  return 1;
}

HWND WindowFromDC(HDC handle)
{
  return WithDc(handle, static_cast<HWND>(nullptr), [](DeviceContext& dc) { return dc.hwnd; });
}

HDC CreateCompatibleDC(HDC)
{
  Lock held(GdiLock());
  return static_cast<HDC>(Insert(held, NewDc(held, true)));
}

BOOL DeleteDC(HDC handle)
{
  Lock held(GdiLock());
  auto dc = LookupAs<DeviceContext>(held, handle);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  FreeDc(held, handle, *dc);
  return TRUE;
}

COLORREF SetTextColor(HDC dc, COLORREF color)
{
  return WithDc(dc, CLR_INVALID, [&](DeviceContext& c) { return std::exchange(c.state.textColor, color & 0xFFFFFF); });
}

COLORREF GetTextColor(HDC dc)
{
  return WithDc(dc, CLR_INVALID, [](DeviceContext& c) { return c.state.textColor; });
}

COLORREF SetBkColor(HDC dc, COLORREF color)
{
  return WithDc(dc, CLR_INVALID,
                [&](DeviceContext& c) { return std::exchange(c.state.backgroundColor, color & 0xFFFFFF); });
}

COLORREF GetBkColor(HDC dc)
{
  return WithDc(dc, CLR_INVALID, [](DeviceContext& c) { return c.state.backgroundColor; });
}

int SetBkMode(HDC dc, int mode)
{
  if (mode != TRANSPARENT && mode != OPAQUE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  return WithDc(dc, 0, [&](DeviceContext& c) { return std::exchange(c.state.backgroundMode, mode); });
}

int GetBkMode(HDC dc)
{
  return WithDc(dc, 0, [](DeviceContext& c) { return c.state.backgroundMode; });
}

UINT SetTextAlign(HDC dc, UINT align)
{
  return WithDc(dc, static_cast<UINT>(-1), [&](DeviceContext& c) { return std::exchange(c.state.textAlign, align); });
}

UINT GetTextAlign(HDC dc)
{
  return WithDc(dc, static_cast<UINT>(-1), [](DeviceContext& c) { return c.state.textAlign; });
}

BOOL SetBrushOrgEx(HDC dc, int x, int y, LPPOINT previous)
{
  return SetPoint(dc, &DcState::brushOrigin, POINT{x, y}, previous);
}

BOOL GetBrushOrgEx(HDC dc, LPPOINT origin)
{
  return GetPoint(dc, &DcState::brushOrigin, origin);
}

BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous)
{
  return SetPoint(dc, &DcState::viewport, POINT{x, y}, previous);
}

BOOL GetViewportOrgEx(HDC dc, LPPOINT origin)
{
  return GetPoint(dc, &DcState::viewport, origin);
}

int IntersectClipRect(HDC dc, int left, int top, int right, int bottom)
{
  return NarrowUserClip(dc, RECT{left, top, right, bottom}, IntersectWith);
}

int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom)
{
  return NarrowUserClip(dc, RECT{left, top, right, bottom}, Subtract);
}

int GetClipBox(HDC dc, LPRECT rect)
{
  if (!rect)
    return ERROR;
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return ERROR;
  RECT bounds = Bounds(target.clip);
  *rect = IsEmpty(bounds) ? RECT{} : Shifted(bounds, Saturated(-int64_t{target.shift.x}), Saturated(-int64_t{target.shift.y}));
  return RegionKind(target.clip);
}

int SaveDC(HDC dc)
{
  Lock held(GdiLock());
  auto c = LookupAs<DeviceContext>(held, dc);
  if (!c)
    return 0;
  c->saved.push_back(c->state);
  CountSelections(held, c->state, +1);
  return static_cast<int>(c->saved.size());
}

BOOL RestoreDC(HDC dc, int level)
{
  Lock held(GdiLock());
  auto c = LookupAs<DeviceContext>(held, dc);
  if (!c)
    return FALSE;
  int count = static_cast<int>(c->saved.size());
  if (level < 0)
    level = count + 1 + level;
  if (level < 1 || level > count)
    return FALSE;
  while (static_cast<int>(c->saved.size()) >= level) {
    ReleaseSelections(held, *c);
    c->state = c->saved.back();  // the saved selections' counts move to the live state
    c->saved.pop_back();
  }
  return TRUE;
}

bool gdi_dc::ReadTextState(HDC dc, TextState* out)
{
  Lock held(GdiLock());
  auto c = LookupAs<DeviceContext>(held, dc);
  if (!c || !out)
    return false;
  auto font = LookupAs<Font>(held, c->state.font);
  out->font = font ? FontRecord(*font) : LOGFONTW{};
  out->textColor = c->state.textColor;
  out->backgroundColor = c->state.backgroundColor;
  out->backgroundMode = c->state.backgroundMode;
  out->textAlign = c->state.textAlign;
  out->currentPosition = c->state.position;
  out->dpi = ScreenDpi();
  return true;
}

bool gdi_dc::SetCurrentPosition(HDC dc, POINT position)
{
  return WithDc(dc, false, [&](DeviceContext& c) {
    c.state.position = position;
    return true;
  });
}

bool gdi_dc::PushClip(HDC dc, const RECT& rect)
{
  return WithDc(dc, false, [&](DeviceContext& c) {
    c.pushed.push_back(Region{Shifted(rect, c.state.viewport.x, c.state.viewport.y)});
    return true;
  });
}

bool gdi_dc::PopClip(HDC dc)
{
  return WithDc(dc, false, [](DeviceContext& c) {
    if (c.pushed.empty())
      return false;
    c.pushed.pop_back();
    return true;
  });
}
