// The HTML viewer control: a child window of class DISPLAYCLASS that shows an HTML page from a
// resource library or one given as text, scrolls it vertically, and tells its parent when a
// link is tapped or followed with the keyboard. It runs no script and fetches nothing.
//
// Messages:
//  - DTM_NAVIGATE (wParam 0, lParam "res://<library path>/<name>"): shows the library's HTML
//    resource (RT_HTML) of that name, split off at the last "/" ("274" and "#274" are the
//    ordinal 274). Its images (<img src="233">, "#233" or a name) are the library's BITMAP
//    resources. TRUE when the page was found; otherwise the viewer is left empty.
//  - DTM_ADDTEXTW (wParam 0: lParam is HTML; nonzero: plain text, shown as it is, line breaks
//    kept): appends to the document being built. Nothing changes on screen until
//    DTM_ENDOFSOURCE, which lays the document out and paints it. Text added after that is
//    appended to the same document, which the next DTM_ENDOFSOURCE shows whole.
//  - DTM_CLEAR: empties the viewer: the document, the scroll position and the focused link.
//
// The viewer scrolls with its own vertical scroll bar, a drag of the stylus, Up and Down (which
// first move the focus through the links in view) and the page keys. A tap on a link, or
// Return on the focused one, sends the parent WM_NOTIFY with NM_HOTSPOT and an NM_HTMLVIEWW
// whose szTarget is the link's href as the page writes it.
#pragma once

#include "base/types.h"
#include "user/messages.h"

#define DISPLAYCLASS u"DISPLAYCLASS"

#define DTM_ADDTEXTW (WM_USER + 102)
#define DTM_ENDOFSOURCE (WM_USER + 104)
#define DTM_CLEAR (WM_USER + 113)
#define DTM_NAVIGATE (WM_USER + 120)

#define NM_HOTSPOT (WM_USER + 101)

struct NM_HTMLVIEWW {
  NMHDR hdr;
  LPCWSTR szTarget;  // the link's target
  LPCWSTR szData;    // empty
  DWORD dwCookie;    // 0
};
typedef NM_HTMLVIEWW NM_HTMLVIEW;

// Registers DISPLAYCLASS for the process (again: no effect). TRUE on success.
BOOL InitHTMLControl(HINSTANCE instance);
