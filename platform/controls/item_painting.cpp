#include "item_painting.h"

namespace controls_detail {

namespace {

HFONT FontOrSystem(HFONT font)
{
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

}  // namespace

void PaintClient(HWND hwnd, HFONT font, const std::function<void(HDC)>& painter)
{
  PAINTSTRUCT paint{};
  HDC dc = BeginPaint(hwnd, &paint);
  if (dc) {
    HGDIOBJ old = SelectObject(dc, FontOrSystem(font));
    painter(dc);
    SelectObject(dc, old);
  }
  EndPaint(hwnd, &paint);
}

int FontLineHeight(HWND hwnd, HFONT font)
{
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, FontOrSystem(font));
  TEXTMETRICW metrics{};
  BOOL measured = GetTextMetricsW(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return measured && metrics.tmHeight > 0 ? metrics.tmHeight : 16;
}

int TextWidth(HWND hwnd, HFONT font, std::u16string_view text)
{
  HDC dc = GetDC(hwnd);
  HGDIOBJ old = SelectObject(dc, FontOrSystem(font));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(hwnd, dc);
  return size.cx;
}

void FillColor(HDC dc, const RECT& rect, COLORREF color)
{
  HBRUSH brush = CreateSolidBrush(color);
  FillRect(dc, &rect, brush);
  DeleteObject(brush);
}

void FrameColor(HDC dc, const RECT& rect, COLORREF color)
{
  HBRUSH brush = CreateSolidBrush(color);
  FrameRect(dc, &rect, brush);
  DeleteObject(brush);
}

void DrawLine(HDC dc, std::u16string_view text, RECT rect, COLORREF color, UINT format)
{
  if (text.empty())
    return;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect,
            format | DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
}

HBRUSH AsBrush(LRESULT answer)
{
  auto brush = reinterpret_cast<HBRUSH>(answer);
  return brush && GetObjectType(brush) == OBJ_BRUSH ? brush : nullptr;
}

}  // namespace controls_detail
