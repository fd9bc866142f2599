#include "desktop_menu_list.h"

#include <algorithm>

#include "base_dlg.h"
#include "resource_values.h"
#include "skin_image.h"
#include "window_helpers.h"

namespace {

using namespace desktop_menu;

// Icons of entry i in the resource library, and the caption drawn under them.
constexpr UINT kFirstIcon = 234;
constexpr UINT kFirstCaption = 4090;
constexpr UINT kScrollBarBitmap = 229;
constexpr COLORREF kCaptionColour = RGB(0x33, 0x33, 0x33);
constexpr int kCaptionHeight = 20;

// Writes the entry's caption into the row under its picture, so the grid shows it with the icon.
void DrawCaption(HBITMAP icon, const CStringW& caption, HFONT font)
{
  BITMAP info{};
  if (!icon || caption.IsEmpty() || !GetObject(icon, sizeof(info), &info))
    return;
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, icon);
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, kCaptionColour);
  int strip = kCaptionHeight * info.bmWidth / kIconWidth;
  RECT row{0, info.bmHeight - strip, info.bmWidth, info.bmHeight};
  DrawTextW(dc, caption, -1, &row, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  if (oldFont)
    SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
}

}  // namespace

CDesktopMenuList::~CDesktopMenuList()
{
  Detach();
}

BOOL CDesktopMenuList::Attach(HWND list)
{
  if (!list || !SubclassWindow(list))
    return FALSE;
  int s = GetWidthScale();
  SendMessage(LVM_SETICONSPACING, 0, MAKELPARAM(kCellWidth * s, kCellHeight * s));
  m_imageList = ImageList_Create(kCellWidth * s, kCellHeight * s, 0, 0, 1);
  // The list owns its normal image list from now on.
  SendMessage(LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(m_imageList));
  for (int i = 0; i < kEntryCount; ++i) {
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.pszText = const_cast<LPWSTR>(u"");
    item.lParam = i;
    SendMessage(LVM_INSERTITEM, 0, reinterpret_cast<LPARAM>(&item));
  }
  LVITEMW first{};
  first.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  first.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessage(LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&first));
  ModifyStyle(0, LVS_NOSCROLL);
  LoadIcons();
  m_previous = 0;
  m_laidOut = 0;
  return TRUE;
}

void CDesktopMenuList::Detach()
{
  if (m_bar.m_hWnd)
    m_bar.DestroyWindow();
  if (m_barBitmap) {
    DeleteObject(m_barBitmap);
    m_barBitmap = nullptr;
  }
  FreeIcons();
  if (m_hWnd)
    UnsubclassWindow(TRUE);
  m_imageList = nullptr;
}

void CDesktopMenuList::LoadIcons()
{
  FreeIcons();
  HFONT font = reinterpret_cast<HFONT>(::SendMessageW(GetParent(), WM_GETFONT, 0, 0));
  for (int i = 0; i < kEntryCount; ++i) {
    CStringW caption = LoadResourceString(kFirstCaption + i);
    m_icons[i] = LoadResourceBitmap(kFirstIcon + 2 * i);
    m_selectedIcons[i] = LoadResourceBitmap(kFirstIcon + 2 * i + 1);
    DrawCaption(m_icons[i], caption, font);
    DrawCaption(m_selectedIcons[i], caption, font);
  }
}

void CDesktopMenuList::FreeIcons()
{
  for (int i = 0; i < kEntryCount; ++i) {
    for (HBITMAP* icon : {&m_icons[i], &m_selectedIcons[i]}) {
      if (*icon)
        DeleteObject(*icon);
      *icon = nullptr;
    }
  }
}

void CDesktopMenuList::LayOutIfTurned()
{
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  int orientation = CBaseDlg::GetOrientation();
  if (orientation == 0)
    orientation = -1;
  if (orientation == m_laidOut)
    return;
  m_laidOut = orientation;
  int columns = Columns(width, height);
  int s = GetWidthScale();
  for (int i = 0; i < kEntryCount; ++i) {
    POINT at = EntryPosition(i, columns, s);
    SendMessage(LVM_SETITEMPOSITION, i, MAKELPARAM(at.x, at.y));
  }
  // The entries start at the top again.
  if (m_bar.m_hWnd) {
    SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, 0, 0};
    m_bar.SendMessage(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
  }
}

int CDesktopMenuList::GetScrollPosition() const
{
  if (!m_bar.m_hWnd)
    return 0;
  SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, 0, 0};
  ::SendMessageW(m_bar.m_hWnd, SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
  return info.nPos;
}

void CDesktopMenuList::MoveEntries(int dy)
{
  for (int i = 0; i < kEntryCount; ++i) {
    POINT at{};
    SendMessage(LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&at));
    SendMessage(LVM_SETITEMPOSITION, i, MAKELPARAM(at.x, at.y - dy));
  }
}

void CDesktopMenuList::UpdateScrollBar()
{
  if (!m_hWnd)
    return;
  int width = GetSystemMetrics(SM_CXSCREEN);
  int height = GetSystemMetrics(SM_CYSCREEN);
  RECT client{};
  GetClientRect(&client);
  int content = ContentHeight(Columns(width, height), GetWidthScale());
  if (client.bottom >= content) {
    if (m_bar.m_hWnd) {
      int position = GetScrollPosition();
      if (position != 0)
        MoveEntries(-position);
      SCROLLINFO info{sizeof(info), SIF_POS, 0, 0, 0, 0, 0};
      m_bar.SendMessage(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
      m_bar.ShowWindow(SW_HIDE);
    }
    return;
  }
  RECT bar{BarLeft(client.right, width), 0, client.right, client.bottom};
  if (!m_bar.m_hWnd) {
    HWND window = CreateWindowExW(0, u"ScrollBar", u"", WS_CHILD | WS_VISIBLE | SBS_VERT, bar.left, bar.top,
                                  bar.right - bar.left, bar.bottom, m_hWnd,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kScrollBarId)), nullptr, nullptr);
    if (!window || !m_bar.SubclassWindow(window))
      return;
    m_barBitmap = LoadResourceBitmap(kScrollBarBitmap);
    m_bar.SetBitmap(m_barBitmap);
  }
  m_bar.SetWindowPos(nullptr, bar.left, bar.top, bar.right - bar.left, bar.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
  SCROLLINFO info{sizeof(info), SIF_RANGE | SIF_PAGE, 0, content, static_cast<UINT>(client.bottom), 0, 0};
  m_bar.SendMessage(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&info));
  m_bar.ShowWindow(SW_SHOW);
}

LRESULT CDesktopMenuList::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  LayOutIfTurned();
  PAINTSTRUCT ps{};
  HDC dc = ::BeginPaint(m_hWnd, &ps);
  RECT client{};
  GetClientRect(&client);
  HDC buffer = CreateCompatibleDC(dc);
  HBITMAP surface = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old = SelectObject(buffer, surface);
  FillSolid(buffer, client, kBackground);
  int s = GetWidthScale();
  int selected = SelectedEntry();
  HDC icons = CreateCompatibleDC(dc);
  for (int i = 0; i < kEntryCount; ++i) {
    HBITMAP icon = i == selected ? m_selectedIcons[i] : m_icons[i];
    if (!icon)
      continue;
    POINT at{};
    SendMessage(LVM_GETITEMPOSITION, i, reinterpret_cast<LPARAM>(&at));
    HGDIOBJ oldIcon = SelectObject(icons, icon);
    BitBlt(buffer, at.x + kIconLeft * s, at.y, kIconWidth * s, kIconHeight * s, icons, 0, 0, SRCCOPY);
    SelectObject(icons, oldIcon);
  }
  DeleteDC(icons);
  BitBlt(dc, 0, 0, client.right, client.bottom, buffer, 0, 0, SRCCOPY);
  SelectObject(buffer, old);
  DeleteObject(surface);
  DeleteDC(buffer);
  ::EndPaint(m_hWnd, &ps);
  UpdateScrollBar();
  ::ValidateRect(m_hWnd, nullptr);
  return 0;
}

LRESULT CDesktopMenuList::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  if (!m_bar.m_hWnd || !m_bar.IsWindowVisible())
    return 0;
  SCROLLINFO info{sizeof(info), SIF_ALL, 0, 0, 0, 0, 0};
  m_bar.SendMessage(SBM_GETSCROLLINFO, 0, reinterpret_cast<LPARAM>(&info));
  ScrollState state{info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
  int thumb = LOWORD(wParam) == SB_THUMBTRACK ? info.nTrackPos : static_cast<SHORT>(HIWORD(wParam));
  int position = NextPosition(state, LOWORD(wParam), thumb, GetWidthScale());
  int step = position - info.nPos;
  if (step == 0)
    return 0;
  SCROLLINFO moved{sizeof(moved), SIF_POS, 0, 0, 0, position, 0};
  m_bar.SendMessage(SBM_SETSCROLLINFO, TRUE, reinterpret_cast<LPARAM>(&moved));
  // Only a landscape grid scrolls; a portrait one always fits on the device's screens.
  if (CBaseDlg::GetOrientation() != 1)
    MoveEntries(step);
  ::InvalidateRect(m_hWnd, nullptr, FALSE);
  return 0;
}

LRESULT CDesktopMenuList::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  UpdateScrollBar();
  return 0;
}

LRESULT CDesktopMenuList::OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (wParam == SPI_SETSIPINFO && IsWindowVisible())
    UpdateScrollBar();
  return 0;
}

LRESULT CDesktopMenuList::OnKeyUp(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  int selected = SelectedEntry();
  KeyUpStep step = KeyUpScroll(static_cast<UINT>(wParam), selected, m_previous,
                               KeyColumns(GetSystemMetrics(SM_CXSCREEN), GetWidthScale()));
  if (step.code)
    SendMessage(WM_VSCROLL, static_cast<WPARAM>(step.code), 0);
  if (step.remember && selected >= 0)
    m_previous = selected;
  return 0;
}

int CDesktopMenuList::SelectedEntry() const
{
  return static_cast<int>(::SendMessageW(m_hWnd, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}
