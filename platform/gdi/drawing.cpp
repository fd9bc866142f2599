// Fills, frames, lines, polygons and pixels through a device context.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/errors.h"
#include "base/lasterror.h"
#include "painter.h"

using namespace gdi_detail;

namespace {

// A brush handle, or a system colour index plus one as window classes give it.
HBRUSH BrushFromHandle(HBRUSH brush)
{
  auto value = reinterpret_cast<uintptr_t>(brush);
  if (value > 0 && value <= 32)
    return GetSysColorBrush(static_cast<int>(value) - 1);
  return brush;
}

std::shared_ptr<Pen> SelectedPen(Lock& held, const Target& target)
{
  return LookupAs<Pen>(held, target.dc->state.pen);
}

// One pen dot: a square of the pen's width centred on the point.
void PenDot(Target& target, const Pen& pen, int x, int y)
{
  uint32_t pixel = ToPixel(pen.color);
  if (pen.width <= 1) {
    if (uint32_t* p = PixelAt(target, x, y))
      *p = pixel;
    return;
  }
  int half = pen.width / 2;
  RECT dot = Shifted(SpanRect(Saturated(int64_t{x} - half), Saturated(int64_t{y} - half), pen.width, pen.width),
                     target.shift.x, target.shift.y);
  ForEachClipped(target, dot, [&](const RECT& part) { FillSolid(*target.surface, part, pixel); });
}

// The clip's bounds in logical coordinates, grown by `margin` on every side (64-bit: a far
// viewport origin may put them beyond int).
struct Box {
  int64_t left, top, right, bottom;
};
Box ReachOf(const Target& target, int64_t margin)
{
  RECT b = Bounds(target.clip);
  return Box{int64_t{b.left} - target.shift.x - margin, int64_t{b.top} - target.shift.y - margin,
             int64_t{b.right} - target.shift.x + margin, int64_t{b.bottom} - target.shift.y + margin};
}

// Cuts the segment to the part inside the box (Liang and Barsky's way); false when none is.
// `skipped` counts the steps cut from its start, so that dashes keep their phase.
bool CutToBox(const Box& box, POINT& from, POINT& to, int64_t* skipped)
{
  auto inside = [&](POINT p) { return p.x >= box.left && p.x <= box.right && p.y >= box.top && p.y <= box.bottom; };
  *skipped = 0;
  if (inside(from) && inside(to))
    return true;
  double x0 = from.x, y0 = from.y, dx = double(to.x) - from.x, dy = double(to.y) - from.y;
  double t0 = 0, t1 = 1;
  auto edge = [&](double p, double q) {
    if (p == 0)
      return q >= 0;
    double t = q / p;
    if (p < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    return t0 <= t1;
  };
  if (!edge(-dx, x0 - box.left) || !edge(dx, box.right - x0) || !edge(-dy, y0 - box.top) || !edge(dy, box.bottom - y0))
    return false;
  POINT start{static_cast<LONG>(std::lround(x0 + t0 * dx)), static_cast<LONG>(std::lround(y0 + t0 * dy))};
  POINT end{static_cast<LONG>(std::lround(x0 + t1 * dx)), static_cast<LONG>(std::lround(y0 + t1 * dy))};
  *skipped = std::max(std::abs(int64_t{start.x} - from.x), std::abs(int64_t{start.y} - from.y));
  from = start;
  to = end;
  return true;
}

// The line from one point up to (not including) the other, Bresenham's way. Only the part
// near the clip is walked: a line from far away costs no more than one across the surface.
void DrawLine(Target& target, const Pen& pen, POINT from, POINT to)
{
  if (pen.style == PS_NULL || target.clip.empty())
    return;
  int64_t skipped = 0;
  if (!CutToBox(ReachOf(target, int64_t{pen.width} + 1), from, to, &skipped))
    return;
  int64_t dx = std::abs(int64_t{to.x} - from.x), sx = from.x < to.x ? 1 : -1;
  int64_t dy = -std::abs(int64_t{to.y} - from.y), sy = from.y < to.y ? 1 : -1;
  int64_t error = dx + dy;
  int x = from.x, y = from.y;
  for (int64_t step = skipped; x != to.x || y != to.y; ++step) {
    if (pen.style != PS_DASH || (step / 4) % 2 == 0)
      PenDot(target, pen, x, y);
    int64_t e2 = 2 * error;
    if (e2 >= dy) {
      error += dy;
      x += sx;
    }
    if (e2 <= dx) {
      error += dx;
      y += sy;
    }
  }
}

// Fills the inside of a polygon (even-odd rule, pixel centres) with the brush.
void FillPolygon(Target& target, const Brush& brush, const POINT* points, int count)
{
  if (brush.style == BS_NULL || count < 3 || target.clip.empty())
    return;
  int64_t top = points[0].y, bottom = points[0].y;
  for (int i = 1; i < count; ++i) {
    top = std::min<int64_t>(top, points[i].y);
    bottom = std::max<int64_t>(bottom, points[i].y);
  }
  // Only the rows and columns near the clip are worked out.
  const Box reach = ReachOf(target, 1);
  top = std::max(top, reach.top);
  bottom = std::min(bottom, reach.bottom);
  std::vector<int> crossings;
  for (int64_t y = top; y < bottom; ++y) {
    double cy = static_cast<double>(y) + 0.5;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      POINT a = points[i], b = points[(i + 1) % count];
      if ((a.y <= cy) == (b.y <= cy))
        continue;
      double x = a.x + (cy - a.y) * (double(b.x) - a.x) / (double(b.y) - a.y);
      x = std::clamp(x + 0.5, static_cast<double>(reach.left), static_cast<double>(reach.right));
      crossings.push_back(Saturated(static_cast<int64_t>(x)));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2)
      FillWithBrush(target, RECT{crossings[i], static_cast<LONG>(y), crossings[i + 1], static_cast<LONG>(y + 1)}, brush);
  }
}

// Runs draw(target, rect, brush) for FillRect and FrameRect: 0 for a bad DC, rectangle or brush.
template <class Draw>
int WithBrush(HDC dc, const RECT* rect, HBRUSH brushHandle, Draw draw)
{
  brushHandle = BrushFromHandle(brushHandle);
  Lock held(GdiLock());
  Target target;
  auto brush = LookupAs<Brush>(held, brushHandle);
  if (!rect || !brush || !Resolve(held, dc, &target)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  draw(target, *rect, *brush);
  return 1;
}

// Draws a run of points with the selected pen; a closed run is a polygon, filled with the
// selected brush and outlined back to its first point.
BOOL DrawPoints(HDC dc, const POINT* points, int count, bool closed)
{
  if (!points || count < 2)
    return FALSE;
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return FALSE;
  if (closed)
    if (auto brush = LookupAs<Brush>(held, target.dc->state.brush))
      FillPolygon(target, *brush, points, count);
  if (auto pen = SelectedPen(held, target)) {
    int edges = closed ? count : count - 1;
    for (int i = 0; i < edges; ++i)
      DrawLine(target, *pen, points[i], points[(i + 1) % count]);
  }
  return TRUE;
}

}  // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush)
{
  return WithBrush(dc, rect, brush,
                   [](Target& target, const RECT& r, const Brush& b) { FillWithBrush(target, r, b); });
}

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush)
{
  return WithBrush(dc, rect, brush, [](Target& target, const RECT& r, const Brush& b) {
    if (IsEmpty(r))
      return;
    FillWithBrush(target, RECT{r.left, r.top, r.right, r.top + 1}, b);
    FillWithBrush(target, RECT{r.left, r.bottom - 1, r.right, r.bottom}, b);
    FillWithBrush(target, RECT{r.left, r.top + 1, r.left + 1, r.bottom - 1}, b);
    FillWithBrush(target, RECT{r.right - 1, r.top + 1, r.right, r.bottom - 1}, b);
  });
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return FALSE;
  auto brush = LookupAs<Brush>(held, target.dc->state.brush);
  auto pen = SelectedPen(held, target);
  if (right < left)
    std::swap(left, right);
  if (bottom < top)
    std::swap(top, bottom);
  bool outlined = pen && pen->style != PS_NULL;
  if (brush) {
    // Without an outline the fill covers the whole rectangle less its right and bottom edges.
    auto moved = [](int v, int by) { return Saturated(int64_t{v} + by); };
    RECT inside = outlined ? RECT{moved(left, 1), moved(top, 1), moved(right, -1), moved(bottom, -1)}
                           : RECT{left, top, moved(right, -1), moved(bottom, -1)};
    FillWithBrush(target, inside, *brush);
  }
  if (outlined && right > left && bottom > top) {
    POINT corners[] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
    for (int i = 0; i < 4; ++i)
      DrawLine(target, *pen, corners[i], corners[(i + 1) % 4]);
  }
  return TRUE;
}

BOOL Polygon(HDC dc, const POINT* points, int count)
{
  return DrawPoints(dc, points, count, true);
}

BOOL Polyline(HDC dc, const POINT* points, int count)
{
  return DrawPoints(dc, points, count, false);
}

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous)
{
  Lock held(GdiLock());
  auto c = LookupAs<DeviceContext>(held, dc);
  if (!c)
    return FALSE;
  if (previous)
    *previous = c->state.position;
  c->state.position = POINT{x, y};
  return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return FALSE;
  if (auto pen = SelectedPen(held, target))
    DrawLine(target, *pen, target.dc->state.position, POINT{x, y});
  target.dc->state.position = POINT{x, y};
  return TRUE;
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF color)
{
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return CLR_INVALID;
  uint32_t* pixel = PixelAt(target, x, y);
  if (!pixel)
    return CLR_INVALID;
  *pixel = ToPixel(color);
  return color & 0xFFFFFF;
}

COLORREF GetPixel(HDC dc, int x, int y)
{
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return CLR_INVALID;
  const uint32_t* pixel = PixelAt(target, x, y);
  return pixel ? ToColor(*pixel) : CLR_INVALID;
}

BOOL DrawFocusRect(HDC dc, const RECT* rect)
{
  if (!rect)
    return FALSE;
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return FALSE;
  RECT r = Shifted(*rect, target.shift.x, target.shift.y);
  if (IsEmpty(r))
    return TRUE;
  // Every other pixel of the frame, counted along the surface, inverted.
  RECT edges[] = {{r.left, r.top, r.right, r.top + 1},
                  {r.left, r.bottom - 1, r.right, r.bottom},
                  {r.left, r.top + 1, r.left + 1, r.bottom - 1},
                  {r.right - 1, r.top + 1, r.right, r.bottom - 1}};
  for (const RECT& edge : edges) {
    // A frame one pixel high or wide has its opposite edges on the same pixels: invert once.
    bool repeated = (&edge == &edges[1] && r.bottom - int64_t{r.top} == 1) || (&edge == &edges[3] && r.right - int64_t{r.left} == 1);
    if (IsEmpty(edge) || repeated)
      continue;
    ForEachClipped(target, edge, [&](const RECT& part) {
      for (int y = part.top; y < part.bottom; ++y)
        for (int x = part.left; x < part.right; ++x)
          if (((x + y) & 1) == 0)
            target.surface->Row(y)[x] ^= 0x00FFFFFF;
    });
  }
  return TRUE;
}

BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop)
{
  Lock held(GdiLock());
  Target target;
  if (!Resolve(held, dc, &target))
    return FALSE;
  RECT logical = SpanRect(x, y, width, height);
  RECT area = Shifted(logical, target.shift.x, target.shift.y);
  switch (rop) {
  case PATCOPY:
    if (auto brush = LookupAs<Brush>(held, target.dc->state.brush))
      FillWithBrush(target, logical, *brush);
    return TRUE;
  case BLACKNESS:
  case WHITENESS: {
    uint32_t pixel = rop == BLACKNESS ? 0 : 0x00FFFFFF;
    ForEachClipped(target, area, [&](const RECT& part) { FillSolid(*target.surface, part, pixel); });
    return TRUE;
  }
  case DSTINVERT:
    ForEachClipped(target, area, [&](const RECT& part) { InvertArea(*target.surface, part); });
    return TRUE;
  default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}
