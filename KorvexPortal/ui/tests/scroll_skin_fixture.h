// Shared by the scroll tests: a scroll-bar skin whose every cell has a colour of its own (the
// thumb cells with a distinct head, middle and tail), and a parent window that notes the scroll
// codes it receives and, when asked, moves the bar's position as an owner would.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "testing/device_root.h"
#include "testing/message_log.h"
#include "testing/ui_harness.h"
#include "windows.h"

namespace scrolltest {

constexpr int kCell = 12;

// The colour of a skin cell; for the thumb columns (2 and 6), the part of the cell along the bar
// (0 head, 1 middle, 2 tail).
inline COLORREF SkinColour(int column, int row, int slice = 1)
{
  return RGB(20 + column * 25, 40 + row * 70, 100 + slice * 50);
}

// The skin's pixel at (x, y) for cells of the size.
inline COLORREF SkinPixel(int x, int y, int cell)
{
  int column = x / cell, row = y / cell;
  int slice = 1;
  if (column == 2 || column == 6) {
    int along = column == 2 ? y % cell : x % cell;
    slice = along < 3 ? 0 : along >= cell - 3 ? 2 : 1;
  }
  return SkinColour(column, row, slice);
}

// A 9 x 3 skin of square cells.
inline HBITMAP MakeSkin(int cell = kCell)
{
  std::vector<uint32_t> bits(static_cast<size_t>(9 * cell) * 3 * cell);
  for (int y = 0; y < 3 * cell; ++y)
    for (int x = 0; x < 9 * cell; ++x) {
      COLORREF c = SkinPixel(x, y, cell);
      bits[static_cast<size_t>(y) * 9 * cell + x] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
  return CreateBitmap(9 * cell, 3 * cell, 1, 32, bits.data());
}

// A 24-bit BMP file of the size, its pixels from the function.
inline std::string BmpFile(int width, int height, const std::function<COLORREF(int, int)>& pixel)
{
  int stride = (width * 3 + 3) / 4 * 4;
  uint32_t imageBytes = static_cast<uint32_t>(stride * height);
  std::string file;
  auto put = [&file](uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
      file.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
  };
  file += "BM";
  put(54 + imageBytes, 4), put(0, 4), put(54, 4);
  put(40, 4), put(static_cast<uint32_t>(width), 4), put(static_cast<uint32_t>(height), 4), put(1, 2), put(24, 2);
  put(0, 4), put(imageBytes, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
  for (int y = height - 1; y >= 0; --y) {  // rows bottom-up
    for (int x = 0; x < width; ++x) {
      COLORREF c = pixel(x, y);
      put(GetBValue(c), 1), put(GetGValue(c), 1), put(GetRValue(c), 1);
    }
    put(0, stride - width * 3);
  }
  return file;
}

// The skin as a BMP file, for a resource library.
inline std::string SkinBmp(int cell)
{
  return BmpFile(9 * cell, 3 * cell, [cell](int x, int y) { return SkinPixel(x, y, cell); });
}

struct Note {
  UINT message;
  WORD code;
  WORD position;
  bool operator==(const Note&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Note& note)
{
  return out << kvtest::MessageName(note.message) << "(" << note.code << ", " << note.position << ")";
}

class ScrollFixture : public ::testing::Test {
 protected:
  void SetUp() override
  {
    kvtest::SetScreenSize(240, 320);
    skin = MakeSkin();
    parent = kvtest::CreateRecordingWindow(
        log, {.name = "parent", .style = WS_POPUP | WS_VISIBLE, .rect = {0, 0, 240, 320},
              .handler = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam) -> std::optional<LRESULT> {
                if (message != WM_VSCROLL && message != WM_HSCROLL)
                  return std::nullopt;
                notes.push_back({message, LOWORD(wParam), HIWORD(wParam)});
                if (onScroll)
                  onScroll(message, wParam);
                else if (owning)
                  Own(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
                return 0;
              }});
  }
  void TearDown() override
  {
    kvtest::DestroyThreadWindows();
    DeleteObject(skin);
  }

  std::vector<Note> TakeNotes()
  {
    std::vector<Note> taken;
    taken.swap(notes);
    return taken;
  }

  static void SetInfo(HWND bar, int min, int max, UINT page, int pos, BOOL redraw = TRUE)
  {
    SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, min, max, page, pos, 0};
    SetScrollInfo(bar, SB_CTL, &info, redraw);
  }
  static SCROLLINFO InfoOf(HWND bar)
  {
    SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(bar, SB_CTL, &info);
    return info;
  }
  // A pixel of a window's client area as the screen shows it.
  static COLORREF PixelAt(HWND hwnd, int x, int y)
  {
    HDC dc = GetDC(hwnd);
    COLORREF colour = GetPixel(dc, x, y);
    ReleaseDC(hwnd, dc);
    return colour;
  }

  device::testing::ScopedDeviceRoot root;
  kvtest::MessageLog log;
  HWND parent = nullptr;
  HBITMAP skin = nullptr;
  std::vector<Note> notes;
  bool owning = false;  // the parent moves the bar's position as the codes ask
  std::function<void(UINT, WPARAM)> onScroll;  // or hands the codes to this

 private:
  // A line is 1, a page the bar's page; positions stay within nMin and nMax - nPage + 1 (at
  // least nMin), and within nMax when the page is 0.
  static void Own(HWND bar, int code, int thumb)
  {
    SCROLLINFO info = InfoOf(bar);
    int pos = info.nPos;
    switch (code) {
    case SB_LINEUP: pos -= 1; break;
    case SB_LINEDOWN: pos += 1; break;
    case SB_PAGEUP: pos -= static_cast<int>(info.nPage); break;
    case SB_PAGEDOWN: pos += static_cast<int>(info.nPage); break;
    case SB_THUMBPOSITION: pos = thumb; break;
    default: return;
    }
    int last = info.nPage ? info.nMax - static_cast<int>(info.nPage) + 1 : info.nMax;
    pos = std::max(info.nMin, std::min(pos, last));
    SCROLLINFO set{sizeof set, SIF_POS, 0, 0, 0, pos, 0};
    SetScrollInfo(bar, SB_CTL, &set, TRUE);
  }
};

}  // namespace scrolltest
