// The hint edit: hint text, length limit and the numeric character filter.
#include "hint_edit.h"

CHintEdit::CHintEdit(bool numeric) : m_bNumeric(numeric), m_maxDecimals(-1) {}

CHintEdit::CHintEdit(bool, int maxDecimals) : m_bNumeric(true), m_maxDecimals(maxDecimals) {}

CStringW CHintEdit::Text() const
{
  CStringW text;
  GetWindowText(text);
  return text;
}

int CHintEdit::Limit() const
{
  return static_cast<int>(::SendMessageW(m_hWnd, EM_GETLIMITTEXT, 0, 0));
}

LRESULT CHintEdit::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (Text().CompareNoCase(m_strHint) == 0)
    SetWindowText(u"");
  return 0;
}

LRESULT CHintEdit::OnKillFocus(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (Text().IsEmpty() && !m_strHint.IsEmpty())
    SetWindowText(m_strHint);
  return 0;
}

LRESULT CHintEdit::OnSetText(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL&)
{
  auto text = reinterpret_cast<LPCWSTR>(lParam);
  int limit = Limit();
  if (text && limit != -1) {
    CStringW newText(text);
    if (newText.GetLength() > limit) {
      CStringW kept = newText.Left(limit);
      return DefWindowProc(uMsg, wParam, reinterpret_cast<LPARAM>(kept.GetString()));
    }
  }
  return DefWindowProc(uMsg, wParam, lParam);
}

LRESULT CHintEdit::OnImeComposition(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (!m_bNumeric) {
    bHandled = FALSE;
    return 0;
  }
  m_bPendingKey = true;
  return 0;
}

LRESULT CHintEdit::OnKeyUp(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;
  if (!m_bNumeric)
    return 0;
  if (m_bPendingKey) {
    WPARAM ch = wParam;
    if (ch >= 'A' && ch <= 'Z' && !m_bShiftToggle)
      ch += 32;
    SendMessage(WM_CHAR, ch, lParam);
    m_bPendingKey = false;
  } else if (wParam == VK_SHIFT) {
    m_bShiftToggle = !m_bShiftToggle;
  }
  return 0;
}

LRESULT CHintEdit::OnChar(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  // A character the filter lets in goes on to the edit; the rest are swallowed.
  bHandled = !Accepts(static_cast<WCHAR>(wParam));
  return 0;
}

bool CHintEdit::Accepts(WCHAR ch)
{
  CStringW text = Text();
  const int n = text.GetLength();
  const int limit = Limit();
  if (ch != u'\b' && limit != -1 && n >= limit) {
    if (n > limit)
      SetWindowText(text.Left(limit));
    return false;
  }
  DWORD selection = static_cast<DWORD>(::SendMessageW(m_hWnd, EM_GETSEL, 0, 0));
  const int selStart = LOWORD(selection);
  const int selEnd = HIWORD(selection);
  const int point = text.Find(u'.');
  if (ch == u'.') {
    if (!m_bNumeric)
      return true;
    return selStart != 0 && (m_maxDecimals == 0 || selEnd >= n - m_maxDecimals) && point < 0;
  }
  if (ch >= u'0' && ch <= u'9')
    return !(m_maxDecimals > 0 && point >= 0 && point < selEnd && point + m_maxDecimals < n);
  if (ch == u'\b')
    return true;
  return !m_bNumeric;
}
