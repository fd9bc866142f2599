// The skinned label: text kept by the label, drawn into its background brush.
#include "skin_label.h"

#include <algorithm>

#include "drawing_helpers.h"

namespace {

// The caption the template editor gives a new static: it stands for no text.
bool IsEditorDefaultCaption(const CStringW& text)
{
  return text == u"Static";
}

}  // namespace

CSkinLabel::CSkinLabel(bool captionPrefix) : m_bCaptionPrefix(captionPrefix) {}

CSkinLabel::~CSkinLabel() = default;

BOOL CSkinLabel::SubclassStatic(HWND hWnd)
{
  CStringW text;
  CWindow(hWnd).GetWindowText(text);
  if (IsEditorDefaultCaption(text))
    text.Empty();
  m_strText = text;
  m_strCaption = text;
  ::SetWindowTextW(hWnd, u"");
  return SubclassWindow(hWnd);
}

void CSkinLabel::SetTextColor(COLORREF colour)
{
  m_textColour = colour;
}

int CSkinLabel::GetFitHeight()
{
  RECT client{};
  GetClientRect(&client);
  CStringW shown = ShownText();
  if (shown.IsEmpty() || client.right <= 0 || !m_bWrap)
    return client.bottom;
  HDC dc = ::GetDC(m_hWnd);
  if (!dc)
    return client.bottom;
  HFONT boldFont = m_bBold ? CreateHeavySystemFont() : nullptr;
  auto font = boldFont ? reinterpret_cast<HGDIOBJ>(boldFont) : reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  RECT line{};
  ::DrawTextW(dc, shown, shown.GetLength(), &line, m_format | DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
  RECT wrapped{0, 0, client.right, 0};
  ::DrawTextW(dc, shown, shown.GetLength(), &wrapped, DT_CALCRECT | DT_NOPREFIX | DT_WORDBREAK);
  if (oldFont)
    ::SelectObject(dc, oldFont);
  if (boldFont)
    ::DeleteObject(boldFont);
  ::ReleaseDC(m_hWnd, dc);
  int width = line.right - line.left;
  if (width <= client.right)
    return client.bottom;
  // The painting wraps only when the lines it reckons with are shorter than the label.
  int reckoned = (width / client.right + 1) * (line.bottom - line.top) + 1;
  return std::max({static_cast<int>(client.bottom), static_cast<int>(wrapped.bottom - wrapped.top), reckoned});
}

void StackLabelsToFit(CSkinLabel* const* column, size_t count)
{
  int grown = 0;
  for (size_t i = 0; i < count; ++i) {
    CSkinLabel* label = column[i];
    if (!label || !label->m_hWnd)
      continue;
    RECT rect{};
    label->GetWindowRect(&rect);
    ::MapWindowPoints(nullptr, label->GetParent(), reinterpret_cast<POINT*>(&rect), 2);
    int fit = label->GetFitHeight();
    label->SetWindowPos(nullptr, rect.left, rect.top + grown, rect.right - rect.left, fit,
                        SWP_NOZORDER | SWP_NOACTIVATE);
    grown += fit - (rect.bottom - rect.top);
  }
}

LRESULT CSkinLabel::OnSetText(UINT, WPARAM, LPARAM lParam, BOOL&)
{
  auto text = reinterpret_cast<LPCWSTR>(lParam);
  CStringW newText(text ? text : u"");
  if (!IsEditorDefaultCaption(newText))
    m_strText = newText;
  m_background.Release();
  DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(u""));
  return TRUE;
}

LRESULT CSkinLabel::OnGetText(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  auto buffer = reinterpret_cast<LPWSTR>(lParam);
  if (!buffer || wParam == 0)
    return 0;
  int count = std::min(m_strText.GetLength(), static_cast<int>(wParam) - 1);
  for (int i = 0; i < count; ++i)
    buffer[i] = m_strText[i];
  buffer[count] = 0;
  return count;
}

LRESULT CSkinLabel::OnGetTextLength(UINT, WPARAM, LPARAM, BOOL&)
{
  return m_strText.GetLength();
}

LRESULT CSkinLabel::OnCtlColorStatic(UINT, WPARAM, LPARAM, BOOL&)
{
  return reinterpret_cast<LRESULT>(
      m_background.GetBrush(m_hWnd, [this](HDC dc, const RECT& client) { PaintText(dc, client); }));
}

void CSkinLabel::PaintText(HDC dc, const RECT& client)
{
  int oldMode = ::SetBkMode(dc, TRANSPARENT);
  auto font = reinterpret_cast<HGDIOBJ>(SendMessage(WM_GETFONT));
  HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
  COLORREF oldColour = m_textColour ? ::SetTextColor(dc, *m_textColour) : 0;
  CStringW shown = ShownText();
  if (!shown.IsEmpty()) {
    HFONT boldFont = m_bBold ? CreateHeavySystemFont() : nullptr;
    HGDIOBJ oldFontOfDc = boldFont ? ::SelectObject(dc, boldFont) : nullptr;
    RECT measured{};
    ::DrawTextW(dc, shown, shown.GetLength(), &measured, m_format | DT_CALCRECT | DT_NOPREFIX | DT_SINGLELINE);
    int width = measured.right - measured.left;
    int height = measured.bottom - measured.top;
    int clientWidth = client.right - client.left;
    int clientHeight = client.bottom - client.top;
    UINT flags = m_format | DT_NOPREFIX | DT_SINGLELINE;
    if (clientWidth > 0 && width > clientWidth) {
      if (!m_bWrap)
        flags = DT_END_ELLIPSIS | DT_NOPREFIX;
      else if ((width / clientWidth + 1) * height < clientHeight)
        flags = DT_NOPREFIX | DT_WORDBREAK;
    }
    RECT rect = client;
    ::DrawTextW(dc, shown, shown.GetLength(), &rect, flags);
    if (boldFont) {
      ::SelectObject(dc, oldFontOfDc);
      ::DeleteObject(boldFont);
    }
  }
  if (m_textColour)
    ::SetTextColor(dc, oldColour);
  if (oldFont)
    ::SelectObject(dc, oldFont);
  ::SetBkMode(dc, oldMode);
}
