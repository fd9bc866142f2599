// A scroll bar drawn from one skin bitmap: it takes over a window of the ScrollBar class, keeps
// its own scroll information and turns taps, drags and held presses into WM_VSCROLL / WM_HSCROLL
// to its parent, repeating while a part is held.
//
// The skin is 9 columns by 3 rows of square cells. Columns 0-3 serve vertical bars and 4-7
// horizontal ones (first arrow, second arrow, thumb, track); row 0 is the normal look, row 1
// hot, row 2 pressed. The bitmap belongs to the caller.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class CSkinScrollBar : public CWindowImpl<CSkinScrollBar> {
 public:
  // Parts, numbered as the scroll codes they send.
  enum Part { kNone = -1, kFirstArrow = 0, kSecondArrow = 1, kTrackBefore = 2, kTrackAfter = 3, kThumb = 5 };
  // The auto-repeat timers: the first delay, then the repeat.
  static constexpr UINT_PTR kDelayTimer = 200;
  static constexpr UINT_PTR kRepeatTimer = 100;

  CSkinScrollBar();

  // Takes the skin and gives the window the thickness of one cell, repainting it.
  void SetBitmap(HBITMAP bitmap);
  // TRUE while the thumb is being dragged.
  BOOL IsDragging() const { return dragging_; }

  // The part under a point of the client area.
  int HitTest(int x, int y) const;
  // The painted rectangle of a part in client coordinates.
  RECT GetPartRect(int part) const;

  BEGIN_MSG_MAP(CSkinScrollBar)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(SBM_SETSCROLLINFO, OnSetScrollInfo)
    MESSAGE_HANDLER(SBM_GETSCROLLINFO, OnGetScrollInfo)
    MESSAGE_HANDLER(WM_LBUTTONDOWN, OnButtonDown)
    MESSAGE_HANDLER(WM_LBUTTONDBLCLK, OnButtonDown)
    MESSAGE_HANDLER(WM_MOUSEMOVE, OnMouseMove)
    MESSAGE_HANDLER(WM_LBUTTONUP, OnButtonUp)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
  END_MSG_MAP()

 private:
  // The thumb along the bar: start and length, for a position.
  struct Span {
    int start;
    int length;
  };

  LRESULT OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled);
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSetScrollInfo(UINT, WPARAM wParam, LPARAM lParam, BOOL&);
  LRESULT OnGetScrollInfo(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&);

  bool IsVertical() const { return (GetStyle() & SBS_VERT) != 0; }
  int ArrowLength() const;
  int TrackLength() const;
  // The painted thumb at a position (nTrackPos while tracking, else nPos).
  Span PaintedThumb(int position) const;
  // The thumb the input works with: integer length, span nMax - nMin - nPage + 1.
  Span InputThumb() const;
  int CurrentPosition() const { return scrollInfo_.nTrackPos == -1 ? scrollInfo_.nPos : scrollInfo_.nTrackPos; }
  // A rectangle across the bar's thickness from one point along it to another.
  RECT Along(int from, int to) const;
  int AlongOf(POINT point) const { return IsVertical() ? point.y : point.x; }

  void Notify(int code, int position = 0);
  void PointerInClient(POINT* point) const;

  // Drawing through a device context: a part in a look (0 normal, 1 hot, 2 pressed), the track
  // over a stretch along the bar.
  void DrawPart(HDC dc, HDC skin, int part, int look) const;
  void DrawThumb(HDC dc, HDC skin, Span thumb, int look) const;
  void DrawTrack(HDC dc, HDC skin, int from, int to) const;
  void DrawCell(HDC dc, HDC skin, RECT target, int column, int look) const;
  // Whole copies of a stretch of a cell from `from` to `to` along the bar, the last one cut,
  // never past barLength - cellSize.
  void Tile(HDC dc, HDC skin, int from, int to, int cellX, int cellY, int sliceStart, int sliceLength) const;
  // Runs the drawing with the window's device context and the skin selected into a memory one.
  template <class Draw>
  void WithSkin(Draw draw);
  // The looks a repaint keeps: pressed while held, hot under the pointer.
  int ThumbLook() const;
  int ArrowLook(int part) const;

  HBITMAP bitmap_ = nullptr;
  int cellSize_ = 0;
  int cellHeight_ = 0;
  int barLength_ = 0;
  SCROLLINFO scrollInfo_{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, -1};
  BOOL dragging_ = FALSE;
  int dragStartX_ = 0;
  int dragStartY_ = 0;
  int dragStartPos_ = 0;
  int pressedPart_ = kNone;
  BOOL repeating_ = FALSE;
  int hoverPart_ = kNone;
  BOOL pointerOutside_ = FALSE;
};
