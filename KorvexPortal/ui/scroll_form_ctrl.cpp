#include "scroll_form_ctrl.h"

#include <algorithm>
#include <string>

#include "scroll_form_list.h"
#include "skin_image.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kChildFill = 0xF5F5F5;
constexpr COLORREF kChildFrame = 0x7E7E7E;
constexpr COLORREF kListFill = 0xF8F8F8;
constexpr COLORREF kFrame = 0xCCCCCC;
constexpr COLORREF kShadow = 0xBBBBBB;
constexpr COLORREF kFill = 0xFFFFFF;
constexpr COLORREF kArrow = 0x8E8E8E;
constexpr COLORREF kFocusFill = 0xFFF0EE;
constexpr COLORREF kFocusFrame = 0x903A36;
constexpr int kMaxItemChars = 259;
constexpr LRESULT kListColourAnswer = 5;

HBITMAP LoadSkinImage(int id)
{
  return ::LoadBitmapW(::AtlGetResourceInstance(), MAKEINTRESOURCEW(id));
}

void Frame(HDC dc, const RECT& rect, COLORREF colour)
{
  HBRUSH brush = ::CreateSolidBrush(colour);
  FrameRectWithBrush(dc, rect, brush);
  ::DeleteObject(brush);
}

}  // namespace

RECT ExtendedClientRect(HWND hwnd, int right, int bottom, int shadow)
{
  RECT r{}, window{};
  ::GetClientRect(hwnd, &r);
  ::GetWindowRect(hwnd, &window);
  r.right = std::min<LONG>(r.right + right, window.right - window.left - shadow);
  r.bottom = std::min<LONG>(r.bottom + bottom, window.bottom - window.top - shadow);
  return r;
}

CScrollFormCtrl::CScrollFormCtrl()
    : m_pList(std::make_unique<CScrollFormList>(this)),
      m_hLeftCap(LoadSkinImage(kLeftCapId)),
      m_hMiddle(LoadSkinImage(kMiddleId)),
      m_hRightCap(LoadSkinImage(kRightCapId))
{
  m_displayMode.dmSize = sizeof m_displayMode;
  ::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &m_displayMode);
}

CScrollFormCtrl::~CScrollFormCtrl()
{
  // A box that outlives its control (a dialog object that goes before its window) keeps the
  // platform's own procedure, and its list too.
  if (m_hWnd)
    UnsubclassWindow(TRUE);
  m_pList.reset();
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(m_hLeftCap), static_cast<HGDIOBJ>(m_hMiddle),
                         static_cast<HGDIOBJ>(m_hRightCap), static_cast<HGDIOBJ>(m_hChildBrush)})
    if (object)
      ::DeleteObject(object);
}

void CScrollFormCtrl::MeasureItem(LPMEASUREITEMSTRUCT measure)
{
  if (!measure)
    return;
  if (measure->CtlType == ODT_MENU) {
    measure->itemHeight = static_cast<UINT>(::GetSystemMetrics(SM_CYMENU));
    return;
  }
  HDC dc = ::GetDC(m_hWnd);
  auto font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
  HGDIOBJ old = font ? ::SelectObject(dc, font) : nullptr;
  TEXTMETRICW metrics{};
  if (::GetTextMetricsW(dc, &metrics))
    measure->itemHeight = static_cast<UINT>(metrics.tmHeight);
  if (old)
    ::SelectObject(dc, old);
  ::ReleaseDC(m_hWnd, dc);
}

LRESULT CScrollFormCtrl::OnFocusChange(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  PostMessage(WM_PAINT);
  bHandled = FALSE;
  return 0;
}

LRESULT CScrollFormCtrl::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  // The arrow keeps the shape it has upright: a turned screen's height / 320 would flatten it,
  // or leave none at all below 320 pixels.
  int sx = GetUprightScaleX();
  int sy = GetUprightScaleY();
  int unitX = ScreenWidth() / 240;
  int unitY = ScreenHeight() / 320;
  SendMessage(CB_SETITEMHEIGHT, 0, 27 * unitX);

  HDC dc = ::GetWindowDC(m_hWnd);
  ::SetBkMode(dc, TRANSPARENT);
  RECT r = ExtendedClientRect(m_hWnd, unitX * 2, unitY * 2, 1);
  bool highlighted = ::GetFocus() == m_hWnd && SendMessage(CB_GETDROPPEDSTATE) != 1;
  COLORREF fill = highlighted ? kFocusFill : kFill;
  COLORREF frame = highlighted ? kFocusFrame : kFrame;
  COLORREF arrow = highlighted ? kFocusFrame : kArrow;
  FillSolid(dc, r, fill);
  RECT shadow = r;
  ::OffsetRect(&shadow, 1, 1);
  Frame(dc, shadow, kShadow);
  Frame(dc, r, frame);

  POINT corners[3] = {{r.right - 10 * sx - 4, r.top + 6 * sy},
                      {r.right - 4, r.top + 6 * sy},
                      {r.right - 5 * sx - 4, r.top + 11 * sy}};
  HBRUSH arrowBrush = ::CreateSolidBrush(arrow);
  HPEN arrowPen = ::CreatePen(PS_SOLID, 1, arrow);
  HGDIOBJ oldBrush = ::SelectObject(dc, arrowBrush);
  HGDIOBJ oldPen = ::SelectObject(dc, arrowPen);
  ::Polygon(dc, corners, 3);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
  ::DeleteObject(arrowPen);
  ::DeleteObject(arrowBrush);

  int selected = static_cast<int>(SendMessage(CB_GETCURSEL));
  if (selected >= 0) {
    // The item is read whole (its length first), then at most kMaxItemChars of it are shown.
    int length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(selected)));
    if (length >= 0) {
      std::u16string text(static_cast<size_t>(length) + 1, u'\0');
      SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(selected), reinterpret_cast<LPARAM>(text.data()));
      HGDIOBJ oldFont = ::SelectObject(dc, ::GetStockObject(SYSTEM_FONT));
      RECT textRect{r.left + 5, r.top + 3, r.right - 15, r.bottom};
      ::DrawTextW(dc, text.c_str(), std::min(length, kMaxItemChars), &textRect, 0);
      ::SelectObject(dc, oldFont);
    }
  }
  ::ReleaseDC(m_hWnd, dc);
  // Painted through the window's DC: the paint cycle ends here, or it would come again.
  ::ValidateRect(m_hWnd, nullptr);
  return 0;
}

LRESULT CScrollFormCtrl::OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&)
{
  HDC dc = ::GetWindowDC(m_hWnd);
  RECT r = ExtendedClientRect(m_hWnd, 4, 4, 1);
  RECT shadow = r;
  ::OffsetRect(&shadow, 1, 1);
  Frame(dc, shadow, kShadow);
  Frame(dc, r, kFrame);
  ::ReleaseDC(m_hWnd, dc);
  return 0;
}

LRESULT CScrollFormCtrl::OnKey(UINT uMsg, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam == VK_UP || wParam == VK_DOWN)
    m_bArrowHeld = uMsg == WM_KEYDOWN;
  bHandled = FALSE;
  return 0;
}

LRESULT CScrollFormCtrl::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  auto list = reinterpret_cast<HWND>(lParam);
  if (HIWORD(wParam) != LBN_SELCHANGE || !list) {
    bHandled = FALSE;
    return 0;
  }
  PaintListFrame(list);
  if (m_bArrowHeld)
    return 0;  // moving with the arrows: the list stays open
  ::ShowWindow(list, SW_HIDE);
  SendMessage(CB_SHOWDROPDOWN, FALSE);
  PostMessage(WM_PAINT);
  bHandled = FALSE;
  return 0;
}

void CScrollFormCtrl::PaintListFrame(HWND list)
{
  HDC dc = ::GetWindowDC(list);
  RECT r = ExtendedClientRect(list, 2, 2, 0);
  FillSolid(dc, r, kListFill);
  Frame(dc, r, kFrame);
  ::ReleaseDC(list, dc);
}

LRESULT CScrollFormCtrl::OnChildColour(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  auto dc = reinterpret_cast<HDC>(wParam);
  auto child = reinterpret_cast<HWND>(lParam);
  ::SetBkMode(dc, TRANSPARENT);
  if (!m_hChildBrush)
    m_hChildBrush = ::CreateSolidBrush(kChildFill);
  RECT r;
  ::GetClientRect(child, &r);
  ::FillRect(dc, &r, m_hChildBrush);
  Frame(dc, r, kChildFrame);
  return reinterpret_cast<LRESULT>(m_hChildBrush);
}

LRESULT CScrollFormCtrl::OnListColour(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  auto list = reinterpret_cast<HWND>(lParam);
  if (!m_bListTakenOver && m_pList->TakeOver(list))
    m_bListTakenOver = true;
  ::PostMessageW(list, WM_PAINT, 0, 0);
  return kListColourAnswer;
}
