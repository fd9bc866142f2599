#include "drawing_helpers.h"

#include "gdi/gdi.h"

BOOL StretchCopyBitmap(HDC dc, HBITMAP source, int sourceWidth, int sourceHeight, HBITMAP& target, int targetWidth,
                       int targetHeight)
{
  if (!dc || !source)
    return FALSE;
  if (target) {
    DeleteObject(target);
    target = nullptr;
  }
  target = CreateCompatibleBitmap(dc, targetWidth, targetHeight);
  if (!target)
    return FALSE;
  HDC from = CreateCompatibleDC(dc);
  HDC to = CreateCompatibleDC(dc);
  HGDIOBJ oldFrom = SelectObject(from, source);
  HGDIOBJ oldTo = SelectObject(to, target);
  BOOL copied = oldFrom && oldTo &&
                StretchBlt(to, 0, 0, targetWidth, targetHeight, from, 0, 0, sourceWidth, sourceHeight, SRCCOPY);
  if (oldFrom)
    SelectObject(from, oldFrom);
  if (oldTo)
    SelectObject(to, oldTo);
  DeleteDC(from);
  DeleteDC(to);
  return copied;
}

HFONT CreateHeavySystemFont()
{
  LOGFONTW font{};
  if (!GetObjectW(GetStockObject(SYSTEM_FONT), sizeof font, &font))
    return nullptr;
  font.lfWeight = FW_HEAVY;
  return CreateFontIndirectW(&font);
}
