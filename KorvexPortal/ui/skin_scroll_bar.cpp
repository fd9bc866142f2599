#include "skin_scroll_bar.h"

#include <algorithm>
#include <cstdint>

namespace {

// Columns of the skin for a vertical bar; a horizontal one adds 4.
constexpr int kFirstArrowColumn = 0;
constexpr int kSecondArrowColumn = 1;
constexpr int kThumbColumn = 2;
constexpr int kTrackColumn = 3;
constexpr int kHorizontalColumns = 4;
constexpr int kColumns = 9;
constexpr int kRows = 3;

constexpr int kNormal = 0;
constexpr int kHot = 1;
constexpr int kPressed = 2;

// The thumb is drawn as a 3-pixel head, a tiled middle and a 3-pixel tail.
constexpr int kThumbCap = 3;
// Thumbs are never shorter than this, and tracks below it show none.
constexpr int kMinThumb = 6;

bool IsArrow(int part) { return part == CSkinScrollBar::kFirstArrow || part == CSkinScrollBar::kSecondArrow; }

POINT PointOf(LPARAM lParam) { return POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

// The offset of the thumb within its free track: free × (position - nMin) / span in unsigned
// arithmetic, so a position outside the range lands somewhere the far-end clip removes.
int ThumbOffset(int free, int position, int minimum, int span)
{
  return static_cast<int>(static_cast<uint32_t>(free) * static_cast<uint32_t>(position - minimum) /
                          static_cast<uint32_t>(span));
}

}  // namespace

CSkinScrollBar::CSkinScrollBar() = default;

void CSkinScrollBar::SetBitmap(HBITMAP bitmap)
{
  bitmap_ = bitmap;
  BITMAP info{};
  if (bitmap && GetObjectW(bitmap, sizeof info, &info)) {
    cellSize_ = info.bmWidth / kColumns;
    cellHeight_ = info.bmHeight / kRows;
  } else {
    cellSize_ = cellHeight_ = 0;
  }
  if (!IsWindow())
    return;
  RECT rect;
  GetWindowRect(&rect);
  MapWindowPoints(nullptr, GetParent(), reinterpret_cast<LPPOINT>(&rect), 2);
  if (IsVertical())
    MoveWindow(rect.left, rect.top, cellSize_, rect.bottom - rect.top, TRUE);
  else
    MoveWindow(rect.left, rect.top, rect.right - rect.left, cellSize_, TRUE);
  // A window that already had this thickness gets no WM_SIZE: take the length from it here.
  RECT client;
  GetClientRect(&client);
  barLength_ = IsVertical() ? client.bottom : client.right;
  InvalidateRect(m_hWnd, nullptr, TRUE);
}

// --- Geometry -------------------------------------------------------------------------------

int CSkinScrollBar::ArrowLength() const
{
  return barLength_ - 2 * cellSize_ < 1 ? barLength_ / 2 : cellSize_;
}

int CSkinScrollBar::TrackLength() const { return std::max(barLength_ - 2 * cellSize_, 0); }

CSkinScrollBar::Span CSkinScrollBar::PaintedThumb(int position) const
{
  const SCROLLINFO& si = scrollInfo_;
  int track = TrackLength();
  int range = si.nMax - si.nMin + 1;
  int span = si.nMax + 1 - static_cast<int>(si.nPage) - si.nMin;
  float exact = range > 0 ? static_cast<float>(track) / static_cast<float>(range) * static_cast<float>(si.nPage) : 0.0f;
  int length = exact >= static_cast<float>(track) ? track : static_cast<int>(exact);
  if (span == 0 || track <= kMinThumb - 1)
    length = 0;
  else
    length = std::max(length, kMinThumb);
  int start = ArrowLength() + (span == 0 ? (track - length) / 2 : ThumbOffset(track - length, position, si.nMin, span));
  return Span{start, length};
}

CSkinScrollBar::Span CSkinScrollBar::InputThumb() const
{
  const SCROLLINFO& si = scrollInfo_;
  int track = TrackLength();
  int64_t range = static_cast<int64_t>(si.nMax) - si.nMin + 1;
  int length = range > 0 ? static_cast<int>(std::min<int64_t>(si.nPage * static_cast<int64_t>(track) / range, track)) : 0;
  length = track < kMinThumb ? 0 : std::max(length, kMinThumb);
  int span = si.nMax - si.nMin - static_cast<int>(si.nPage) + 1;
  int start = ArrowLength() +
              (span == 0 ? (track - length) / 2 : ThumbOffset(track - length, CurrentPosition(), si.nMin, span));
  return Span{start, length};
}

RECT CSkinScrollBar::Along(int from, int to) const
{
  return IsVertical() ? RECT{0, from, cellSize_, to} : RECT{from, 0, to, cellSize_};
}

int CSkinScrollBar::HitTest(int x, int y) const
{
  int along = IsVertical() ? y : x;
  if (along < 0)
    return kNone;
  int arrow = ArrowLength();
  if (along < arrow)
    return kFirstArrow;
  Span thumb = InputThumb();
  if (along < thumb.start)
    return kTrackBefore;
  if (along < std::min(thumb.start + thumb.length, barLength_ - cellSize_))
    return kThumb;
  if (along < barLength_ - arrow)
    return kTrackAfter;
  return kSecondArrow;
}

RECT CSkinScrollBar::GetPartRect(int part) const
{
  int arrow = ArrowLength();
  Span thumb = PaintedThumb(CurrentPosition());
  switch (part) {
  case kFirstArrow:
    return Along(0, arrow);
  case kTrackBefore:
    return Along(arrow, thumb.start);
  case kThumb:
    return Along(thumb.start, thumb.start + thumb.length);
  case kTrackAfter:
    return Along(thumb.start + thumb.length, barLength_ - arrow);
  case kSecondArrow:
    return Along(barLength_ - arrow, barLength_);
  default:
    return RECT{0, 0, 0, 0};
  }
}

// --- Drawing --------------------------------------------------------------------------------

template <class Draw>
void CSkinScrollBar::WithSkin(Draw draw)
{
  if (!bitmap_ || !IsWindow())
    return;
  HDC dc = ::GetDC(m_hWnd);
  HDC skin = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(skin, bitmap_);
  draw(dc, skin);
  SelectObject(skin, old);
  DeleteDC(skin);
  ::ReleaseDC(m_hWnd, dc);
}

int CSkinScrollBar::ThumbLook() const
{
  if (dragging_)
    return kPressed;
  return hoverPart_ == kThumb ? kHot : kNormal;
}

int CSkinScrollBar::ArrowLook(int part) const
{
  if (pressedPart_ == part)
    return pointerOutside_ ? kNormal : kPressed;
  return hoverPart_ == part ? kHot : kNormal;
}

void CSkinScrollBar::DrawCell(HDC dc, HDC skin, RECT target, int column, int look) const
{
  int x = (column + (IsVertical() ? 0 : kHorizontalColumns)) * cellSize_;
  int y = look * cellSize_;
  int width = target.right - target.left;
  int height = target.bottom - target.top;
  if (width == cellSize_ && height == cellSize_)
    BitBlt(dc, target.left, target.top, width, height, skin, x, y, SRCCOPY);
  else
    StretchBlt(dc, target.left, target.top, width, height, skin, x, y, cellSize_, cellSize_, SRCCOPY);
}

void CSkinScrollBar::Tile(HDC dc, HDC skin, int from, int to, int cellX, int cellY, int sliceStart,
                          int sliceLength) const
{
  if (sliceLength <= 0)
    return;
  int limit = std::min(to, barLength_ - cellSize_);
  for (int at = from; at < limit; at += sliceLength) {
    int length = std::min(sliceLength, limit - at);
    if (IsVertical())
      BitBlt(dc, 0, at, cellSize_, length, skin, cellX, cellY + sliceStart, SRCCOPY);
    else
      BitBlt(dc, at, 0, length, cellSize_, skin, cellX + sliceStart, cellY, SRCCOPY);
  }
}

void CSkinScrollBar::DrawTrack(HDC dc, HDC skin, int from, int to) const
{
  int column = kTrackColumn + (IsVertical() ? 0 : kHorizontalColumns);
  Tile(dc, skin, from, to, column * cellSize_, kNormal * cellSize_, 0, cellSize_);
}

void CSkinScrollBar::DrawThumb(HDC dc, HDC skin, Span thumb, int look) const
{
  int start = thumb.start;
  int end = std::min(thumb.start + thumb.length, barLength_ - cellSize_);
  if (end <= start)
    return;
  int cellX = (kThumbColumn + (IsVertical() ? 0 : kHorizontalColumns)) * cellSize_;
  int cellY = look * cellSize_;
  auto slice = [&](int at, int length, int offset) {
    if (IsVertical())
      BitBlt(dc, 0, at, cellSize_, length, skin, cellX, cellY + offset, SRCCOPY);
    else
      BitBlt(dc, at, 0, length, cellSize_, skin, cellX + offset, cellY, SRCCOPY);
  };
  int head = std::min(kThumbCap, end - start);
  slice(start, head, 0);
  int tail = std::min(kThumbCap, end - start);
  slice(end - tail, tail, cellSize_ - tail);
  if (end - start > 2 * kThumbCap) {
    int middle = cellSize_ - 2 * kThumbCap;
    for (int at = start + kThumbCap; middle > 0 && at < end - kThumbCap; at += middle)
      slice(at, std::min(middle, end - kThumbCap - at), kThumbCap);
  }
}

void CSkinScrollBar::DrawPart(HDC dc, HDC skin, int part, int look) const
{
  switch (part) {
  case kFirstArrow:
    DrawCell(dc, skin, GetPartRect(part), kFirstArrowColumn, look);
    break;
  case kSecondArrow:
    DrawCell(dc, skin, GetPartRect(part), kSecondArrowColumn, look);
    break;
  case kThumb:
    DrawThumb(dc, skin, PaintedThumb(CurrentPosition()), look);
    break;
  case kTrackBefore:
  case kTrackAfter: {
    RECT rect = GetPartRect(part);
    DrawTrack(dc, skin, IsVertical() ? rect.top : rect.left, IsVertical() ? rect.bottom : rect.right);
    break;
  }
  default:
    break;
  }
}

// --- Messages -------------------------------------------------------------------------------

LRESULT CSkinScrollBar::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& bHandled)
{
  barLength_ = IsVertical() ? HIWORD(lParam) : LOWORD(lParam);
  bHandled = FALSE;  // the control's own handling follows
  return 0;
}

LRESULT CSkinScrollBar::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  if (bitmap_) {
    HDC skin = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(skin, bitmap_);
    DrawPart(dc, skin, kFirstArrow, ArrowLook(kFirstArrow));
    DrawPart(dc, skin, kSecondArrow, ArrowLook(kSecondArrow));
    DrawPart(dc, skin, kTrackBefore, kNormal);
    DrawPart(dc, skin, kTrackAfter, kNormal);
    DrawPart(dc, skin, kThumb, ThumbLook());
    SelectObject(skin, old);
    DeleteDC(skin);
  }
  EndPaint(m_hWnd, &ps);
  return 0;
}

LRESULT CSkinScrollBar::OnSetScrollInfo(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  auto* info = reinterpret_cast<LPCSCROLLINFO>(lParam);
  if (!info)
    return 0;
  if (info->fMask & SIF_PAGE)
    scrollInfo_.nPage = info->nPage;
  if ((info->fMask & SIF_POS) && info->nPos >= 0)
    scrollInfo_.nPos = info->nPos;
  if (info->fMask & SIF_RANGE) {
    scrollInfo_.nMin = info->nMin;
    scrollInfo_.nMax = info->nMax;
  }
  if (wParam) {
    WithSkin([this](HDC dc, HDC skin) {
      DrawPart(dc, skin, kTrackBefore, kNormal);
      DrawPart(dc, skin, kThumb, ThumbLook());
      DrawPart(dc, skin, kTrackAfter, kNormal);
    });
  }
  return 1;
}

LRESULT CSkinScrollBar::OnGetScrollInfo(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  auto* info = reinterpret_cast<LPSCROLLINFO>(lParam);
  if (!info)
    return 0;
  if (info->fMask & SIF_PAGE)
    info->nPage = scrollInfo_.nPage;
  if (info->fMask & SIF_POS)
    info->nPos = scrollInfo_.nPos;
  if (info->fMask & SIF_TRACKPOS)
    info->nTrackPos = scrollInfo_.nTrackPos;
  if (info->fMask & SIF_RANGE) {
    info->nMin = scrollInfo_.nMin;
    info->nMax = scrollInfo_.nMax;
  }
  return 1;
}

void CSkinScrollBar::Notify(int code, int position)
{
  ::SendMessageW(GetParent(), IsVertical() ? WM_VSCROLL : WM_HSCROLL,
                 MAKEWPARAM(static_cast<WORD>(code), static_cast<WORD>(position)), reinterpret_cast<LPARAM>(m_hWnd));
}

void CSkinScrollBar::PointerInClient(POINT* point) const
{
  ::GetCursorPos(point);
  ::ScreenToClient(m_hWnd, point);
}

LRESULT CSkinScrollBar::OnButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  ::SetCapture(m_hWnd);
  POINT point = PointOf(lParam);
  int part = HitTest(point.x, point.y);
  if (part == kThumb) {
    dragging_ = TRUE;
    dragStartX_ = point.x;
    dragStartY_ = point.y;
    scrollInfo_.nTrackPos = dragStartPos_ = scrollInfo_.nPos;
    return 0;
  }
  if (part == kNone)
    return 0;
  pressedPart_ = part;
  Notify(part);
  SetTimer(kDelayTimer, 500);
  pointerOutside_ = FALSE;
  if (IsArrow(part))
    WithSkin([this, part](HDC dc, HDC skin) { DrawPart(dc, skin, part, kPressed); });
  return 0;
}

LRESULT CSkinScrollBar::OnTimer(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  if (wParam == kDelayTimer) {
    repeating_ = TRUE;
    KillTimer(kDelayTimer);
    SetTimer(kRepeatTimer, 100);
  } else if (wParam != kRepeatTimer) {
    return 0;
  }
  if (pointerOutside_)
    return 0;
  switch (pressedPart_) {
  case kFirstArrow:
    if (scrollInfo_.nPos == scrollInfo_.nMin)
      KillTimer(kRepeatTimer);
    else
      Notify(SB_LINEUP);
    break;
  case kSecondArrow:
    if (scrollInfo_.nPos == scrollInfo_.nMax)
      KillTimer(kRepeatTimer);
    else
      Notify(SB_LINEDOWN);
    break;
  case kTrackBefore:
  case kTrackAfter: {
    POINT point;
    PointerInClient(&point);
    if (HitTest(point.x, point.y) == kThumb)
      KillTimer(kRepeatTimer);  // the thumb has come under the pointer
    else
      Notify(pressedPart_);
    break;
  }
  default:
    KillTimer(kRepeatTimer);  // nothing is held any more
    break;
  }
  return 0;
}

LRESULT CSkinScrollBar::OnMouseMove(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  POINT point = PointOf(lParam);
  if (dragging_) {
    const SCROLLINFO& si = scrollInfo_;
    int track = TrackLength();
    int length = InputThumb().length;
    int delta = AlongOf(point) - (IsVertical() ? dragStartY_ : dragStartX_);
    int64_t position = dragStartPos_;
    if (track != length)
      position += static_cast<int64_t>(delta) * (static_cast<int64_t>(si.nMax) - si.nPage - si.nMin + 1) / (track - length);
    int64_t last = std::max<int64_t>(static_cast<int64_t>(si.nMax) - si.nPage + 1, si.nMin);
    int newPosition = static_cast<int>(std::clamp<int64_t>(position, si.nMin, last));
    if (newPosition != si.nTrackPos) {
      Span before = PaintedThumb(si.nTrackPos);
      Span after = PaintedThumb(newPosition);
      scrollInfo_.nTrackPos = newPosition;
      WithSkin([&](HDC dc, HDC skin) {
        // The track comes back where the thumb was and is no more.
        DrawTrack(dc, skin, before.start, std::min(before.start + before.length, after.start));
        DrawTrack(dc, skin, std::max(before.start, after.start + after.length), before.start + before.length);
        DrawThumb(dc, skin, after, kPressed);
      });
      Notify(SB_THUMBTRACK, newPosition);
    }
    return 0;
  }
  if (pressedPart_ == kNone) {
    int part = HitTest(point.x, point.y);
    if (part != hoverPart_) {
      int old = hoverPart_;
      hoverPart_ = part;
      WithSkin([&](HDC dc, HDC skin) {
        if (IsArrow(old) || old == kThumb)
          DrawPart(dc, skin, old, kNormal);
        if (IsArrow(part) || part == kThumb)
          DrawPart(dc, skin, part, kHot);
      });
    }
    return 0;
  }
  RECT rect = GetPartRect(pressedPart_);
  BOOL outside = !PtInRect(&rect, point);
  if (outside != pointerOutside_) {
    pointerOutside_ = outside;
    if (IsArrow(pressedPart_))
      WithSkin([&](HDC dc, HDC skin) { DrawPart(dc, skin, pressedPart_, outside ? kNormal : kPressed); });
  }
  return 0;
}

LRESULT CSkinScrollBar::OnButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  ::ReleaseCapture();
  POINT point = PointOf(lParam);
  if (dragging_) {
    dragging_ = FALSE;
    Notify(SB_THUMBPOSITION, scrollInfo_.nTrackPos);
    Span tracked = PaintedThumb(scrollInfo_.nTrackPos);
    bool moved = scrollInfo_.nTrackPos != scrollInfo_.nPos;
    scrollInfo_.nTrackPos = -1;
    hoverPart_ = HitTest(point.x, point.y) == kThumb ? kThumb : kNone;
    WithSkin([&](HDC dc, HDC skin) {
      if (moved)
        DrawTrack(dc, skin, tracked.start, tracked.start + tracked.length);
      DrawPart(dc, skin, kThumb, hoverPart_ == kThumb ? kHot : kNormal);
    });
    return 0;
  }
  if (pressedPart_ != kNone) {
    if (repeating_) {
      KillTimer(kRepeatTimer);
      repeating_ = FALSE;
    } else {
      KillTimer(kDelayTimer);
    }
    int part = pressedPart_;
    pressedPart_ = kNone;
    if (IsArrow(part))
      WithSkin([&](HDC dc, HDC skin) { DrawPart(dc, skin, part, kNormal); });
  }
  return 0;
}
