// The drop-down list of a CScrollFormCtrl once the box has taken it over: a light frame, the
// selected item on a bar of three skin images, and the item texts.
#pragma once

#include "atl/atl.h"
#include "windows.h"

class CScrollFormCtrl;

class CScrollFormList : public CWindowImpl<CScrollFormList> {
 public:
  // The selection bar's images in the resource library.
  enum { kLeftCapId = 224, kMiddleId = 225, kRightCapId = 223 };

  explicit CScrollFormList(CScrollFormCtrl* owner);
  ~CScrollFormList() override;

  BEGIN_MSG_MAP(CScrollFormList)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
  END_MSG_MAP()

  // Takes the list window over and notes where it lies.
  BOOL TakeOver(HWND list);

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);

  void PaintSelection(HDC dc, const RECT& item);

  CScrollFormCtrl* m_pOwner;
  HBITMAP m_hLeftCap = nullptr;
  HBITMAP m_hMiddle = nullptr;
  HBITMAP m_hRightCap = nullptr;
  RECT m_rcWindow{};
};
