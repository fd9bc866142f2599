// Rectangle helpers. Rectangles include their left and top edges and exclude their right and
// bottom edges; one with right <= left or bottom <= top is empty.
#pragma once

#include "base/types.h"

BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(LPRECT rect);
BOOL CopyRect(LPRECT to, const RECT* from);
BOOL OffsetRect(LPRECT rect, int dx, int dy);
BOOL InflateRect(LPRECT rect, int dx, int dy);
BOOL IsRectEmpty(const RECT* rect);
BOOL EqualRect(const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* rect, POINT point);
// The overlap of two rectangles; FALSE (and an empty result) when they do not overlap.
BOOL IntersectRect(LPRECT result, const RECT* a, const RECT* b);
// The smallest rectangle holding both (an empty one adds nothing); FALSE when both are empty.
BOOL UnionRect(LPRECT result, const RECT* a, const RECT* b);
// a less b when b takes a whole side of a off; else a.
BOOL SubtractRect(LPRECT result, const RECT* a, const RECT* b);
