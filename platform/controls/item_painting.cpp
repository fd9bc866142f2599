#include "item_painting.h"

namespace controls_detail {

namespace {

HFONT FontOrSystem(HFONT font)
{
  return font ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

}  // namespace

SelectedFont::SelectedFont(HDC dc, HFONT font) : dc_(dc), old_(SelectObject(dc, FontOrSystem(font))) {}

SelectedFont::~SelectedFont()
{
  SelectObject(dc_, old_);
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
