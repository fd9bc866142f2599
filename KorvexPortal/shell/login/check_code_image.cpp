#include "check_code_image.h"

#include <memory>
#include <new>

#include "crypt/base64.h"
#include "skin_image.h"
#include "temp_image.h"

namespace {

constexpr const WCHAR* kImageFileName = u"checkcodeimage.jpg";

}  // namespace

CCheckCodeImage::~CCheckCodeImage()
{
  if (m_hBitmap)
    DeleteObject(m_hBitmap);
}

void CCheckCodeImage::SetImageData(const char* text, int length)
{
  int size = 0;
  if (text && length > 0)
    Base64Decode(text, length, nullptr, &size);
  std::unique_ptr<BYTE[]> bytes;
  if (size > 0) {
    bytes.reset(new (std::nothrow) BYTE[size]);
    if (!bytes)
      return;
    if (!Base64Decode(text, length, bytes.get(), &size))
      size = 0;
  }
  HBITMAP bitmap = size > 0 ? SaveImage(bytes.get(), static_cast<DWORD>(size)) : nullptr;
  if (m_hBitmap)
    DeleteObject(m_hBitmap);
  m_hBitmap = bitmap;
  if (m_hWnd)
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

HBITMAP CCheckCodeImage::SaveImage(const BYTE* bytes, DWORD length)
{
  if (!bytes || length == 0)
    return nullptr;
  return SaveTempImageFile(bytes, length, kImageFileName);
}

LRESULT CCheckCodeImage::OnPaint(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SIZE size{};
  if (!m_hBitmap || !GetBitmapSize(m_hBitmap, &size)) {
    bHandled = FALSE;
    return 0;
  }
  PAINTSTRUCT paint{};
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client{};
  GetClientRect(&client);
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, m_hBitmap);
  StretchBlt(dc, 0, 0, client.right, client.bottom, source, 0, 0, size.cx, size.cy, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}
