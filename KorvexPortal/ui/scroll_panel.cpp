#include "scroll_panel.h"

#include <cstdint>
#include <mutex>

#include "app_services.h"

namespace {

constexpr UINT kSkinBitmapId = 229;
constexpr int kSkinColumns = 9;
// The program's private messages, which the panel passes on to the dialog.
constexpr UINT kFirstPrivateMessage = 0x601;
constexpr UINT kLastPrivateMessage = 0x63F;
constexpr UINT kMirrorIntervalMs = 500;

// Corner modes: which bottom corner square is painted between two bars.
constexpr int kNoCorner = 0;
constexpr int kCornerLeft = 1;
constexpr int kCornerRight = 2;

// The scroll-bar skin of the resource library in use, loaded by the first panel that meets that
// library and shared by all. The skin of a library no longer in use is not freed: a panel of
// another thread may be drawing with it.
HBITMAP SharedSkin()
{
  static std::mutex lock;
  static HMODULE loadedFrom = nullptr;
  static HBITMAP skin = nullptr;
  CKorvexPortalApp* app = GetKorvexPortalApp();
  HMODULE library = app ? app->GetResourceLibrary() : nullptr;
  std::lock_guard<std::mutex> guard(lock);
  if (library != loadedFrom) {
    loadedFrom = library;
    skin = library ? LoadBitmapW(library, MAKEINTRESOURCEW(kSkinBitmapId)) : nullptr;
  }
  return skin;
}

bool IsPrivateMessage(UINT message) { return message >= kFirstPrivateMessage && message <= kLastPrivateMessage; }

bool SameState(const SCROLLINFO& a, const SCROLLINFO& b)
{
  return a.nMin == b.nMin && a.nMax == b.nMax && a.nPage == b.nPage && a.nPos == b.nPos;
}

}  // namespace

CScrollPanel::CScrollPanel() : container_(*this) {}

CScrollPanel::~CScrollPanel()
{
  if (container_.IsWindow())
    container_.DestroyWindow();  // detaches the control on the way
  if (subclassProc_)
    FreeWindowProc(subclassProc_);
}

BOOL CScrollPanel::Attach(HWND control)
{
  HBITMAP skin = SharedSkin();
  child_ = control;
  BITMAP info{};
  if (skin && GetObjectW(skin, sizeof info, &info))
    cellSize_ = info.bmWidth / kSkinColumns;

  HWND dialog = ::GetParent(control);
  RECT rect;
  ::GetWindowRect(control, &rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<LPPOINT>(&rect), 2);
  int id = ::GetDlgCtrlID(control);

  // The frame moves from the control to the container.
  CWindow child(control);
  DWORD containerStyle = WS_CHILD | WS_VISIBLE;
  // The dialog's keyboard navigation reaches through the container and the viewport to the
  // control, so Tab still stops at it.
  DWORD containerExStyle = WS_EX_CONTROLPARENT;
  if (child.GetStyle() & WS_BORDER) {
    child.ModifyStyle(WS_BORDER, 0);
    containerStyle |= WS_BORDER;
    rect.right -= GetSystemMetrics(SM_CXBORDER);
    rect.bottom -= 2 * GetSystemMetrics(SM_CXBORDER);
  }
  if (child.GetExStyle() & WS_EX_CLIENTEDGE) {
    child.ModifyStyleEx(WS_EX_CLIENTEDGE, 0);
    containerExStyle |= WS_EX_CLIENTEDGE;
    rect.right -= GetSystemMetrics(SM_CXEDGE);
    rect.bottom -= 2 * GetSystemMetrics(SM_CXEDGE);
  }

  container_.Create(dialog, rect, nullptr, containerStyle, containerExStyle, static_cast<UINT_PTR>(id));
  RECT inner;
  container_.GetClientRect(&inner);
  viewport_.Create(container_, inner, nullptr, WS_CHILD | WS_VISIBLE, WS_EX_CONTROLPARENT, kViewportId);
  struct BarSpec {
    CSkinScrollBar& bar;
    DWORD style;
    int id;
  };
  for (const BarSpec& spec : {BarSpec{hScrollBar_, SBS_HORZ, kHorizontalBarId}, BarSpec{vScrollBar_, SBS_VERT, kVerticalBarId}}) {
    HWND hwnd = CreateWindowExW(0, WC_SCROLLBARW, nullptr, WS_CHILD | spec.style, 0, 0, cellSize_, cellSize_,
                                container_, reinterpret_cast<HMENU>(static_cast<intptr_t>(spec.id)), nullptr, nullptr);
    spec.bar.SubclassWindow(hwnd);
    spec.bar.SetBitmap(skin);
  }

  // The subclass procedure is a closure bound to the panel, so the control's user data, which
  // may be its owner's, stays untouched.
  child.SetParent(viewport_);
  if (!subclassProc_)
    subclassProc_ = MakeWindowProc([this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
      return ControlProc(hwnd, message, wParam, lParam);
    });
  childProc_ = reinterpret_cast<WNDPROC>(child.SetWindowLongPtr(GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(subclassProc_)));

  child.MoveWindow(&rect, TRUE);
  container_.SetTimer(kMirrorTimer, kMirrorIntervalMs);
  return TRUE;
}

void CScrollPanel::Detach(BOOL fromControlDestruction)
{
  if (container_.m_hWnd)
    container_.KillTimer(kMirrorTimer);
  updating_ = TRUE;
  if (!container_.IsWindow() || detached_)
    return;
  detached_ = TRUE;
  HWND dialog = container_.GetParent();
  RECT rect;
  container_.GetWindowRect(&rect);
  MapWindowPoints(nullptr, dialog, reinterpret_cast<LPPOINT>(&rect), 2);
  if (::IsWindow(child_)) {
    ::SetWindowLongPtrW(child_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(childProc_));
    if (!fromControlDestruction) {
      ::SetParent(child_, dialog);
      ::MoveWindow(child_, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
  }
  for (CWindow* window : {static_cast<CWindow*>(&hScrollBar_), static_cast<CWindow*>(&vScrollBar_),
                          static_cast<CWindow*>(&viewport_)})
    if (window->IsWindow())
      window->DestroyWindow();
  updating_ = FALSE;
}

// --- The control ----------------------------------------------------------------------------

LRESULT CScrollPanel::ControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  WNDPROC original = childProc_;
  if (message == WM_DESTROY) {
    Detach(TRUE);
    return CallWindowProcW(original, hwnd, message, wParam, lParam);
  }
  LRESULT result = CallWindowProcW(original, hwnd, message, wParam, lParam);
  if (updating_ || detached_)
    return result;
  switch (message) {
  case WM_ERASEBKGND: {
    DWORD style = static_cast<DWORD>(::GetWindowLongW(hwnd, GWL_STYLE));
    if (style & WS_VSCROLL)
      Mirror(SB_VERT, vScrollBar_, true);
    if (style & WS_HSCROLL)
      Mirror(SB_HORZ, hScrollBar_, true);
    break;
  }
  case WM_WINDOWPOSCHANGED:
    OnControlPosChanged(reinterpret_cast<const WINDOWPOS*>(lParam));
    break;
  case WM_ENABLE:
    container_.EnableWindow(static_cast<BOOL>(wParam));
    break;
  default:
    break;
  }
  return result;
}

void CScrollPanel::OnControlPosChanged(const WINDOWPOS* pos)
{
  CWindow child(child_);
  RECT bounds;
  child.GetWindowRect(&bounds);
  int width = bounds.right - bounds.left;
  int height = bounds.bottom - bounds.top;
  if (width > 0 && height > 0) {
    DWORD style = child.GetStyle();
    bool hasVertical = (style & WS_VSCROLL) != 0;
    bool hasHorizontal = (style & WS_HSCROLL) != 0;
    bool onLeft = (child.GetExStyle() & WS_EX_LEFTSCROLLBAR) != 0;
    cornerMode_ = hasVertical && hasHorizontal ? (onLeft ? kCornerLeft : kCornerRight) : kNoCorner;

    // The container takes the control's new place in the dialog.
    updating_ = TRUE;
    HWND dialog = container_.GetParent();
    RECT place;
    if (pos && !(pos->flags & SWP_NOMOVE)) {
      place = RECT{pos->x, pos->y, pos->x + width, pos->y + height};
    } else {
      // Not moved: the container keeps its place, which is the control's. (The control's own
      // rectangle would be off by its offset in the viewport until the posted layout runs.)
      container_.GetWindowRect(&place);
      MapWindowPoints(nullptr, dialog, reinterpret_cast<LPPOINT>(&place), 2);
      place.right = place.left + width;
      place.bottom = place.top + height;
    }
    container_.MoveWindow(&place, TRUE);

    // The skinned bars lie over the control's own, along the container's inner edges.
    RECT inner;
    container_.GetClientRect(&inner);
    int k = cellSize_;
    const UINT show = SWP_NOZORDER | SWP_NOACTIVATE;
    vScrollBar_.SetWindowPos(nullptr, onLeft ? 0 : inner.right - k, 0, k, hasHorizontal ? inner.bottom - k : inner.bottom,
                             show | (hasVertical ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    int left = hasVertical && onLeft ? k : 0;
    hScrollBar_.SetWindowPos(nullptr, left, inner.bottom - k, hasVertical ? inner.right - k : inner.right, k,
                             show | (hasHorizontal ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
    container_.PostMessage(kRelayoutMessage, hasVertical, onLeft);
    updating_ = FALSE;
  }
  if (pos && (pos->flags & SWP_HIDEWINDOW))
    container_.ShowWindow(SW_HIDE);
  else if (pos && (pos->flags & SWP_SHOWWINDOW))
    container_.ShowWindow(SW_SHOW);
}

void CScrollPanel::Relayout(BOOL hasVertical, BOOL onLeft)
{
  if (!viewport_.IsWindow() || !::IsWindow(child_))
    return;
  updating_ = TRUE;
  RECT view;
  container_.GetClientRect(&view);
  if (hScrollBar_.IsWindowVisible())
    view.bottom -= cellSize_;
  if (hasVertical) {
    if (onLeft)
      view.left += cellSize_;
    else
      view.right -= cellSize_;
  }
  viewport_.MoveWindow(&view, TRUE);
  ::SetWindowPos(child_, nullptr, onLeft ? -cellSize_ : 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  updating_ = FALSE;
}

// --- Mirroring ------------------------------------------------------------------------------

void CScrollPanel::Mirror(int which, CSkinScrollBar& bar, bool enable)
{
  if (!bar.IsWindow())
    return;
  SCROLLINFO control{sizeof control, SIF_ALL, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(child_, which, &control))
    return;
  SCROLLINFO skinned{sizeof skinned, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(bar, SB_CTL, &skinned);
  if (SameState(control, skinned))
    return;
  control.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  SetScrollInfo(bar, SB_CTL, &control, TRUE);
  if (enable)
    bar.EnableWindow(static_cast<int64_t>(control.nMax) >= static_cast<int64_t>(control.nPage));
}

void CScrollPanel::OnMirrorTimer()
{
  if (!::IsWindow(child_) || detached_)
    return;
  if (vScrollBar_.IsWindowVisible() && !vScrollBar_.IsDragging())
    Mirror(SB_VERT, vScrollBar_, false);
  if (hScrollBar_.IsWindowVisible() && !hScrollBar_.IsDragging())
    Mirror(SB_HORZ, hScrollBar_, false);
}

// --- The container --------------------------------------------------------------------------

void CScrollPanel::ForwardScroll(UINT message, WPARAM wParam)
{
  updating_ = TRUE;
  if (::IsWindow(child_))
    ::SendMessageW(child_, message, wParam, 0);
  updating_ = FALSE;
}

void CScrollPanel::PaintCorner()
{
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(container_, &ps);
  HBITMAP skin = SharedSkin();
  if (skin && cornerMode_ != kNoCorner) {
    RECT inner;
    container_.GetClientRect(&inner);
    int k = cellSize_;
    HDC cells = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(cells, skin);
    int x = cornerMode_ == kCornerLeft ? 0 : inner.right - k;
    int row = cornerMode_ == kCornerLeft ? 1 : 0;
    BitBlt(dc, x, inner.bottom - k, k, k, cells, 8 * k, row * k, SRCCOPY);
    SelectObject(cells, old);
    DeleteDC(cells);
  }
  EndPaint(container_, &ps);
}

BOOL CScrollPanel::CContainer::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                                    DWORD)
{
  lResult = 0;
  switch (uMsg) {
  case WM_DESTROY:
    panel_.Detach(FALSE);
    return TRUE;
  case WM_SIZE:
  case WM_ERASEBKGND:  // the viewport, the bars and the corner cover the whole window
    return TRUE;
  case WM_SETFOCUS:
    if (panel_.viewport_.IsWindow() && ::IsWindow(panel_.child_))
      ::SetFocus(panel_.child_);
    return TRUE;
  case WM_PAINT:
    panel_.PaintCorner();
    return TRUE;
  case WM_TIMER:
    if (wParam == kMirrorTimer)
      panel_.OnMirrorTimer();
    return TRUE;
  case WM_VSCROLL:
  case WM_HSCROLL:
    panel_.ForwardScroll(uMsg, wParam);
    return TRUE;
  case kRelayoutMessage:
    panel_.Relayout(static_cast<BOOL>(wParam), static_cast<BOOL>(lParam));
    return TRUE;
  default:
    if (IsPrivateMessage(uMsg)) {
      lResult = ::SendMessageW(GetParent(), uMsg, wParam, lParam);
      return TRUE;
    }
    return FALSE;
  }
}

BOOL CScrollPanel::CViewport::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult,
                                                   DWORD)
{
  lResult = 0;
  if (IsPrivateMessage(uMsg)) {
    lResult = ::SendMessageW(GetParent(), uMsg, wParam, lParam);
    return TRUE;
  }
  // The control covers the viewport: nothing to erase.
  return uMsg == WM_ERASEBKGND;
}
