// Rectangle helpers.
#include <algorithm>

#include "gdi/rects.h"
#include "region.h"

using gdi_detail::IsEmpty;

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom)
{
  if (!rect)
    return FALSE;
  *rect = RECT{left, top, right, bottom};
  return TRUE;
}

BOOL SetRectEmpty(LPRECT rect)
{
  return SetRect(rect, 0, 0, 0, 0);
}

BOOL CopyRect(LPRECT to, const RECT* from)
{
  if (!to || !from)
    return FALSE;
  *to = *from;
  return TRUE;
}

BOOL OffsetRect(LPRECT rect, int dx, int dy)
{
  if (!rect)
    return FALSE;
  *rect = gdi_detail::Shifted(*rect, dx, dy);
  return TRUE;
}

BOOL InflateRect(LPRECT rect, int dx, int dy)
{
  if (!rect)
    return FALSE;
  *rect = RECT{gdi_detail::Saturated(static_cast<int64_t>(rect->left) - dx),
               gdi_detail::Saturated(static_cast<int64_t>(rect->top) - dy),
               gdi_detail::Saturated(static_cast<int64_t>(rect->right) + dx),
               gdi_detail::Saturated(static_cast<int64_t>(rect->bottom) + dy)};
  return TRUE;
}

BOOL IsRectEmpty(const RECT* rect)
{
  return !rect || IsEmpty(*rect);
}

BOOL EqualRect(const RECT* a, const RECT* b)
{
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

BOOL PtInRect(const RECT* rect, POINT point)
{
  return rect && gdi_detail::Contains(*rect, point.x, point.y);
}

BOOL IntersectRect(LPRECT result, const RECT* a, const RECT* b)
{
  if (!result)
    return FALSE;
  if (!a || !b) {
    *result = RECT{};
    return FALSE;
  }
  *result = gdi_detail::Intersection(*a, *b);
  return !IsEmpty(*result);
}

BOOL UnionRect(LPRECT result, const RECT* a, const RECT* b)
{
  if (!result || !a || !b)
    return FALSE;
  if (IsEmpty(*a) && IsEmpty(*b)) {
    *result = RECT{};
    return FALSE;
  }
  if (IsEmpty(*a) || IsEmpty(*b)) {
    *result = IsEmpty(*a) ? *b : *a;
    return TRUE;
  }
  *result = RECT{std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
                 std::max(a->bottom, b->bottom)};
  return TRUE;
}

BOOL SubtractRect(LPRECT result, const RECT* a, const RECT* b)
{
  if (!result || !a || !b)
    return FALSE;
  RECT r = *a;
  RECT overlap = gdi_detail::Intersection(*a, *b);
  if (!IsEmpty(overlap)) {
    bool fullWidth = overlap.left == a->left && overlap.right == a->right;
    bool fullHeight = overlap.top == a->top && overlap.bottom == a->bottom;
    if (fullWidth && fullHeight)
      r = RECT{};
    else if (fullWidth && overlap.top == a->top)
      r.top = overlap.bottom;
    else if (fullWidth && overlap.bottom == a->bottom)
      r.bottom = overlap.top;
    else if (fullHeight && overlap.left == a->left)
      r.left = overlap.right;
    else if (fullHeight && overlap.right == a->right)
      r.right = overlap.left;
  }
  *result = r;
  return !IsEmpty(r);
}
