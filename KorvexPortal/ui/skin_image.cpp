// Skin images: building the background bitmap and its pattern brush.
#include "skin_image.h"

CSkinImage::~CSkinImage()
{
  FreeOwnedSource();
  Release();
}

void CSkinImage::FreeOwnedSource()
{
  if (m_bOwnsSource && m_pSource) {
    if (*m_pSource)
      ::DeleteObject(*m_pSource);
    delete m_pSource;
    m_pSource = nullptr;
  }
  m_bOwnsSource = false;
}

void CSkinImage::Attach(HBITMAP* cell, bool stretch)
{
  if (cell != m_pSource)
    FreeOwnedSource();
  m_pSource = cell;
  m_bUseColour = false;
  m_bStretch = stretch;
  m_offsetX = 0;
  m_offsetY = 0;
  Release();
}

void CSkinImage::AttachBitmap(HBITMAP bitmap)
{
  Attach(new HBITMAP(bitmap), true);
  m_bOwnsSource = true;
}

void CSkinImage::SetSource(COLORREF colour, bool useColour)
{
  m_colour = colour;
  m_bUseColour = useColour;
  FreeOwnedSource();
  m_pSource = nullptr;
  Release();
  if (!useColour)
    m_hBrush = ::CreateSolidBrush(colour);
}

void CSkinImage::SetOffset(int x, int y)
{
  m_offsetX = x;
  m_offsetY = y;
  Release();
}

void CSkinImage::Release()
{
  if (m_hBrush && ::DeleteObject(m_hBrush))
    m_hBrush = nullptr;
  if (m_hCache && ::DeleteObject(m_hCache))
    m_hCache = nullptr;
}

HBRUSH CSkinImage::GetBrush(HWND control, const ContentPainter& paintContent)
{
  if (!m_pSource && !m_bUseColour)
    return m_hBrush;
  if (!m_hCache)
    BuildCache(control, paintContent);
  if (!m_hBrush && m_hCache)
    m_hBrush = ::CreatePatternBrush(m_hCache);
  return m_hBrush;
}

void CSkinImage::BuildCache(HWND control, const ContentPainter& paintContent)
{
  RECT client{};
  ::GetClientRect(control, &client);
  POINT origin{};
  if (m_pSource && !m_bStretch) {
    RECT window{};
    ::GetWindowRect(control, &window);
    origin = {window.left, window.top};
    ::ScreenToClient(::GetParent(control), &origin);
  }
  HDC controlDc = ::GetDC(control);
  HDC target = ::CreateCompatibleDC(controlDc);
  m_hCache = ::CreateCompatibleBitmap(controlDc, client.right, client.bottom);
  HGDIOBJ oldTarget = ::SelectObject(target, m_hCache);
  if (m_pSource) {
    HDC source = ::CreateCompatibleDC(controlDc);
    HGDIOBJ oldSource = ::SelectObject(source, *m_pSource);
    if (m_bStretch) {
      SIZE size{};
      GetBitmapSize(*m_pSource, &size);
      ::StretchBlt(target, 0, 0, client.right, client.bottom, source, 0, 0, size.cx, size.cy, SRCCOPY);
    } else {
      ::BitBlt(target, 0, 0, client.right, client.bottom, source, origin.x + m_offsetX, origin.y + m_offsetY,
               SRCCOPY);
    }
    ::SelectObject(source, oldSource);
    ::DeleteDC(source);
  } else {
    HBRUSH fill = ::CreateSolidBrush(m_colour);
    ::FillRect(target, &client, fill);
    ::DeleteObject(fill);
  }
  if (paintContent)
    paintContent(target, client);
  ::SelectObject(target, oldTarget);
  ::DeleteDC(target);
  ::ReleaseDC(control, controlDc);
}

BOOL GetBitmapSize(HBITMAP bitmap, SIZE* size)
{
  BITMAP info{};
  if (!::GetObjectW(bitmap, sizeof(info), &info))
    return FALSE;
  size->cx = info.bmWidth;
  size->cy = info.bmHeight;
  return TRUE;
}

void FillSolid(HDC dc, const RECT& rect, COLORREF colour)
{
  HBRUSH brush = ::CreateSolidBrush(colour);
  ::FillRect(dc, &rect, brush);
  ::DeleteObject(brush);
}

void DrawKeyCaption(HDC dc, const RECT& rect, const CStringW& text)
{
  int previousMode = ::SetBkMode(dc, TRANSPARENT);
  RECT area = rect;
  ::DrawTextW(dc, text.GetString(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  ::SetBkMode(dc, previousMode);
}

BOOL FrameRectWithBrush(HDC dc, const RECT& rect, HBRUSH brush)
{
  const RECT strips[] = {
      {rect.left, rect.top, rect.right, rect.top + 1},
      {rect.right - 1, rect.top, rect.right, rect.bottom},
      {rect.left, rect.bottom - 1, rect.right, rect.bottom},
      {rect.left, rect.top, rect.left + 1, rect.bottom},
  };
  for (const RECT& strip : strips) {
    if (!::FillRect(dc, &strip, brush))
      return FALSE;
  }
  return TRUE;
}

void DeleteGdiObjectMap(CSimpleMap<int, HGDIOBJ>& objects)
{
  for (int i = 0; i < objects.GetSize(); ++i)
    ::DeleteObject(objects.GetValueAt(i));
  objects.RemoveAll();
}
