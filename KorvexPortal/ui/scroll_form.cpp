#include "scroll_form.h"

#include <algorithm>

#include "app_services.h"
#include "window_helpers.h"

namespace {

constexpr UINT kBarBitmapId = 229;
// Children parked at or below this are not part of the form.
constexpr int kParkedBottom = 1000;
constexpr int kBarWidth = 12;  // at 240 pixels across
constexpr int kLineStep = 10;
constexpr int kPageStep = 20;

struct Measure {
  HWND owner;
  HWND bar;
  int bottom;
};

void MeasureChild(HWND window, void* context)
{
  auto* measure = static_cast<Measure*>(context);
  if (window == measure->bar || ::GetParent(window) != measure->owner)
    return;
  RECT rect;
  ::GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, measure->owner, reinterpret_cast<LPPOINT>(&rect), 2);
  if (rect.bottom > measure->bottom && rect.bottom < kParkedBottom)
    measure->bottom = rect.bottom;
}

// The page: the visible height, or half the range when that covers it all.
UINT PageFor(int visibleBottom, int maximum)
{
  return static_cast<UINT>(visibleBottom) < static_cast<UINT>(maximum) ? static_cast<UINT>(visibleBottom)
                                                                       : static_cast<UINT>(maximum / 2);
}

}  // namespace

CScrollForm::CScrollForm(CWindow* owner) : owner_(owner)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (app && app->GetResourceLibrary())
    barBitmap_ = LoadBitmapW(app->GetResourceLibrary(), MAKEINTRESOURCEW(kBarBitmapId));
}

CScrollForm::~CScrollForm()
{
  if (bar_.IsWindow())
    bar_.DestroyWindow();
  if (barBitmap_)
    DeleteObject(barBitmap_);
}

BOOL CScrollForm::ForEachChildWindow(HWND parent, ChildWindowCallback callback, void* context)
{
  if (!callback) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HWND child = ::GetWindow(parent, GW_CHILD);
  if (!child)
    return FALSE;
  for (; child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    callback(child, context);
    ForEachChildWindow(child, callback, context);
  }
  return TRUE;
}

int CScrollForm::BarPosition() const
{
  if (!bar_.IsWindow())
    return 0;
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(bar_, SB_CTL, &info);
  return info.nPos;
}

int CScrollForm::VisibleBottom() const
{
  RECT client{};
  owner_->GetClientRect(&client);
  int visibleBottom = client.bottom;
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  if (SipGetInfo(&sip) && (sip.fdwFlags & SIPF_ON)) {
    POINT top{sip.rcSipRect.left, sip.rcSipRect.top};
    owner_->ScreenToClient(&top);
    visibleBottom = std::min<int>(visibleBottom, top.y);
  }
  return visibleBottom;
}

void CScrollForm::Relayout()
{
  if (!owner_ || !owner_->IsWindow())
    return;
  HWND owner = owner_->m_hWnd;
  Measure measure{owner, bar_.m_hWnd, 0};
  ForEachChildWindow(owner, MeasureChild, &measure);
  contentBottom_ = measure.bottom;

  RECT client;
  owner_->GetClientRect(&client);
  int visibleBottom = VisibleBottom();

  int position = BarPosition();
  if (visibleBottom < position + contentBottom_) {
    RECT place{static_cast<LONG>(client.right - kBarWidth * GetScreenScaleX()), 0, client.right, visibleBottom};
    if (bar_.IsWindow()) {
      bar_.MoveWindow(&place, TRUE);
      bar_.ShowWindow(SW_SHOW);
      if (contentBottom_ - visibleBottom >= 1) {
        int maximum = (contentBottom_ + position - visibleBottom) / kLineStep * kLineStep + kLineStep;
        SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, maximum, PageFor(visibleBottom, maximum), 0, 0};
        ::SetScrollInfo(bar_, SB_CTL, &info, TRUE);
      }
    } else {
      HWND hwnd = CreateWindowExW(0, WC_SCROLLBARW, nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, place.left, place.top,
                                  place.right - place.left, place.bottom - place.top, owner,
                                  reinterpret_cast<HMENU>(static_cast<intptr_t>(kBarId)), nullptr, nullptr);
      if (!hwnd || !bar_.SubclassWindow(hwnd))
        return;
      bar_.SetBitmap(barBitmap_);
      int maximum = (contentBottom_ - visibleBottom) / kLineStep * kLineStep + kLineStep;
      SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE, 0, maximum, PageFor(visibleBottom, maximum), 0, 0};
      ::SetScrollInfo(bar_, SB_CTL, &info, TRUE);
    }
    // The field being typed in stays in view when the visible area shrinks (the input panel came).
    ScrollIntoView(::GetFocus());
  } else if (bar_.IsWindow()) {
    // Everything fits: back to the top, and no bar.
    owner_->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), reinterpret_cast<LPARAM>(bar_.m_hWnd));
    bar_.ShowWindow(SW_HIDE);
  }
}

void CScrollForm::OnVScroll(WPARAM wParam)
{
  if (!owner_ || !owner_->IsWindow())
    return;
  int code = LOWORD(wParam);
  int thumb = HIWORD(wParam);
  int position = BarPosition();
  SCROLLINFO range{sizeof range, SIF_RANGE, 0, 0, 0, 0, 0};
  if (bar_.IsWindow())
    ::GetScrollInfo(bar_, SB_CTL, &range);

  int delta = 0;
  switch (code) {
  case SB_LINEUP: delta = position > range.nMin ? -kLineStep : 0; break;
  case SB_LINEDOWN: delta = position < range.nMax ? kLineStep : 0; break;
  case SB_PAGEUP: delta = position > range.nMin ? -kPageStep : 0; break;
  case SB_PAGEDOWN: delta = position < range.nMax ? kPageStep : 0; break;
  case SB_THUMBPOSITION:
  case SB_THUMBTRACK: delta = std::clamp(thumb, range.nMin, std::max(range.nMin, range.nMax)) - position; break;
  default: break;
  }
  int newPosition = std::clamp(position + delta, range.nMin, std::max(range.nMin, range.nMax));
  if (bar_.IsWindow()) {
    SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, newPosition, 0};
    ::SetScrollInfo(bar_, SB_CTL, &info, TRUE);
  }
  delta = newPosition - position;
  lastDelta_ = delta;
  if (delta == 0)
    return;
  HWND owner = owner_->m_hWnd;
  for (HWND child = ::GetWindow(owner, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (child == bar_.m_hWnd)
      continue;
    RECT rect;
    ::GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, owner, reinterpret_cast<LPPOINT>(&rect), 2);
    ::MoveWindow(child, rect.left, rect.top - delta, rect.right - rect.left, rect.bottom - rect.top, FALSE);
  }
}

void CScrollForm::ScrollIntoView(HWND child)
{
  RECT rect{};
  if (!owner_ || !owner_->IsWindow() || !bar_.IsWindow() || !bar_.IsWindowVisible() || !child ||
      ::GetParent(child) != owner_->m_hWnd || !::GetWindowRect(child, &rect))
    return;
  ::MapWindowPoints(nullptr, owner_->m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
  int visibleBottom = VisibleBottom();
  int delta = rect.bottom > visibleBottom ? rect.bottom - visibleBottom : rect.top < 0 ? rect.top : 0;
  if (delta != 0)
    OnVScroll(MAKEWPARAM(SB_THUMBPOSITION, BarPosition() + delta));
}
