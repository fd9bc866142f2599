// The message box's look: the frame of its type, the dimmed picture of the window beneath, the
// text and the progress strip.
#include <algorithm>

#include "message_box_types.h"
#include "resource_values.h"
#include "skin_image.h"
#include "skin_message_box.h"
#include "window_helpers.h"

namespace {

// The frame stands this high (times the vertical scale) on the soft-key bar.
constexpr int kFrameHeight = 90;
// The veil dims the picture beneath to four fifths.
constexpr BYTE kVeilAlpha = 51;
// Text and progress strip inside the frame, from the frame's top, and the icon's margin.
constexpr int kTextTop = 15;
constexpr int kTextBottom = 73;
constexpr int kIconMargin = 56;
constexpr int kProgressWidth = 190;
constexpr int kProgressTop = 50;
constexpr int kProgressBottom = 70;

// A layout scale as a whole number. A screen of the landscape library is less than 320 high, and
// the frame still needs its height: never below 1.
int WholeScale(float scale)
{
  return std::max(1, static_cast<int>(scale));
}

void DeleteBitmap(HBITMAP& bitmap)
{
  if (bitmap)
    DeleteObject(bitmap);
  bitmap = nullptr;
}

}  // namespace

void CSkinMessageBox::FreeFrame()
{
  DeleteBitmap(m_hFramePortrait);
  DeleteBitmap(m_hFrameLandscape);
  DeleteBitmap(m_hSnapshot);
}

void CSkinMessageBox::ApplyFrame()
{
  // A self-close started for an earlier setup does not end this one.
  KillTimer(kSelfCloseTimer);
  if (IsSelfClosingType(m_type) && !ShowsProgress())
    SetTimer(kSelfCloseTimer, kSelfCloseMs);
  BoxFrame frame = BoxFrameOfType(m_type);
  m_bHasIcon = frame.hasIcon;
  DeleteBitmap(m_hFramePortrait);
  DeleteBitmap(m_hFrameLandscape);
  m_hFramePortrait = LoadResourceBitmap(frame.portraitBitmap);
  m_hFrameLandscape = LoadResourceBitmap(frame.landscapeBitmap);
  if (m_hForeground != m_hWnd)
    TakeSnapshot();
}

void CSkinMessageBox::TakeSnapshot()
{
  DeleteBitmap(m_hSnapshot);
  RECT client{};
  if (m_hForeground)
    ::GetClientRect(m_hForeground, &client);
  else
    client = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  int width = client.right - client.left;
  int height = client.bottom - client.top - GetSystemMetrics(SM_CYCAPTION);
  if (width <= 0 || height <= 0)
    return;
  HDC source = ::GetDC(m_hForeground);
  m_hSnapshot = CreateCompatibleBitmap(source, width, height);
  HDC memory = CreateCompatibleDC(source);
  HGDIOBJ previous = SelectObject(memory, m_hSnapshot);
  BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
  ::ReleaseDC(m_hForeground, source);
}

LRESULT CSkinMessageBox::OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  // A box set up while it showed keeps what it shows; only the frame is painted again.
  if (m_hForeground == m_hWnd)
    return 1;
  bHandled = FALSE;
  return 0;
}

LRESULT CSkinMessageBox::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  ApplyKeys();
  if (m_bActivatePending) {
    m_bActivatePending = false;
    if (::GetActiveWindow() != m_hWnd)
      ::SetActiveWindow(m_hWnd);
  }
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  PaintBox(dc);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

void CSkinMessageBox::PaintBox(HDC dc)
{
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const int caption = GetSystemMetrics(SM_CYCAPTION);
  const int sx = WholeScale(GetScreenScaleX());
  const int sy = WholeScale(GetScreenScaleY());
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ previous = nullptr;
  auto select = [&](HBITMAP bitmap) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    if (!previous)
      previous = old;
  };

  if (m_hForeground != m_hWnd) {
    if (m_hSnapshot) {
      select(m_hSnapshot);
      BitBlt(dc, 0, 0, width, height - caption, memory, 0, 0, SRCCOPY);
    }
    SIZE veil{};
    if (m_hVeil && GetBitmapSize(m_hVeil, &veil)) {
      select(m_hVeil);
      AlphaBlend(dc, 0, 0, width, height - caption, memory, 0, 0, veil.cx, veil.cy,
                 BLENDFUNCTION{AC_SRC_OVER, 0, kVeilAlpha, 0});
    }
  }

  const int top = height - caption - kFrameHeight * sy;
  HBITMAP frame = height > width ? m_hFramePortrait : m_hFrameLandscape;
  SIZE frameSize{};
  if (frame && GetBitmapSize(frame, &frameSize)) {
    select(frame);
    StretchBlt(dc, 2, top - 3, width - 4, height - caption - top, memory, 0, 0, frameSize.cx, frameSize.cy, SRCCOPY);
  }
  if (previous)
    SelectObject(memory, previous);
  DeleteDC(memory);

  int previousMode = SetBkMode(dc, TRANSPARENT);
  HGDIOBJ previousFont = SelectObject(dc, GetFont());
  RECT text{m_bHasIcon ? 2 + kIconMargin * sx : 2, top + kTextTop * sy, width - 12, top + kTextBottom * sy};
  RECT measured{0, 0, 0, 0};
  DrawTextW(dc, m_strText, -1, &measured, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  bool oneLine = measured.right - measured.left <= text.right - text.left && m_strText.Find(u'\n') < 0;
  DrawTextW(dc, m_strText, -1, &text, DT_WORDBREAK | DT_NOPREFIX | (oneLine ? DT_CENTER : 0));
  SelectObject(dc, previousFont);
  SetBkMode(dc, previousMode);

  PlaceProgress(top, sx, sy, width);
}

void CSkinMessageBox::PlaceProgress(int frameTop, int sx, int sy, int width)
{
  if (!m_bProgress) {
    if (m_pProgress && m_pProgress->IsWindow())
      m_pProgress->ShowWindow(SW_HIDE);
    return;
  }
  int stripWidth = kProgressWidth * sx;
  int left = (width - stripWidth) / 2;
  RECT place{left, frameTop + kProgressTop * sy, left + stripWidth, frameTop + kProgressBottom * sy};
  if (!m_pProgress || !m_pProgress->IsWindow()) {
    m_pProgress = std::make_unique<CSkinProgressBar>();
    m_pProgress->CreateStrip(m_hWnd, place, kProgressId, u"proCtrl");
  } else {
    m_pProgress->SetWindowPos(nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                              SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    m_pProgress->RedrawTrack();
    ::InvalidateRect(*m_pProgress, nullptr, FALSE);
  }
  SetTimer(kProgressTimer, kProgressPeriodMs);
}
