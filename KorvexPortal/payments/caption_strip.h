// One line of text in a framed, pale strip: the trade detail's status over its tabs.
#pragma once

#include "atl/atl.h"
#include "text/cstring.h"
#include "windows.h"

typedef CWinTraits<WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, 0> CCaptionStripTraits;

class CCaptionStrip : public CWindowImpl<CCaptionStrip, CWindow, CCaptionStripTraits> {
 public:
  DECLARE_WND_CLASS(u"KvCaptionStrip")

  enum : COLORREF { kFrameColour = 0xEECCCD, kFillColour = 0xFFF5EE };

  BEGIN_MSG_MAP(CCaptionStrip)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
  END_MSG_MAP()

  // Stores the text and repaints.
  void SetText(const CStringW& text);
  const CStringW& GetText() const { return m_strText; }

 private:
  LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);

  CStringW m_strText;
};
