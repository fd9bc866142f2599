// The picture of the login check code: takes over the login dialog's picture control and shows
// one bitmap stretched over it. The gateway sends the picture as Base64 text; it becomes a
// bitmap by way of "checkcodeimage.jpg" in the temporary folder.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class CCheckCodeImage : public CWindowImpl<CCheckCodeImage> {
 public:
  CCheckCodeImage() = default;
  // Deletes the bitmap shown last.
  ~CCheckCodeImage() override;
  CCheckCodeImage(const CCheckCodeImage&) = delete;
  CCheckCodeImage& operator=(const CCheckCodeImage&) = delete;

  // Shows the picture of the Base64 text (length bytes): the previous bitmap is deleted and the
  // control repainted. Text that gives no picture (empty, not Base64, no image) clears the
  // picture; when the decoded bytes cannot be allocated the previous picture stays.
  void SetImageData(const char* text, int length);
  // Writes the bytes to the temporary picture file and loads it; null for no bytes, a file that
  // cannot be written or bytes that are no image.
  static HBITMAP SaveImage(const BYTE* bytes, DWORD length);

  HBITMAP GetBitmap() const { return m_hBitmap; }

  BEGIN_MSG_MAP(CCheckCodeImage)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL& bHandled);

  HBITMAP m_hBitmap = nullptr;
};
