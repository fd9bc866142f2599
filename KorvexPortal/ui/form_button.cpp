#include "form_button.h"

#include "resource_values.h"
#include "skin_image.h"

namespace {

constexpr COLORREF kFormBackground = RGB(0xF5, 0xF5, 0xF5);
constexpr COLORREF kFocusFrame = 0xE9B49A;  // light blue
constexpr COLORREF kIconTransparent = RGB(255, 255, 255);
constexpr int kTextInset = 3;
constexpr int kTitleGap = 4;  // between the icon's width and the title
constexpr int kCapWidth = 2;
constexpr UINT kCaptionFormat = DT_VCENTER | DT_SINGLELINE;
constexpr UINT kValueFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE;

// Replaces an owned bitmap, deleting the old one unless it is the same.
void Replace(HBITMAP& slot, HBITMAP bitmap)
{
  if (slot && slot != bitmap)
    DeleteObject(slot);
  slot = bitmap;
}

SIZE SizeOf(HBITMAP bitmap)
{
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
    return SIZE{0, 0};
  return SIZE{info.bmWidth, info.bmHeight};
}

// Stretches the whole bitmap into the rectangle given by its corner and size.
void StretchInto(HDC dc, HBITMAP bitmap, int x, int y, int width, int height)
{
  SIZE size = SizeOf(bitmap);
  if (size.cx <= 0 || size.cy <= 0 || width <= 0 || height <= 0)
    return;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, bitmap);
  StretchBlt(dc, x, y, width, height, source, 0, 0, size.cx, size.cy, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
}

}  // namespace

CFormButton::~CFormButton()
{
  for (HBITMAP bitmap : {leftCap_, middle_, rightCap_, icon_, focusFace_})
    if (bitmap)
      DeleteObject(bitmap);
}

void CFormButton::LoadImages(int rowStyle)
{
  rowStyle_ = rowStyle;
  HMODULE library = AppResourceLibrary();
  Replace(leftCap_, library ? SHLoadImageResource(library, kLeftCapImage) : nullptr);
  Replace(middle_, library ? SHLoadImageResource(library, kMiddleImage) : nullptr);
  Replace(rightCap_, library ? SHLoadImageResource(library, kRightCapImage) : nullptr);
}

void CFormButton::LoadBitmaps(UINT iconId, UINT focusFaceId)
{
  HMODULE library = AppResourceLibrary();
  if (!library)
    return;
  Replace(icon_, SHLoadImageResource(library, iconId));
  Replace(focusFace_, SHLoadImageResource(library, focusFaceId));
  Redraw();
}

void CFormButton::SetBitmaps(HBITMAP icon, HBITMAP focusFace)
{
  Replace(icon_, icon);
  Replace(focusFace_, focusFace);
  Redraw();
}

void CFormButton::SetTitle(LPCWSTR title, COLORREF colour)
{
  title_ = title;
  titleColour_ = colour;
  Redraw();
}

void CFormButton::SetTexts(LPCWSTR caption, COLORREF captionColour, LPCWSTR value, COLORREF valueColour)
{
  caption_ = caption;
  captionColour_ = captionColour;
  value_ = value;
  valueColour_ = valueColour;
  Redraw();
}

void CFormButton::SetTextsW(LPCWSTR caption, COLORREF colour, const CStringW& value)
{
  SetTexts(caption, colour, value, colour);
}

void CFormButton::Redraw()
{
  if (IsWindow())
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT CFormButton::OnSetFocus(UINT, WPARAM, LPARAM, BOOL&)
{
  if (focusMessage_ != kNoFocusMessage)
    ::PostMessageW(GetParent(), focusMessage_, static_cast<WPARAM>(GetDlgCtrlID()), 0);
  Redraw();
  return 0;
}

LRESULT CFormButton::OnLookChange(UINT, WPARAM, LPARAM, BOOL&)
{
  Redraw();
  return 0;
}

LRESULT CFormButton::OnButtonUp(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  ::PostMessageW(GetParent(), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(m_hWnd));
  bHandled = FALSE;  // the button ends its press as usual
  return 0;
}

void CFormButton::PaintFace(HDC dc, const RECT& rect, COLORREF* frame) const
{
  int width = rect.right - rect.left;
  int height = rect.bottom - rect.top;
  if (::GetFocus() != m_hWnd) {
    FillSolid(dc, rect, kFormBackground);
    *frame = kFormBackground;
  } else if (rowStyle_) {
    StretchInto(dc, leftCap_, rect.left, rect.top, SizeOf(leftCap_).cx, height);
    StretchInto(dc, middle_, rect.left + kCapWidth, rect.top, width - kCapWidth, height);
    StretchInto(dc, rightCap_, rect.right - kCapWidth, rect.top, kCapWidth, height);
  } else {
    if (focusFace_)
      StretchInto(dc, focusFace_, rect.left, rect.top, width, height);
    else
      FillSolid(dc, rect, kFormBackground);
    *frame = kFocusFrame;
  }
}

void CFormButton::PaintTexts(HDC dc, const RECT& rect) const
{
  if (rowStyle_) {
    RECT text{rect.left + kTextInset, rect.top, rect.right - kTextInset, rect.bottom};
    SetTextColor(dc, captionColour_);
    DrawTextW(dc, caption_, -1, &text, kCaptionFormat);
    SetTextColor(dc, valueColour_);
    DrawTextW(dc, value_, -1, &text, kValueFormat);
    return;
  }
  SIZE icon = SizeOf(icon_);
  if (icon_) {
    int top = rect.top + (rect.bottom - rect.top - icon.cy) / 2;
    TransparentImage(dc, rect.left + kTextInset, top, icon.cx, icon.cy, icon_, 0, 0, icon.cx, icon.cy, kIconTransparent);
  }
  RECT text{rect.left + icon.cx + kTitleGap, rect.top, rect.right, rect.bottom};
  SetTextColor(dc, titleColour_);
  DrawTextW(dc, title_, -1, &text, kCaptionFormat);
}

LRESULT CFormButton::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(m_hWnd, &ps);
  RECT rect;
  GetClientRect(&rect);
  SetBkMode(dc, TRANSPARENT);
  HFONT font = GetFont();
  HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
  COLORREF frame = CLR_INVALID;
  PaintFace(dc, rect, &frame);
  PaintTexts(dc, rect);
  if (frame != CLR_INVALID) {
    HBRUSH brush = CreateSolidBrush(frame);
    FrameRectWithBrush(dc, rect, brush);
    DeleteObject(brush);
  }
  if (font)
    SelectObject(dc, oldFont);
  EndPaint(m_hWnd, &ps);
  return 0;
}
