// Fills, frames, lines, polygons and pixels through a device context.
#include <algorithm>
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
  RECT dot = Shifted(RECT{x - half, y - half, x - half + pen.width, y - half + pen.width}, target.shift.x, target.shift.y);
  ForEachClipped(target, dot, [&](const RECT& part) { FillSolid(*target.surface, part, pixel); });
}

// The line from one point up to (not including) the other, Bresenham's way.
void DrawLine(Target& target, const Pen& pen, POINT from, POINT to)
{
  if (pen.style == PS_NULL)
    return;
  int dx = std::abs(to.x - from.x), sx = from.x < to.x ? 1 : -1;
  int dy = -std::abs(to.y - from.y), sy = from.y < to.y ? 1 : -1;
  int error = dx + dy;
  int x = from.x, y = from.y;
  for (int step = 0; x != to.x || y != to.y; ++step) {
    if (pen.style != PS_DASH || (step / 4) % 2 == 0)
      PenDot(target, pen, x, y);
    int e2 = 2 * error;
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
  if (brush.style == BS_NULL || count < 3)
    return;
  int top = points[0].y, bottom = points[0].y;
  for (int i = 1; i < count; ++i) {
    top = std::min<int>(top, points[i].y);
    bottom = std::max<int>(bottom, points[i].y);
  }
  std::vector<int> crossings;
  for (int y = top; y < bottom; ++y) {
    double cy = y + 0.5;
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      POINT a = points[i], b = points[(i + 1) % count];
      if ((a.y <= cy) == (b.y <= cy))
        continue;
      double x = a.x + (cy - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
      crossings.push_back(static_cast<int>(x + 0.5));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t i = 0; i + 1 < crossings.size(); i += 2)
      FillWithBrush(target, RECT{crossings[i], y, crossings[i + 1], y + 1}, brush);
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
    RECT inside = outlined ? RECT{left + 1, top + 1, right - 1, bottom - 1} : RECT{left, top, right - 1, bottom - 1};
    FillWithBrush(target, inside, *brush);
  }
  if (outlined && right - left >= 1 && bottom - top >= 1) {
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
    bool repeated = (&edge == &edges[1] && r.bottom - r.top == 1) || (&edge == &edges[3] && r.right - r.left == 1);
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
  RECT logical{std::min(x, x + width), std::min(y, y + height), std::max(x, x + width), std::max(y, y + height)};
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
