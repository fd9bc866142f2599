// The list view's record: items, columns, view settings, and where each item lies.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "windows.h"

namespace controls_detail {

struct ListViewItem {
  std::vector<std::u16string> texts;  // by sub-item; the item's own text first
  UINT state = 0;
  LPARAM param = 0;
  int image = -1;
  std::optional<POINT> position;  // icon view: put there by LVM_SETITEMPOSITION
};

struct ListViewColumn {
  int format = LVCFMT_LEFT;
  int width = 0;
  std::u16string text;
  int subItem = 0;
};

struct ListViewRecord {
  std::vector<ListViewItem> items;
  std::vector<ListViewColumn> columns;
  int rowHeight = 16;
  int lineHeight = 16;
  SIZE spacing{0, 0};  // icon spacing; 0 for the default
  POINT origin{0, 0};  // the view's point at the client's top-left corner
  DWORD extendedStyle = 0;
  COLORREF textColor = 0;
  HIMAGELIST normalImages = nullptr;
  HIMAGELIST smallImages = nullptr;
  HIMAGELIST stateImages = nullptr;
  HFONT font = nullptr;
  int pressed = -1;  // the item under a held tap
  bool tracking = false;
  HWND notify = nullptr;  // the parent the list was made in
};

// Geometry of one list view, from its record, style and client size. Rectangles are in client
// coordinates unless said otherwise.
class ListViewLayout {
 public:
  ListViewLayout(const ListViewRecord& record, DWORD style, RECT client);

  bool IsReport() const { return report_; }
  int Count() const { return static_cast<int>(record_.items.size()); }
  SIZE Spacing() const;
  SIZE IconSize() const;
  // Icon view: the item's place in view coordinates (put there, or its slot on the grid).
  POINT Position(int index) const;
  RECT Bounds(int index) const;
  // LVIR_* portions; false for a bad index or portion.
  bool ItemRect(int index, int portion, RECT* rect) const;
  // Report view: the column's part of the row (sub-item 0 with LVIR_BOUNDS is the whole row).
  bool SubItemRect(int index, int column, int portion, RECT* rect) const;
  int ItemAt(POINT client) const;
  int CountPerPage() const;
  // The view's extent: the union of every item's rectangle, in view coordinates.
  SIZE Extent() const;
  // The origin that shows the item (partial: a partly shown item is enough), kept within the view.
  POINT OriginShowing(int index, bool partial) const;
  POINT ClampOrigin(POINT origin) const;
  // Icon view: the nearest item from index in the direction of the arrow key, or -1.
  int Nearest(int index, UINT key) const;

 private:
  int TotalWidth() const;
  RECT ViewBounds(int index) const;

  const ListViewRecord& record_;
  DWORD style_;
  RECT client_;
  bool report_;
};

}  // namespace controls_detail
