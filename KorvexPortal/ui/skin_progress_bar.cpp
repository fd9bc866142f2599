// The progress strip: stepping and painting.
#include "skin_progress_bar.h"

#include "resource_values.h"
#include "skin_image.h"

namespace {

// The bar lies this many track pixels inside the track on every side.
constexpr int kInset = 3;

bool Contains(const RECT& outer, const RECT& inner)
{
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

CSkinProgressBar::~CSkinProgressBar()
{
  FreeBitmaps();
}

HWND CSkinProgressBar::CreateStrip(HWND parent, const RECT& rect, int id, LPCWSTR text)
{
  m_min = 0;
  m_max = 100;
  m_step = 1;
  m_pos = 0;
  m_bRedrawTrack = true;
  return Create(parent, rect, text, WS_CHILD | WS_VISIBLE, 0, static_cast<UINT_PTR>(id));
}

void CSkinProgressBar::SetRange(int minimum, int maximum)
{
  m_min = minimum;
  m_max = maximum;
  if (IsWindow())
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSkinProgressBar::SetPos(int position)
{
  m_pos = position;
  if (IsWindow())
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
}

void CSkinProgressBar::Step()
{
  m_pos += m_step;
  if (!IsWindow())
    return;
  if (m_pos > m_max) {
    // Round again: the track is drawn afresh under the first step of the bar.
    m_pos = 1;
    ::InvalidateRect(m_hWnd, nullptr, FALSE);
    return;
  }
  RECT bar = BarRect();
  ::InvalidateRect(m_hWnd, &bar, FALSE);
}

RECT CSkinProgressBar::BarRect() const
{
  RECT client{};
  ::GetClientRect(m_hWnd, &client);
  int kx = m_trackSize.cx > 0 ? client.right / m_trackSize.cx : 1;
  int ky = m_trackSize.cy > 0 ? client.bottom / m_trackSize.cy : 1;
  float fill = m_max > m_min ? static_cast<float>(m_pos) / static_cast<float>(m_max - m_min) : 0.0f;
  int width = static_cast<int>(static_cast<float>(client.right - 2 * kInset * kx) * fill);
  return RECT{kInset * kx, kInset * ky, kInset * kx + width, client.bottom - kInset * ky};
}

bool CSkinProgressBar::LoadBitmaps()
{
  if (m_hTrackDC)
    return true;
  m_hTrack = LoadResourceBitmap(kTrackBitmap);
  m_hBar = LoadResourceBitmap(kBarBitmap);
  if (!m_hTrack || !m_hBar || !GetBitmapSize(m_hTrack, &m_trackSize) || !GetBitmapSize(m_hBar, &m_barSize)) {
    FreeBitmaps();
    return false;
  }
  m_hTrackDC = CreateCompatibleDC(nullptr);
  m_hBarDC = CreateCompatibleDC(nullptr);
  m_hTrackOld = SelectObject(m_hTrackDC, m_hTrack);
  m_hBarOld = SelectObject(m_hBarDC, m_hBar);
  return true;
}

void CSkinProgressBar::FreeBitmaps()
{
  if (m_hTrackDC) {
    SelectObject(m_hTrackDC, m_hTrackOld);
    DeleteDC(m_hTrackDC);
  }
  if (m_hBarDC) {
    SelectObject(m_hBarDC, m_hBarOld);
    DeleteDC(m_hBarDC);
  }
  if (m_hTrack)
    DeleteObject(m_hTrack);
  if (m_hBar)
    DeleteObject(m_hBar);
  m_hTrackDC = m_hBarDC = nullptr;
  m_hTrack = m_hBar = nullptr;
  m_trackSize = m_barSize = SIZE{};
}

LRESULT CSkinProgressBar::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  if (LoadBitmaps()) {
    RECT client{};
    GetClientRect(&client);
    RECT bar = BarRect();
    // The track goes under a new round of the bar, after a move, and wherever more than the bar
    // is to be painted (the strip was uncovered).
    if (m_pos == 1 || m_bRedrawTrack || !Contains(bar, paint.rcPaint)) {
      m_bRedrawTrack = false;
      StretchBlt(dc, 0, 0, client.right, client.bottom, m_hTrackDC, 0, 0, m_trackSize.cx, m_trackSize.cy, SRCCOPY);
    }
    if (bar.right > bar.left && bar.bottom > bar.top)
      StretchBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, m_hBarDC, 0, 0, m_barSize.cx,
                 m_barSize.cy, SRCCOPY);
  }
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CSkinProgressBar::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  FreeBitmaps();
  bHandled = FALSE;
  return 0;
}
