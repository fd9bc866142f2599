#include "skin_popup_menu.h"

#include <algorithm>
#include <string>

#include "resource_values.h"
#include "skin_image.h"

namespace {

constexpr UINT kSeparatorId = 0x800;
constexpr COLORREF kItemColour = 0xF7F7F7;
constexpr COLORREF kSelectionColour = 0xFF0000;
constexpr COLORREF kSelectedTextColour = 0xFAFAFF;
constexpr COLORREF kMenuTopLineColour = 0xEEEEEE;
constexpr COLORREF kMenuFrameColour = 0xC4C4C4;

// Stretches a band of the bitmap (source rows top..top+height) into the destination box.
void StretchBand(HDC dc, HBITMAP bitmap, int sourceWidth, int sourceTop, int sourceHeight, int x, int y, int width,
                 int height)
{
  HDC memory = CreateCompatibleDC(dc);
  if (!memory)
    return;
  HGDIOBJ previous = SelectObject(memory, bitmap);
  StretchBlt(dc, x, y, width, height, memory, 0, sourceTop, sourceWidth, sourceHeight, SRCCOPY);
  SelectObject(memory, previous);
  DeleteDC(memory);
}

// The platform's popup menu window gets a light top line and a grey frame.
void FrameMenuWindow()
{
  HWND menuWindow = FindWindowW(u"MNU", u"");
  if (!menuWindow)
    return;
  HDC dc = GetWindowDC(menuWindow);
  if (!dc)
    return;
  RECT m;
  GetClientRect(menuWindow, &m);
  FillSolid(dc, RECT{m.left, m.top, m.right + 2, m.top + 1}, kMenuTopLineColour);
  HBRUSH frame = CreateSolidBrush(kMenuFrameColour);
  RECT framed{m.left, m.top + 1, m.right + 2, m.bottom + 2};
  FrameRectWithBrush(dc, framed, frame);
  DeleteObject(frame);
  ReleaseDC(menuWindow, dc);
}

}  // namespace

CSkinPopupMenu::CSkinPopupMenu(int normalId, int selectedId)
{
  int scale = GetSystemMetrics(SM_CXSCREEN) / 240;
  m_itemWidth = 98 * scale;
  m_itemHeight = 26 * scale;
  LoadImages(normalId, selectedId);
}

CSkinPopupMenu::~CSkinPopupMenu()
{
  if (m_hWnd)
    DestroyWindow();
  if (m_normalBitmap)
    DeleteObject(m_normalBitmap);
  if (m_selectedBitmap)
    DeleteObject(m_selectedBitmap);
}

bool CSkinPopupMenu::LoadImage(int id, HBITMAP& target, SIZE& size)
{
  HBITMAP loaded = LoadResourceBitmap(static_cast<UINT>(id));
  if (!loaded)
    return false;
  if (target && target != loaded)
    DeleteObject(target);
  target = loaded;
  BITMAP info{};
  if (GetObjectW(loaded, sizeof info, &info))
    size = SIZE{info.bmWidth, info.bmHeight};
  return true;
}

void CSkinPopupMenu::LoadImages(int normalId, int selectedId)
{
  if (normalId != -1 && LoadImage(normalId, m_normalBitmap, m_normalSize))
    m_hasNormalBitmap = true;
  if (selectedId != -1 && LoadImage(selectedId, m_selectedBitmap, m_selectedSize))
    m_hasSelectedBitmap = true;
}

void CSkinPopupMenu::SetMenu(HMENU menu)
{
  m_menu = menu;
  m_items.clear();
  m_itemCount = menu ? std::max(0, GetMenuItemCount(menu)) : 0;
  for (int position = 0; position < m_itemCount; ++position) {
    UINT id = GetMenuItemID(menu, position);
    WCHAR text[32];
    GetMenuStringW(menu, id, text, 32, MF_BYCOMMAND);
    auto inserted = m_items.emplace(static_cast<int>(id), Item{CStringW(text), position});
    // The item keeps its id; its text is drawn from the map.
    ModifyMenuW(menu, id, MF_BYCOMMAND | MF_OWNERDRAW, id, inserted.first->second.text.GetString());
  }
}

BOOL CSkinPopupMenu::TrackPopup(UINT flags, int x, int y, HWND notifyWindow)
{
  if (!m_hWnd) {
    RECT rect{};
    ::GetWindowRect(notifyWindow, &rect);
    if (!Create(notifyWindow, rect))
      return FALSE;
    ShowWindow(SW_HIDE);
  }
  m_notifyWindow = notifyWindow;
  return TrackPopupMenuEx(m_menu, flags, x, y, m_hWnd, nullptr);
}

void CSkinPopupMenu::Reset()
{
  if (!m_menu)
    return;
  m_menu = nullptr;
  // The flags and sizes go with the bitmaps, so a later item never draws from a deleted one.
  if (m_normalBitmap)
    DeleteObject(m_normalBitmap);
  if (m_selectedBitmap)
    DeleteObject(m_selectedBitmap);
  m_normalBitmap = m_selectedBitmap = nullptr;
  m_hasNormalBitmap = m_hasSelectedBitmap = false;
  m_normalSize = m_selectedSize = SIZE{0, 0};
  if (m_hWnd)
    DestroyWindow();
  m_items.clear();
  m_itemCount = 0;
}

LRESULT CSkinPopupMenu::OnDrawItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (wParam != 0) {
    bHandled = FALSE;
    return 0;
  }
  DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
  return 0;
}

LRESULT CSkinPopupMenu::OnMeasureItem(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  if (wParam != 0) {
    bHandled = FALSE;
    return 0;
  }
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  measure->itemHeight = measure->itemID == kSeparatorId ? 2 : static_cast<UINT>(m_itemHeight);
  measure->itemWidth = static_cast<UINT>(m_itemWidth - 7);
  return 0;
}

LRESULT CSkinPopupMenu::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  // The window stays hidden: there is nothing to draw, and nothing is validated either.
  return 0;
}

LRESULT CSkinPopupMenu::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  ::SendMessageW(m_notifyWindow, WM_COMMAND, wParam, lParam);
  return 0;
}

void CSkinPopupMenu::DrawItemBackground(HDC dc, const RECT& r, int position) const
{
  bool first = position == 0;
  bool last = position >= 0 && position == m_itemCount - 1;
  int width = r.right - r.left;
  if (m_hasNormalBitmap && last) {
    int half = m_normalSize.cy / 2;
    StretchBand(dc, m_normalBitmap, m_normalSize.cx, half, half, r.left, r.top, width, m_itemHeight - 1);
  } else if (m_hasNormalBitmap && position >= 0 && position == m_itemCount - 2) {
    StretchBand(dc, m_normalBitmap, m_normalSize.cx, 0, m_normalSize.cy / 2, r.left, r.top, width, m_itemHeight);
  } else {
    RECT fill = r;
    if (first)
      fill.top += 1;
    if (last && !m_hasNormalBitmap)
      fill.bottom -= 1;
    FillSolid(dc, fill, kItemColour);
  }
}

void CSkinPopupMenu::DrawItem(const DRAWITEMSTRUCT& draw) const
{
  FrameMenuWindow();
  if (draw.itemID == kSeparatorId)
    return;
  HDC dc = draw.hDC;
  const RECT& r = draw.rcItem;
  auto found = m_items.find(static_cast<int>(draw.itemID));
  int position = found != m_items.end() ? found->second.position : -1;
  int scale = GetDeviceCaps(dc, HORZRES) / 240;

  int previousMode = SetBkMode(dc, TRANSPARENT);
  DrawItemBackground(dc, r, position);

  RECT s;
  COLORREF textColour;
  if (draw.itemState == ODS_SELECTED) {
    int top = position == m_itemCount - 1 ? r.top : position == 0 ? r.top + 4 : r.top + 2;
    s = RECT{r.left + 5, top, (m_itemWidth - 6) * scale, top + 22 * scale};
    if (m_hasSelectedBitmap)
      StretchBand(dc, m_selectedBitmap, m_selectedSize.cx, 0, m_selectedSize.cy, s.left, s.top,
                  r.right - r.left - 10, m_selectedSize.cy);
    else
      FillSolid(dc, s, kSelectionColour);
    textColour = kSelectedTextColour;
  } else {
    s = RECT{r.left + 5, r.top, r.right, r.bottom};
    textColour = 0;
  }

  LOGFONTW logFont{};
  GetObjectW(GetStockObject(SYSTEM_FONT), sizeof logFont, &logFont);
  std::u16string face = u"宋体";
  face.copy(logFont.lfFaceName, LF_FACESIZE - 1);
  logFont.lfFaceName[face.size()] = u'\0';
  HFONT font = CreateFontIndirectW(&logFont);
  HGDIOBJ previousFont = SelectObject(dc, font);
  COLORREF previousColour = SetTextColor(dc, textColour);
  if (found != m_items.end()) {
    RECT textRect{s.left + 7, s.top, s.right - 1, s.bottom - 2};
    DrawTextW(dc, found->second.text.GetString(), -1, &textRect, DT_VCENTER | DT_SINGLELINE);
  }
  SetTextColor(dc, previousColour);
  SelectObject(dc, previousFont);
  DeleteObject(font);
  SetBkMode(dc, previousMode);
}
