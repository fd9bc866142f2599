// A skinned edit with a hint shown while it is empty and unfocused, and a character filter for
// numeric and amount fields: a length limit, digits only, one decimal point that may not come
// first, and at most a given number of digits behind it. With an input method active, a
// numeric field takes the raw key instead of the composed character.
#pragma once

#include "skin_edit.h"

class CHintEdit : public CSkinEdit {
 public:
  // A text field, or with numeric a field of digits only.
  explicit CHintEdit(bool numeric = false);
  // An amount field: digits with one point that may not come first and at most maxDecimals
  // digits behind it (0: any number of them). The first argument only chooses this form.
  CHintEdit(bool amount, int maxDecimals);

  // Shown as the edit's own text while the field is empty and unfocused.
  CStringW m_strHint;

  BEGIN_MSG_MAP(CHintEdit)
    MESSAGE_HANDLER(WM_SETFOCUS, OnSetFocus)
    MESSAGE_HANDLER(WM_KILLFOCUS, OnKillFocus)
    MESSAGE_HANDLER(WM_SETTEXT, OnSetText)
    MESSAGE_HANDLER(WM_IME_COMPOSITION, OnImeComposition)
    MESSAGE_HANDLER(WM_KEYUP, OnKeyUp)
    MESSAGE_HANDLER(WM_CHAR, OnChar)
    CHAIN_MSG_MAP(CSkinEdit)
  END_MSG_MAP()

 private:
  LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSetText(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnImeComposition(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnKeyUp(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  // Whether the filter lets the character in.
  bool Accepts(WCHAR ch);
  // The edit's limit, or -1 when it has none.
  int Limit() const;
  CStringW Text() const;

  bool m_bNumeric;
  bool m_bPendingKey = false;
  bool m_bShiftToggle = false;
  int m_maxDecimals;
};
