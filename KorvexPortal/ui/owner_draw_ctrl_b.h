// The one-line look of COwnerDrawCtrlA without focus or taps: an icon and runs of coloured text
// in a fixed frame.
#pragma once

#include "atl/atl.h"
#include "text/cstring.h"
#include "windows.h"

class COwnerDrawCtrlB : public CWindowImpl<COwnerDrawCtrlB> {
 public:
  COwnerDrawCtrlB() = default;
  ~COwnerDrawCtrlB() override;

  BEGIN_MSG_MAP(COwnerDrawCtrlB)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

  // The control takes the icon over; a different previous one is deleted.
  void SetImage(HBITMAP icon);
  // Appends a run of text in the colour.
  void AddItem(LPCWSTR text, COLORREF colour);

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);

  HBITMAP m_hIcon = nullptr;
  CSimpleArray<CStringW> m_texts;
  CSimpleArray<COLORREF> m_colours;
};
