// The background of a skinned control as a brush: a piece of a shared skin bitmap cut at the
// control's position (so the control looks transparent on its skinned parent), a bitmap
// stretched over the control, or a plain colour. The brush is built on demand and kept until
// what it shows changes; the control may draw its own content into it while it is built.
#pragma once

#include <functional>

#include "atl/simple_collections.h"
#include "text/cstring.h"
#include "windows.h"

class CSkinImage {
 public:
  // Draws the control's content into the background being built (client rectangle given).
  using ContentPainter = std::function<void(HDC dc, const RECT& client)>;

  CSkinImage() = default;
  ~CSkinImage();
  CSkinImage(const CSkinImage&) = delete;
  CSkinImage& operator=(const CSkinImage&) = delete;

  // Cuts from (stretch false) or stretches (stretch true) the bitmap held in the cell, which
  // may be shared by many controls and stays its owner's. A source this image owned is freed.
  void Attach(HBITMAP* cell, bool stretch);
  // Stretches a bitmap of the image's own over the control; the image deletes it.
  void AttachBitmap(HBITMAP bitmap);
  // No source: with useColour the background is filled with the colour (and the content drawn
  // over it); without, the brush is a plain solid brush of the colour.
  void SetSource(COLORREF colour, bool useColour);
  // Added to the control's position in its parent when cutting 1:1 from the source.
  void SetOffset(int x, int y);
  // Drops the brush and cached bitmap; the next GetBrush rebuilds them.
  void Release();

  // The brush for the control's window (built when missing); null when there is neither a
  // source nor a colour.
  HBRUSH GetBrush(HWND control, const ContentPainter& paintContent = {});
  // The bitmap the image cuts from or stretches; null when it has no source.
  HBITMAP GetSourceBitmap() const { return m_pSource ? *m_pSource : nullptr; }

 private:
  void FreeOwnedSource();
  void BuildCache(HWND control, const ContentPainter& paintContent);

  HBITMAP* m_pSource = nullptr;
  HBITMAP m_hCache = nullptr;
  HBRUSH m_hBrush = nullptr;
  bool m_bStretch = false;
  bool m_bOwnsSource = false;
  COLORREF m_colour = 0;
  bool m_bUseColour = false;
  int m_offsetX = 0;
  int m_offsetY = 0;
};

// Width and height of a bitmap; FALSE when it cannot be read.
BOOL GetBitmapSize(HBITMAP bitmap, SIZE* size);
// Fills the rectangle with a solid colour.
void FillSolid(HDC dc, const RECT& rect, COLORREF colour);
// A key's caption, transparent over its skin: centred on one line, cut with an ellipsis.
void DrawKeyCaption(HDC dc, const RECT& rect, const CStringW& text);
// A one-pixel frame drawn with the brush as four strips: top, right, bottom, left.
BOOL FrameRectWithBrush(HDC dc, const RECT& rect, HBRUSH brush);
// Deletes every GDI object of the map, in index order, and empties the map.
void DeleteGdiObjectMap(CSimpleMap<int, HGDIOBJ>& objects);
