#include "korvex_list_view.h"

#include <algorithm>

#include "skin_image.h"

namespace {

constexpr COLORREF kBackground = 0xF5F5F5;
constexpr COLORREF kSeparator = 0xE1E1E1;
constexpr COLORREF kSelectedText = 0xCC0C01;
constexpr COLORREF kImageKey = 0xFFFFFF;
// Word ellipsis, no prefix, single line, vertically centred, left aligned.
constexpr UINT kCellTextFormat = DT_WORD_ELLIPSIS | DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_LEFT;

void ReplaceBitmap(HBITMAP& slot, int id)
{
  if (slot)
    ::DeleteObject(slot);
  slot = ::LoadBitmapW(::AtlGetResourceInstance(), MAKEINTRESOURCEW(id));
}

// The bitmap's size; nothing for a missing one.
SIZE BitmapSize(HBITMAP bitmap)
{
  SIZE size{0, 0};
  if (!bitmap || !GetBitmapSize(bitmap, &size))
    return SIZE{0, 0};
  return size;
}

// The extent of the whole content along one scroll bar: the client size scaled by range / page.
long long ContentExtent(int clientSize, const SCROLLINFO& info)
{
  if (info.nPage == 0)
    return clientSize;
  return static_cast<long long>(clientSize) * (info.nMax + 1LL) / info.nPage;
}

// The range of a scroll bar as a divisor; never zero.
long long RangeOf(const SCROLLINFO& info)
{
  return std::max(1LL, info.nMax + 1LL);
}

}  // namespace

CKorvexListView::CKorvexListView()
{
  ReplaceBitmap(m_hSelectionMiddle, kSelectionMiddleId);
  ReplaceBitmap(m_hSelectionLeft, kSelectionLeftId);
  ReplaceBitmap(m_hSelectionRight, kSelectionRightId);
}

CKorvexListView::~CKorvexListView()
{
  if (m_pModel)
    std::erase(m_pModel->m_views, this);
  DeleteImages();
}

void CKorvexListView::DeleteImages()
{
  for (HBITMAP* bitmap : {&m_hSelectionMiddle, &m_hSelectionLeft, &m_hSelectionRight}) {
    if (*bitmap)
      ::DeleteObject(*bitmap);
    *bitmap = nullptr;
  }
}

void CKorvexListView::SetModel(CListRows* model)
{
  if (m_pModel != model) {
    if (m_pModel)
      std::erase(m_pModel->m_views, this);
    if (model)
      model->m_views.push_back(this);
    else if (m_pModel)
      DeleteAllItems();  // no item may keep pointing to the former model's rows
    m_pModel = model;
  }
  Rebuild();
}

void CKorvexListView::Rebuild()
{
  if (!m_pModel)
    return;
  DeleteAllItems();
  LVCOLUMNW existing{};
  existing.mask = LVCF_WIDTH;
  while (GetColumn(0, &existing) && DeleteColumn(0)) {
  }
  WCHAR noText[1] = {0};
  for (size_t i = 0; i < m_pModel->m_columnWidths.size(); ++i) {
    LVCOLUMNW column{};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
    column.fmt = LVCFMT_LEFT;
    column.cx = m_pModel->m_columnWidths[i];
    column.pszText = noText;
    column.iSubItem = static_cast<int>(i);
    InsertColumn(static_cast<int>(i), &column);
  }
  LVITEMW item{};
  item.mask = LVIF_TEXT | LVIF_PARAM;
  item.pszText = noText;
  for (size_t i = 0; i < m_pModel->m_rows.size(); ++i) {
    item.iItem = static_cast<int>(i);
    item.lParam = reinterpret_cast<LPARAM>(m_pModel->m_rows[i]);
    InsertItem(&item);
  }
  // Blank items pad a short page, so the list below the rows looks the same as a full one.
  item.lParam = 0;
  for (int count = GetItemCount(); count < GetCountPerPage(); ++count) {
    item.iItem = count;
    if (InsertItem(&item) < 0)
      break;
  }
  int selected = m_pModel->m_nSelected;
  if (selected >= 0 && static_cast<size_t>(selected) < m_pModel->m_rows.size())
    SelectItem(selected);
}

int CKorvexListView::GetCountPerPage()
{
  int fit = static_cast<int>(SendMessage(LVM_GETCOUNTPERPAGE));
  return (m_nMinRowsPerPage != 0 && m_nMinRowsPerPage > fit) ? m_nMinRowsPerPage : fit;
}

BOOL CKorvexListView::SetItemState(int index, UINT state, UINT mask)
{
  LVITEMW item{};
  item.state = state;
  item.stateMask = mask;
  return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item)));
}

BOOL CKorvexListView::SelectItem(int index)
{
  const UINT both = LVIS_SELECTED | LVIS_FOCUSED;
  if (!SetItemState(index, both, both))
    return FALSE;
  return EnsureVisible(index, FALSE);
}

BOOL CKorvexListView::EnsureVisible(int index, BOOL partialOk)
{
  return static_cast<BOOL>(SendMessage(LVM_ENSUREVISIBLE, static_cast<WPARAM>(index), partialOk));
}

int CKorvexListView::GetSelectedIndex()
{
  return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), MAKELPARAM(LVNI_SELECTED, 0)));
}

int CKorvexListView::GetItemCount()
{
  return static_cast<int>(SendMessage(LVM_GETITEMCOUNT));
}

BOOL CKorvexListView::GetItem(LVITEMW* item)
{
  return static_cast<BOOL>(SendMessage(LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CKorvexListView::GetItemRect(int index, RECT* rect, UINT portion)
{
  rect->left = static_cast<LONG>(portion);
  return static_cast<BOOL>(SendMessage(LVM_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(rect)));
}

BOOL CKorvexListView::GetSubItemRect(int item, int subItem, UINT portion, RECT* rect)
{
  rect->top = subItem;
  rect->left = static_cast<LONG>(portion);
  return static_cast<BOOL>(SendMessage(LVM_GETSUBITEMRECT, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(rect)));
}

DWORD CKorvexListView::SetExtendedListViewStyle(DWORD mask, DWORD style)
{
  return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style));
}

BOOL CKorvexListView::Scroll(int dx, int dy)
{
  return static_cast<BOOL>(SendMessage(LVM_SCROLL, static_cast<WPARAM>(dx), dy));
}

COLORREF CKorvexListView::GetTextColor()
{
  return static_cast<COLORREF>(SendMessage(LVM_GETTEXTCOLOR));
}

BOOL CKorvexListView::GetColumn(int index, LVCOLUMNW* column)
{
  return static_cast<BOOL>(SendMessage(LVM_GETCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column)));
}

int CKorvexListView::InsertColumn(int index, const LVCOLUMNW* column)
{
  return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(column)));
}

BOOL CKorvexListView::DeleteColumn(int index)
{
  return static_cast<BOOL>(SendMessage(LVM_DELETECOLUMN, static_cast<WPARAM>(index)));
}

int CKorvexListView::InsertItem(const LVITEMW* item)
{
  return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(item)));
}

BOOL CKorvexListView::DeleteAllItems()
{
  return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS));
}

LRESULT CKorvexListView::OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
  LRESULT result = DefWindowProc(uMsg, wParam, lParam);
  SetExtendedListViewStyle(LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
  return result;
}

LRESULT CKorvexListView::OnSize(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  m_nWidth = LOWORD(lParam);
  m_nHeight = HIWORD(lParam);
  return 0;
}

LRESULT CKorvexListView::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  RECT client;
  GetClientRect(&client);
  HBRUSH brush = ::CreateSolidBrush(kBackground);
  ::FillRect(reinterpret_cast<HDC>(wParam), &client, brush);
  ::DeleteObject(brush);
  return 1;
}

LRESULT CKorvexListView::OnScroll(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  int code = LOWORD(wParam);
  if (code != SB_THUMBTRACK && code != SB_THUMBPOSITION) {
    bHandled = FALSE;
    return 0;
  }
  SCROLLINFO vertical{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
  SCROLLINFO horizontal = vertical;
  ::GetScrollInfo(m_hWnd, SB_VERT, &vertical);
  ::GetScrollInfo(m_hWnd, SB_HORZ, &horizontal);
  RECT client;
  GetClientRect(&client);
  long long contentWidth = ContentExtent(client.right - client.left, horizontal);
  long long contentHeight = ContentExtent(client.bottom - client.top, vertical);
  long long thumb = static_cast<SHORT>(HIWORD(wParam));
  long long dx, dy;
  if (uMsg == WM_VSCROLL) {
    dx = contentWidth * horizontal.nPos / RangeOf(horizontal);
    dy = contentHeight * (thumb - vertical.nPos) / RangeOf(vertical);
  } else {
    dx = contentWidth * (thumb - horizontal.nPos) / RangeOf(horizontal);
    dy = contentHeight * vertical.nPos / RangeOf(vertical);
  }
  Scroll(static_cast<int>(dx), static_cast<int>(dy));
  return 0;
}

LRESULT CKorvexListView::OnMeasureItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
  if (measure && measure->CtlType == ODT_LISTVIEW) {
    int factor = std::max(1, ::GetSystemMetrics(SM_CXSCREEN) / 240);
    measure->itemHeight = static_cast<UINT>(kBaseRowHeight * factor);
  }
  return TRUE;
}

LRESULT CKorvexListView::OnDrawItem(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
  if (draw && m_bDrawEnabled && draw->hwndItem == m_hWnd)
    DrawRow(*draw);
  return TRUE;
}

// Each row is composed off-screen and copied in one block, so it never flickers.
void CKorvexListView::DrawRow(const DRAWITEMSTRUCT& draw)
{
  int index = static_cast<int>(draw.itemID);
  LVITEMW item{};
  item.mask = LVIF_PARAM | LVIF_STATE;
  item.iItem = index;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  if (!GetItem(&item))
    return;
  const auto* row = reinterpret_cast<const CListRow*>(item.lParam);
  RECT bounds{};
  if (!GetItemRect(index, &bounds, LVIR_BOUNDS))
    return;
  int width = bounds.right - bounds.left;
  int height = bounds.bottom - bounds.top;
  if (width <= 0 || height <= 0)
    return;

  HDC memory = ::CreateCompatibleDC(draw.hDC);
  if (!memory)
    return;
  HBITMAP canvas = ::CreateCompatibleBitmap(draw.hDC, width, height);
  HDC source = canvas ? ::CreateCompatibleDC(draw.hDC) : nullptr;
  if (!source) {
    if (canvas)
      ::DeleteObject(canvas);
    ::DeleteDC(memory);
    return;
  }
  HGDIOBJ oldCanvas = ::SelectObject(memory, canvas);
  ::SetBkMode(memory, TRANSPARENT);
  auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = font ? ::SelectObject(memory, font) : nullptr;
  COLORREF color = GetTextColor();
  RECT area{0, 0, width, height};
  FillSolid(memory, area, kBackground);

  const CListCell* first = row ? row->GetCell(0) : nullptr;
  if (index == GetSelectedIndex() && ::GetFocus() == m_hWnd && first && !first->m_strText.IsEmpty()) {
    DrawSelectionBar(memory, source, width);
    color = kSelectedText;
  }
  if (row) {
    HPEN pen = ::CreatePen(PS_SOLID, 1, kSeparator);
    HGDIOBJ oldPen = ::SelectObject(memory, pen);
    ::MoveToEx(memory, 0, height - 1, nullptr);
    ::LineTo(memory, width, height - 1);
    ::SelectObject(memory, oldPen);
    ::DeleteObject(pen);
  }
  DrawCells(memory, draw, bounds, row, color);

  ::BitBlt(draw.hDC, bounds.left, bounds.top, width, height, memory, 0, 0, SRCCOPY);
  if (oldFont)
    ::SelectObject(memory, oldFont);
  ::SelectObject(memory, oldCanvas);
  ::DeleteObject(canvas);
  ::DeleteDC(source);
  ::DeleteDC(memory);
}

// The bar: the middle bitmap's first column repeated between the left and right bitmaps.
void CKorvexListView::DrawSelectionBar(HDC dc, HDC source, int width)
{
  SIZE middle = BitmapSize(m_hSelectionMiddle);
  SIZE left = BitmapSize(m_hSelectionLeft);
  SIZE right = BitmapSize(m_hSelectionRight);
  int y = std::max(0, (kBaseRowHeight - static_cast<int>(middle.cy)) / 2);
  HGDIOBJ old = ::SelectObject(source, m_hSelectionMiddle);
  if (m_hSelectionMiddle)
    for (int x = left.cx; x < width - right.cx; ++x)
      ::BitBlt(dc, x, y, 1, middle.cy, source, 0, 0, SRCCOPY);
  if (m_hSelectionLeft) {
    ::SelectObject(source, m_hSelectionLeft);
    ::BitBlt(dc, 0, y, left.cx, left.cy, source, 0, 0, SRCCOPY);
  }
  if (m_hSelectionRight) {
    ::SelectObject(source, m_hSelectionRight);
    ::BitBlt(dc, width - right.cx, y, right.cx, right.cy, source, 0, 0, SRCCOPY);
  }
  ::SelectObject(source, old);
}

void CKorvexListView::DrawCells(HDC dc, const DRAWITEMSTRUCT& draw, const RECT& bounds, const CListRow* row,
                                COLORREF color)
{
  ::SetTextColor(dc, color);
  ::SetBkColor(dc, kBackground);
  int index = static_cast<int>(draw.itemID);
  LVCOLUMNW column{};
  column.mask = LVCF_WIDTH;
  for (int i = 1; GetColumn(i, &column); ++i) {
    const CListCell* cell = row ? row->GetCell(static_cast<size_t>(i)) : nullptr;
    RECT rect{};
    if (!cell || !GetSubItemRect(index, i, LVIR_BOUNDS, &rect))
      continue;
    ::OffsetRect(&rect, -bounds.left, -bounds.top);
    if (cell->m_nKind == CListCell::kImage && cell->m_hImage) {
      SIZE image = BitmapSize(cell->m_hImage);
      int x = rect.left + std::max(0, static_cast<int>(rect.right - rect.left - image.cx) / 2);
      int y = rect.top + std::max(0, static_cast<int>(rect.bottom - rect.top - image.cy) / 2);
      ::TransparentImage(dc, x, y, image.cx, image.cy, cell->m_hImage, 0, 0, image.cx, image.cy, kImageKey);
    } else if (cell->m_nKind == CListCell::kText) {
      if (i == 1)
        rect.left += 2;
      ::DrawTextW(dc, cell->m_strText, -1, &rect, kCellTextFormat);
    }
  }
}
