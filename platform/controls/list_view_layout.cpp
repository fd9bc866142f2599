#include <algorithm>
#include <climits>
#include <cstdlib>

#include "list_view_model.h"

namespace controls_detail {

ListViewLayout::ListViewLayout(const ListViewRecord& record, DWORD style, RECT client)
    : record_(record), style_(style), client_(client), report_((style & LVS_TYPEMASK) == LVS_REPORT)
{
}

SIZE ListViewLayout::IconSize() const
{
  int cx = 0, cy = 0;
  HIMAGELIST images = report_ ? record_.smallImages : record_.normalImages;
  if (ImageList_GetIconSize(images, &cx, &cy))
    return SIZE{cx, cy};
  return report_ ? SIZE{0, 0} : SIZE{32, 32};
}

SIZE ListViewLayout::Spacing() const
{
  if (record_.spacing.cx > 0 && record_.spacing.cy > 0)
    return record_.spacing;
  // By default an icon, a line of text and a margin around them.
  SIZE icon = IconSize();
  return SIZE{icon.cx + 28, icon.cy + record_.lineHeight + 12};
}

int ListViewLayout::TotalWidth() const
{
  int width = 0;
  for (const ListViewColumn& column : record_.columns)
    width += column.width;
  return record_.columns.empty() ? static_cast<int>(client_.right) : width;
}

POINT ListViewLayout::Position(int index) const
{
  const ListViewItem& item = record_.items[static_cast<size_t>(index)];
  if (report_)
    return POINT{0, index * record_.rowHeight};
  if (item.position)
    return *item.position;
  SIZE spacing = Spacing();
  int columns = std::max(1, static_cast<int>(client_.right / spacing.cx));
  return POINT{(index % columns) * spacing.cx, (index / columns) * spacing.cy};
}

RECT ListViewLayout::ViewBounds(int index) const
{
  POINT at = Position(index);
  if (report_)
    return RECT{0, at.y, TotalWidth(), at.y + record_.rowHeight};
  SIZE spacing = Spacing();
  return RECT{at.x, at.y, at.x + spacing.cx, at.y + spacing.cy};
}

RECT ListViewLayout::Bounds(int index) const
{
  RECT rect = ViewBounds(index);
  OffsetRect(&rect, -record_.origin.x, -record_.origin.y);
  return rect;
}

bool ListViewLayout::ItemRect(int index, int portion, RECT* rect) const
{
  if (index < 0 || index >= Count() || !rect)
    return false;
  RECT bounds = Bounds(index);
  SIZE icon = IconSize();
  switch (portion) {
  case LVIR_BOUNDS:
  case LVIR_SELECTBOUNDS: *rect = bounds; return true;
  case LVIR_ICON:
    if (report_)
      *rect = RECT{bounds.left, bounds.top, bounds.left + icon.cx, bounds.bottom};
    else
      *rect = RECT{bounds.left + (bounds.right - bounds.left - icon.cx) / 2, bounds.top,
                   bounds.left + (bounds.right - bounds.left - icon.cx) / 2 + icon.cx, bounds.top + icon.cy};
    return true;
  case LVIR_LABEL:
    if (report_) {
      int firstWidth = record_.columns.empty() ? bounds.right - bounds.left : record_.columns[0].width;
      *rect = RECT{bounds.left + icon.cx, bounds.top, bounds.left + firstWidth, bounds.bottom};
    } else {
      *rect = RECT{bounds.left, std::min(bounds.top + icon.cy, bounds.bottom), bounds.right, bounds.bottom};
    }
    return true;
  default: return false;
  }
}

bool ListViewLayout::SubItemRect(int index, int column, int portion, RECT* rect) const
{
  if (!report_ || column < 0 || column >= static_cast<int>(record_.columns.size()))
    return false;
  if (column == 0)
    return ItemRect(index, portion, rect);
  if (index < 0 || index >= Count() || !rect)
    return false;
  RECT bounds = Bounds(index);
  int left = bounds.left;
  for (int c = 0; c < column; ++c)
    left += record_.columns[static_cast<size_t>(c)].width;
  *rect = RECT{left, bounds.top, left + record_.columns[static_cast<size_t>(column)].width, bounds.bottom};
  return true;
}

int ListViewLayout::ItemAt(POINT point) const
{
  if (!PtInRect(&client_, point))
    return -1;
  if (report_) {
    int row = (point.y + record_.origin.y) / std::max(1, record_.rowHeight);
    return row < Count() && point.x + record_.origin.x < TotalWidth() ? row : -1;
  }
  // The item drawn last lies on top.
  for (int i = Count() - 1; i >= 0; --i) {
    RECT bounds = Bounds(i);
    if (PtInRect(&bounds, point))
      return i;
  }
  return -1;
}

int ListViewLayout::CountPerPage() const
{
  if (report_)
    return std::max(0, static_cast<int>(client_.bottom / std::max(1, record_.rowHeight)));
  SIZE spacing = Spacing();
  return std::max(1, static_cast<int>(client_.right / spacing.cx)) * std::max(0, static_cast<int>(client_.bottom / spacing.cy));
}

SIZE ListViewLayout::Extent() const
{
  RECT all{0, 0, 0, 0};
  for (int i = 0; i < Count(); ++i) {
    RECT bounds = ViewBounds(i);
    UnionRect(&all, &all, &bounds);
  }
  return SIZE{all.right, all.bottom};
}

POINT ListViewLayout::ClampOrigin(POINT origin) const
{
  SIZE extent = Extent();
  origin.x = std::clamp(static_cast<int>(origin.x), 0, std::max(0, static_cast<int>(extent.cx - client_.right)));
  if (report_) {
    // Report views scroll by whole rows, down to the top row of the last full page, which shows
    // the last row whole even when the client is not a whole number of rows high.
    int row = std::max(1, record_.rowHeight);
    int lastTop = std::max(0, Count() - std::max(1, CountPerPage()));
    origin.y = std::clamp(static_cast<int>(origin.y) / row, 0, lastTop) * row;
    return origin;
  }
  origin.y = std::clamp(static_cast<int>(origin.y), 0, std::max(0, static_cast<int>(extent.cy - client_.bottom)));
  return origin;
}

POINT ListViewLayout::OriginShowing(int index, bool partial) const
{
  RECT view = ViewBounds(index);
  POINT origin = record_.origin;
  if (report_) {
    // Rows: the top row moves just enough to show the row whole (or partly, when that will do).
    int row = std::max(1, record_.rowHeight);
    int top = origin.y / row;
    int full = std::max(1, CountPerPage());
    bool partlyShown = view.bottom > origin.y && view.top < origin.y + client_.bottom;
    if (index < top)
      top = index;
    else if (index >= top + full && !(partial && partlyShown))
      top = index - full + 1;
    origin.y = top * row;
    return ClampOrigin(origin);
  }
  auto bring = [&](LONG& at, LONG low, LONG high, LONG size) {
    bool shown = partial ? (high > at && low < at + size) : (low >= at && high <= at + size);
    if (!shown)
      at = low < at ? low : high - size;
  };
  bring(origin.y, view.top, view.bottom, client_.bottom);
  bring(origin.x, view.left, view.right, client_.right);
  return ClampOrigin(origin);
}

int ListViewLayout::Nearest(int index, UINT key) const
{
  POINT from = Position(index);
  int best = -1;
  long bestScore = LONG_MAX;
  for (int i = 0; i < Count(); ++i) {
    if (i == index)
      continue;
    POINT to = Position(i);
    long dx = to.x - from.x, dy = to.y - from.y;
    long along = 0, across = 0;
    switch (key) {
    case VK_LEFT: along = -dx; across = dy; break;
    case VK_RIGHT: along = dx; across = dy; break;
    case VK_UP: along = -dy; across = dx; break;
    case VK_DOWN: along = dy; across = dx; break;
    default: return -1;
    }
    if (along <= 0)
      continue;
    // Straight ahead wins over a step to the side.
    long score = along + 2 * std::labs(across);
    if (score < bestScore) {
      bestScore = score;
      best = i;
    }
  }
  return best;
}

}  // namespace controls_detail
