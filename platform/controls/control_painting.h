// Painting of the controls: each asks its parent for colours (WM_CTLCOLOR*), fills its background
// with the brush it got, and draws its text, frame and focus. Owner-drawn buttons leave the
// drawing to the parent (WM_DRAWITEM).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "windows.h"
#include "edit_lines.h"
#include "scroll_data.h"

namespace controls_detail {

// Text measures in the control's font, for caret placement and scrolling.
int LineHeightOf(HWND hwnd, HFONT font);
int TextWidthOf(HWND hwnd, HFONT font, std::u16string_view text);

// Runs the painter between BeginPaint and EndPaint.
void PaintWithDc(HWND hwnd, const std::function<void(HDC)>& painter);
// WM_PAINT (through PaintWithDc) and WM_PRINTCLIENT (on the DC in wParam): runs the painter.
LRESULT PaintMessage(HWND hwnd, UINT message, WPARAM wParam, const std::function<void(HDC)>& painter);

// The background brush the parent chooses (WM_CTLCOLOR*), or the device's default one.
HBRUSH AskParentForBrush(HWND control, UINT ctlColorMessage, HDC dc);

void PaintStatic(HWND hwnd, HDC dc, HFONT font);

struct ButtonLook {
  UINT state;  // BST_* of BM_GETSTATE
  HFONT font;
};
void PaintButton(HWND hwnd, HDC dc, const ButtonLook& look);

struct EditLook {
  std::u16string shown;  // the text as shown (masked for passwords)
  const EditLines* lines;  // multi-line: the lines the text shows in
  size_t selStart;
  size_t selEnd;
  size_t caret;
  size_t caretLine;  // multi-line: the line the caret stands on
  bool focused;
  int firstLine;      // multi-line: first visible line
  int firstColumn;    // single-line: first visible character
  HFONT font;
};
void PaintEdit(HWND hwnd, HDC dc, const EditLook& look);
// The room an edit leaves between its sides and its text.
int EditMargin();

// The thumb stands at thumbPos: the position, or the tracked one while it is dragged.
void PaintScrollBar(HWND hwnd, HDC dc, const ScrollData& data, bool vertical, int thumbPos);

}  // namespace controls_detail
