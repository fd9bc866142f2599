// Image lists: each image is kept as a 32-bit bitmap of the list's size; images added with a
// mask keep the masked pixels fully transparent (alpha 0) and are drawn blended.
#include <algorithm>
#include <mutex>
#include <set>
#include <vector>

#include "windows.h"

struct ImageListRecord {
  int cx = 0;
  int cy = 0;
  UINT flags = 0;
  std::vector<HBITMAP> images;
  std::vector<bool> blended;
};

namespace {

struct Registry {
  std::mutex lock;
  std::set<HIMAGELIST> lists;
};

Registry& registry()
{
  static Registry* instance = new Registry();  // lives through exit, for threads still running
  return *instance;
}

bool Exists(HIMAGELIST list)
{
  std::lock_guard<std::mutex> held(registry().lock);
  return list && registry().lists.count(list);
}

// A top-down 32-bit bitmap whose pixels the caller reaches.
HBITMAP MakeSurface(int cx, int cy, uint32_t** pixels)
{
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = cx;
  info.bmiHeader.biHeight = -cy;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  *pixels = static_cast<uint32_t*>(bits);
  return bitmap;
}

// Copies the part of the source at (x, 0) into a new surface of the list's size.
HBITMAP CopyPart(HDC source, int x, int cx, int cy, uint32_t** pixels)
{
  HBITMAP part = MakeSurface(cx, cy, pixels);
  if (!part)
    return nullptr;
  HDC target = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(target, part);
  BitBlt(target, 0, 0, cx, cy, source, x, 0, SRCCOPY);
  SelectObject(target, old);
  DeleteDC(target);
  return part;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, UINT flags, int initial, int)
{
  if (cx <= 0 || cy <= 0)
    return nullptr;
  auto* list = new ImageListRecord{cx, cy, flags, {}, {}};
  list->images.reserve(static_cast<size_t>(std::max(initial, 0)));
  std::lock_guard<std::mutex> held(registry().lock);
  registry().lists.insert(list);
  return list;
}

BOOL ImageList_Destroy(HIMAGELIST list)
{
  {
    std::lock_guard<std::mutex> held(registry().lock);
    if (!list || !registry().lists.erase(list))
      return FALSE;
  }
  for (HBITMAP image : list->images)
    DeleteObject(image);
  delete list;
  return TRUE;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask)
{
  BITMAP info{};
  if (!Exists(list) || !image || !GetObjectW(image, sizeof(info), &info))
    return -1;
  bool masked = mask && (list->flags & ILC_MASK);
  HDC source = CreateCompatibleDC(nullptr);
  HDC maskSource = masked ? CreateCompatibleDC(nullptr) : nullptr;
  HGDIOBJ oldSource = SelectObject(source, image);
  HGDIOBJ oldMask = masked ? SelectObject(maskSource, mask) : nullptr;
  int first = -1;
  if (oldSource && (!masked || oldMask)) {
    int count = std::max(1, static_cast<int>(info.bmWidth) / list->cx);
    first = static_cast<int>(list->images.size());
    for (int k = 0; k < count; ++k) {
      uint32_t* pixels = nullptr;
      HBITMAP part = CopyPart(source, k * list->cx, list->cx, list->cy, &pixels);
      if (!part)
        break;
      uint32_t* maskPixels = nullptr;
      HBITMAP maskPart = masked ? CopyPart(maskSource, k * list->cx, list->cx, list->cy, &maskPixels) : nullptr;
      for (size_t p = 0; p < static_cast<size_t>(list->cx) * static_cast<size_t>(list->cy); ++p) {
        // White in the mask is transparent: premultiplied, that is all zero.
        bool clear = maskPixels && (maskPixels[p] & 0x00FFFFFF) != 0;
        pixels[p] = clear ? 0 : (pixels[p] | 0xFF000000);
      }
      if (maskPart)
        DeleteObject(maskPart);
      list->images.push_back(part);
      list->blended.push_back(masked);
    }
  }
  SelectObject(source, oldSource);
  DeleteDC(source);
  if (maskSource) {
    SelectObject(maskSource, oldMask);
    DeleteDC(maskSource);
  }
  return first;
}

int ImageList_GetImageCount(HIMAGELIST list)
{
  return Exists(list) ? static_cast<int>(list->images.size()) : 0;
}

BOOL ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy)
{
  if (!Exists(list) || !cx || !cy)
    return FALSE;
  *cx = list->cx;
  *cy = list->cy;
  return TRUE;
}

BOOL ImageList_Draw(HIMAGELIST list, int i, HDC dc, int x, int y, UINT)
{
  if (!Exists(list) || i < 0 || i >= static_cast<int>(list->images.size()))
    return FALSE;
  HDC source = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(source, list->images[i]);
  BOOL drawn;
  if (list->blended[i])
    drawn = AlphaBlend(dc, x, y, list->cx, list->cy, source, 0, 0, list->cx, list->cy,
                       BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA});
  else
    drawn = BitBlt(dc, x, y, list->cx, list->cy, source, 0, 0, SRCCOPY);
  SelectObject(source, old);
  DeleteDC(source);
  return drawn;
}
