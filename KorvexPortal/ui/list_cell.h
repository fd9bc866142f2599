// One cell of an owner-drawn list row: a text, or an image that the cell owns.
#pragma once

#include "text/cstring.h"
#include "windows.h"

class CListCell {
 public:
  enum Kind { kText = 0, kImage = 1 };

  CListCell() = default;
  // Deletes the image.
  virtual ~CListCell();
  CListCell(const CListCell&) = delete;
  CListCell& operator=(const CListCell&) = delete;

  CStringW m_strText;
  HBITMAP m_hImage = nullptr;  // drawn for an image cell; owned by the cell
  int m_nKind = kText;
};
