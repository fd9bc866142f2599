// The dialog base's content paging and the soft input panel: the content between the title strip
// and the soft-key bar scrolls by whole pages with a skinned scroll bar, and the field being
// edited stays above the input panel.
#include <algorithm>

#include "base_dlg.h"
#include "content_pages.h"

namespace {

constexpr DWORD kScrollBarStyle = 0x50000001;  // child, visible, vertical
constexpr UINT kMoveFlags = SWP_NOZORDER | SWP_NOACTIVATE;

RECT ClientRectOf(HWND window, HWND parent)
{
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

void Place(HWND window, const RECT& rect, UINT flags)
{
  ::SetWindowPos(window, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, flags);
}

bool IsEditWindow(HWND window)
{
  WCHAR name[16] = {};
  if (!window || !GetClassNameW(window, name, 16))
    return false;
  return CStringW(name).CompareNoCase(WC_EDITW) == 0;
}

bool HasWindow(const ControlLayout& layout)
{
  return layout.window && *layout.window && ::IsWindow(*layout.window);
}

}  // namespace

RECT CBaseDlg::NormalVisibleRect() const
{
  RECT window{};
  GetWindowRect(&window);
  return RECT{0, m_titleHeight, window.right - window.left, window.bottom - window.top - m_bottomBarHeight};
}

ControlLayout* CBaseDlg::FindLayout(HWND window)
{
  for (ControlLayout& layout : m_layouts)
    if (window && layout.window && *layout.window == window)
      return &layout;
  return nullptr;
}

bool CBaseDlg::ShowsInputMethod() const
{
  return m_centerKey.IsWindow() && m_centerKey.ShowsInputMethod();
}

BOOL CBaseDlg::MeasureContent(const RECT& visible, BOOL withRecord)
{
  if (!HasSecondLabel() || m_layouts.empty())
    return FALSE;
  if (withRecord) {
    for (ControlLayout& layout : m_layouts) {
      if (HasWindow(layout))
        layout.initial = layout.current = ClientRectOf(*layout.window, m_hWnd);
    }
    m_bPaged = false;
    m_bShiftedForScrollBar = false;
    m_scrollOffset = 0;
  }
  return std::any_of(m_layouts.begin(), m_layouts.end(), [&](const ControlLayout& layout) {
    return HasWindow(layout) && (layout.initial.top < visible.top || layout.initial.bottom > visible.bottom);
  });
}

BOOL CBaseDlg::MeasureAndPage(BOOL hideScrollBarWhenFits)
{
  // Content that was moved goes back first, so its places are read as the template made them.
  if (m_scrollOffset != 0 || m_bShiftedForScrollBar) {
    for (ControlLayout& layout : m_layouts) {
      layout.current = layout.initial;
      if (HasWindow(layout))
        Place(*layout.window, layout.initial, kMoveFlags);
    }
    m_scrollOffset = 0;
    m_bShiftedForScrollBar = false;
    m_bMovedForSip = false;
  }
  m_visible = NormalVisibleRect();
  if (MeasureContent(m_visible, TRUE)) {
    m_bPaged = true;
    PageContent(m_visible, ::GetFocus());
    StoreScrollInfo();
    return TRUE;
  }
  m_scrollInfo = SCROLLINFO{sizeof(SCROLLINFO), 0, 0, 0, 0, 0, 0};
  m_bPaged = false;
  if (hideScrollBarWhenFits && m_scrollBar.IsWindow())
    m_scrollBar.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | kMoveFlags);
  return FALSE;
}

void CBaseDlg::StoreScrollInfo()
{
  m_scrollInfo = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, 0, 0, 0, 0};
  if (m_scrollBar.IsWindow())
    ::GetScrollInfo(m_scrollBar, SB_CTL, &m_scrollInfo);
}

void CBaseDlg::PageContent(const RECT& visible, HWND target)
{
  const int height = visible.bottom - visible.top;
  RECT barRect{visible.right - m_scrollBarWidth, visible.top, visible.right, visible.bottom};
  if (!m_scrollBar.IsWindow()) {
    HWND bar = CreateWindowExW(WS_EX_NOACTIVATE, WC_SCROLLBARW, nullptr, kScrollBarStyle, barRect.left, barRect.top,
                               m_scrollBarWidth, height, m_hWnd, nullptr, nullptr, nullptr);
    if (!bar || !m_scrollBar.SubclassWindow(bar))
      return;
    if (m_hScrollBitmap)
      m_scrollBar.SetBitmap(m_hScrollBitmap);
  }
  m_scrollBar.SetWindowPos(HWND_TOP, &barRect, SWP_SHOWWINDOW | SWP_NOACTIVATE);

  if (!m_bShiftedForScrollBar && !m_layouts.empty() && m_layouts.front().current.left == m_layouts.front().initial.left) {
    MoveContent(m_scrollBarWidth / 2, 0);
    m_bShiftedForScrollBar = true;
  }

  std::vector<RECT> controls;
  for (const ControlLayout& layout : m_layouts)
    if (HasWindow(layout))
      controls.push_back(layout.initial);
  m_pages = BuildContentPages(controls, visible);
  ControlLayout* targetLayout = FindLayout(target);
  RECT targetRect{};
  if (targetLayout) {
    targetRect = targetLayout->initial;
  } else if (target && IsChild(target)) {
    targetRect = ClientRectOf(target, m_hWnd);
  }
  int page = FindContentPage(m_pages, visible, targetRect);
  int position = ContentPagePosition(m_pages, page);
  int total = ContentPagePosition(m_pages, static_cast<int>(m_pages.size()) - 1);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS, 0, height + total, static_cast<UINT>(height), position,
                  0};
  ::SetScrollInfo(m_scrollBar, SB_CTL, &info, TRUE);
  MoveContent(0, position - m_scrollOffset);
}

void CBaseDlg::MoveContent(int dx, int dy)
{
  if (dx == 0 && dy == 0)
    return;
  for (ControlLayout& layout : m_layouts) {
    if (!HasWindow(layout))
      continue;
    OffsetRect(&layout.current, -dx, -dy);
    Place(*layout.window, layout.current, kMoveFlags);
    if (IsSkinned() && layout.image)
      layout.image->Release();
  }
  m_scrollOffset += dy;
  ::UpdateWindow(m_hWnd);
}

LRESULT CBaseDlg::OnVScroll(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  if (!m_scrollBar.IsWindow() || reinterpret_cast<HWND>(lParam) != m_scrollBar.m_hWnd || m_pages.empty())
    return 0;
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  ::GetScrollInfo(m_scrollBar, SB_CTL, &info);
  int page = ContentPageAt(m_pages, info.nPos);
  int last = static_cast<int>(m_pages.size()) - 1;
  switch (LOWORD(wParam)) {
  case SB_LINEUP:
  case SB_PAGEUP:
    if (info.nPos > info.nMin && page > 0) {
      MoveContent(0, -m_pages[static_cast<size_t>(page)]);
      --page;
    }
    break;
  case SB_LINEDOWN:
  case SB_PAGEDOWN:
    if (info.nPos < info.nMax - static_cast<int>(info.nPage) && page < last) {
      ++page;
      MoveContent(0, m_pages[static_cast<size_t>(page)]);
    }
    break;
  default:
    break;
  }
  SCROLLINFO position{sizeof position, SIF_POS, 0, 0, 0, ContentPagePosition(m_pages, page), 0};
  ::SetScrollInfo(m_scrollBar, SB_CTL, &position, TRUE);
  m_scrollInfo.nPos = position.nPos;
  return 0;
}

void CBaseDlg::SetSipVisible(BOOL on)
{
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  if (!SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0))
    return;
  if (on)
    sip.fdwFlags |= SIPF_ON;
  else
    sip.fdwFlags &= ~static_cast<DWORD>(SIPF_ON);
  SHSipInfo(SPI_SETSIPINFO, 0, &sip, 0);
}

void CBaseDlg::CheckSip()
{
  if (!IsAlive() || ::GetActiveWindow() != m_hWnd)
    return;
  SIPINFO sip{};
  sip.cbSize = sizeof sip;
  if (!SHSipInfo(SPI_GETSIPINFO, 0, &sip, 0))
    return;
  if (sip.fdwFlags & SIPF_ON) {
    POINT sipTop{sip.rcSipRect.left, sip.rcSipRect.top};
    ScreenToClient(&sipTop);
    RECT client{};
    GetClientRect(&client);
    RECT band{0, m_titleHeight, client.right, sipTop.y};
    if (MeasureContent(band, FALSE)) {
      m_visible = band;
      PageContent(band, ::GetFocus());
      m_bMovedForSip = true;
    } else {
      if (m_bMovedForSip)
        LayoutControls();
      m_bMovedForSip = false;
    }
    return;
  }
  // The panel went down: the clock comes back and so does the layout without the panel.
  if (ShowsInputMethod())
    m_centerKey.UpdateInputMethodMenu(false, true);
  if (m_bMovedForSip)
    LayoutControls();
  m_bMovedForSip = false;
}

void CBaseDlg::LayoutControls()
{
  if (!m_scrollBar.IsWindow() || !m_scrollBar.IsWindowVisible())
    return;
  m_visible = NormalVisibleRect();
  const int height = m_visible.bottom - m_visible.top;
  int shift = m_bPaged ? m_scrollBarWidth / 2 : 0;
  int page = 0;
  if (m_bPaged) {
    std::vector<RECT> controls;
    for (const ControlLayout& layout : m_layouts)
      if (HasWindow(layout))
        controls.push_back(layout.initial);
    m_pages = BuildContentPages(controls, m_visible);
    ControlLayout* focused = FindLayout(::GetFocus());
    page = focused ? FindContentPage(m_pages, m_visible, focused->initial) : 0;
  }
  int offset = m_bPaged ? ContentPagePosition(m_pages, page) : 0;
  // Each control goes straight to its place on the page: one move per control.
  for (ControlLayout& layout : m_layouts) {
    if (!HasWindow(layout))
      continue;
    layout.current = layout.initial;
    OffsetRect(&layout.current, -shift, -offset);
    Place(*layout.window, layout.current, kMoveFlags);
    if (IsSkinned() && layout.image)
      layout.image->Release();
  }
  m_scrollOffset = offset;
  m_bShiftedForScrollBar = shift != 0;
  if (!m_bPaged) {
    m_scrollBar.SetWindowPos(nullptr, 0, 0, 0, 0, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | kMoveFlags);
  } else {
    int total = ContentPagePosition(m_pages, static_cast<int>(m_pages.size()) - 1);
    m_scrollInfo = SCROLLINFO{sizeof(SCROLLINFO), SIF_RANGE | SIF_PAGE | SIF_POS, 0, height + total,
                              static_cast<UINT>(height), offset, 0};
    ::SetScrollInfo(m_scrollBar, SB_CTL, &m_scrollInfo, TRUE);
    RECT barRect{m_visible.right - m_scrollBarWidth, m_visible.top, m_visible.right, m_visible.bottom};
    m_scrollBar.SetWindowPos(nullptr, &barRect, SWP_SHOWWINDOW | kMoveFlags);
  }
  ::UpdateWindow(m_hWnd);
}

void CBaseDlg::ScrollToFocusedControl(WPARAM wParam, LPARAM lParam)
{
  auto control = reinterpret_cast<HWND>(lParam);
  if (!control)
    return;
  switch (HIWORD(wParam)) {
  case EN_SETFOCUS:
    if (m_bMovedForSip || ShowsInputMethod()) {
      BringFocusedIntoView(control);
      return;
    }
    SipShowIM(SIPF_ON);
    if (m_centerKey.IsWindow())
      m_centerKey.UpdateInputMethodMenu(true, true);
    return;
  case EN_KILLFOCUS:
    if (::GetActiveWindow() == m_hWnd) {
      if (IsEditWindow(::GetFocus()))
        return;
      if (m_centerKey.IsWindow())
        m_centerKey.UpdateInputMethodMenu(false, true);
      SipShowIM(SIPF_OFF);
      return;
    }
    if (m_centerKey.IsWindow())
      m_centerKey.UpdateInputMethodMenu(true, false);
    SipShowIM(SIPF_OFF);
    if (m_bMovedForSip)
      LayoutControls();
    m_bMovedForSip = false;
    return;
  default:
    return;
  }
}

void CBaseDlg::BringFocusedIntoView(HWND focus)
{
  if (!m_scrollBar.IsWindow() || !m_scrollBar.IsWindowVisible() || m_pages.empty())
    return;
  ControlLayout* layout = FindLayout(focus);
  if (!layout)
    return;
  SCROLLINFO info{sizeof info, SIF_POS, 0, 0, 0, 0, 0};
  ::GetScrollInfo(m_scrollBar, SB_CTL, &info);
  int page = ContentPageAt(m_pages, info.nPos);
  int last = static_cast<int>(m_pages.size()) - 1;
  // Whole pages towards the control, until its page shows or the pages end.
  if (layout->current.bottom > m_visible.bottom) {
    while (layout->current.bottom > m_visible.bottom && page < last) {
      ++page;
      MoveContent(0, m_pages[static_cast<size_t>(page)]);
    }
  } else {
    while (layout->current.top < m_visible.top && page > 0) {
      MoveContent(0, -m_pages[static_cast<size_t>(page)]);
      --page;
    }
  }
  SCROLLINFO position{sizeof position, SIF_POS, 0, 0, 0, ContentPagePosition(m_pages, page), 0};
  ::SetScrollInfo(m_scrollBar, SB_CTL, &position, TRUE);
}
