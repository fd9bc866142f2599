// A skinned label: takes over a STATIC control of a dialog and draws its text into its skin
// background, so the static itself only fills with the brush. The window's own text stays
// empty; the label keeps the text and answers WM_GETTEXT and WM_GETTEXTLENGTH from it.
#pragma once

#include <optional>

#include "atl/atl.h"
#include "skin_image.h"

class CSkinLabel : public CWindowImpl<CSkinLabel> {
 public:
  // captionPrefix: show the template's caption followed by the text.
  explicit CSkinLabel(bool captionPrefix = false);
  ~CSkinLabel() override;

  // Takes over a static control: its text becomes the label's text and its caption.
  BOOL SubclassStatic(HWND hWnd);
  void SetTextColor(COLORREF colour);
  // The height that shows the whole text at the label's present width: its own height when the
  // text fits on one line (or the label does not wrap), else enough lines for the text to wrap.
  int GetFitHeight();

  CSkinImage m_background;
  bool m_bBold = false;
  UINT m_format = DT_VCENTER;
  bool m_bWrap = true;

  BEGIN_MSG_MAP(CSkinLabel)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_GETTEXT, OnGetText)
    MESSAGE_HANDLER(WM_GETTEXTLENGTH, OnGetTextLength)
    MESSAGE_HANDLER(OCM_CTLCOLORSTATIC, OnCtlColorStatic)
    DEFAULT_REFLECTION_HANDLER()
  END_MSG_MAP()

 private:
  LRESULT OnSetText(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnGetText(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnGetTextLength(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  void PaintText(HDC dc, const RECT& client);
  CStringW ShownText() const { return m_bCaptionPrefix ? m_strCaption + m_strText : m_strText; }

  CStringW m_strText;
  CStringW m_strCaption;
  std::optional<COLORREF> m_textColour;
  bool m_bCaptionPrefix;
};

// Lays a column of labels out again from the top: each takes the height that shows its whole text
// (GetFitHeight) and moves down by what the labels above it grew. Labels without a window are
// passed over.
void StackLabelsToFit(CSkinLabel* const* column, size_t count);
