// For drawing tests: a memory device context with a bitmap of its own, filled with a background
// colour, and ways to read its pixels back.
#pragma once

#include <algorithm>
#include <vector>

#include "windows.h"

namespace kvtest {

struct Canvas {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap;
  HGDIOBJ old;
  int width, height;

  Canvas(int w, int h, COLORREF background = RGB(255, 255, 255))
      : bitmap(CreateCompatibleBitmap(dc, w, h)), old(SelectObject(dc, bitmap)), width(w), height(h)
  {
    Fill(RECT{0, 0, w, h}, background);
  }
  ~Canvas()
  {
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Fill(RECT rect, COLORREF color)
  {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
  }
  COLORREF At(int x, int y) const { return GetPixel(dc, x, y); }
  // Every pixel, row by row.
  std::vector<COLORREF> Pixels() const
  {
    std::vector<COLORREF> out;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        out.push_back(At(x, y));
    return out;
  }
  // The box around every pixel that is not `background`; empty when there is none.
  RECT Ink(COLORREF background = RGB(255, 255, 255)) const
  {
    RECT box{width, height, 0, 0};
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) != background) {
          box.left = std::min<LONG>(box.left, x), box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1), box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }
};

}  // namespace kvtest
