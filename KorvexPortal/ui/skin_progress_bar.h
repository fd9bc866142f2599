// The progress strip of the message box and the wait animation dialog: a track bitmap stretched
// over the control and a bar bitmap stretched inside it to the share of the range the position
// has reached. Each Step moves the position on; past the maximum it starts again at 1.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class CSkinProgressBar : public CWindowImpl<CSkinProgressBar> {
 public:
  // The track and bar bitmaps of the screen-size library.
  static constexpr UINT kTrackBitmap = 221;
  static constexpr UINT kBarBitmap = 222;

  CSkinProgressBar() = default;
  ~CSkinProgressBar() override;
  CSkinProgressBar(const CSkinProgressBar&) = delete;
  CSkinProgressBar& operator=(const CSkinProgressBar&) = delete;

  // A visible child with the id and text, at 0 of 0..100 by steps of 1.
  HWND CreateStrip(HWND parent, const RECT& rect, int id, LPCWSTR text);

  void SetRange(int minimum, int maximum);
  void SetStep(int step) { m_step = step; }
  void SetPos(int position);
  int GetPos() const { return m_pos; }
  // Advances the position by the step and repaints what changed.
  void Step();
  // The next paint draws the track again (after the strip moved or showed again).
  void RedrawTrack() { m_bRedrawTrack = true; }

  BEGIN_MSG_MAP(CSkinProgressBar)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnEraseBkgnd)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
  END_MSG_MAP()

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  // The track and bar cover the whole control: nothing to erase.
  LRESULT OnEraseBkgnd(UINT, WPARAM, LPARAM, BOOL&) { return 1; }
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  // The bar's rectangle at the position, in client coordinates.
  RECT BarRect() const;
  // The bitmaps, each selected into a memory device context of its own; false without them.
  bool LoadBitmaps();
  void FreeBitmaps();

  HBITMAP m_hTrack = nullptr;
  HBITMAP m_hBar = nullptr;
  SIZE m_trackSize{};
  SIZE m_barSize{};
  HDC m_hTrackDC = nullptr;
  HDC m_hBarDC = nullptr;
  HGDIOBJ m_hTrackOld = nullptr;
  HGDIOBJ m_hBarOld = nullptr;
  int m_min = 0;
  int m_max = 100;
  int m_step = 1;
  int m_pos = 0;
  bool m_bRedrawTrack = false;
};
