#include "milocard_done_page.h"

#include "drawing_helpers.h"
#include "milocard_host_dlg.h"

namespace {

constexpr int kLineIds[] = {IDC_MILOCARD_DONE_LINE1, IDC_MILOCARD_DONE_LINE2, IDC_MILOCARD_DONE_LINE3,
                            IDC_MILOCARD_DONE_LINE4};

}  // namespace

CMilocardDonePage::~CMilocardDonePage()
{
  DeleteFont();
}

void CMilocardDonePage::DeleteFont()
{
  if (m_hHeavyFont)
    ::DeleteObject(m_hHeavyFont);
  m_hHeavyFont = nullptr;
}

LRESULT CMilocardDonePage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  for (size_t i = 0; i < std::size(kLineIds); ++i)
    m_lines[i].SubclassWindow(GetDlgItem(kLineIds[i]));
  CreateScrollForm();
  return TRUE;
}

LRESULT CMilocardDonePage::OnPaint(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  CStringW name = m_pHost ? m_pHost->GetSelectedBank().bankName : CStringW();
  CStringW shown;
  CWindow(GetDlgItem(IDC_MILOCARD_DONE_BANK)).GetWindowText(shown);
  if (shown != name)
    SetDlgItemText(IDC_MILOCARD_DONE_BANK, name);
  return 0;
}

LRESULT CMilocardDonePage::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkMode(dc, TRANSPARENT);
  if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_MILOCARD_DONE_BANK) {
    if (!m_hHeavyFont)
      m_hHeavyFont = CreateHeavySystemFont();
    if (m_hHeavyFont)
      ::SelectObject(dc, m_hHeavyFont);
  }
  return reinterpret_cast<LRESULT>(PageBrush());
}

LRESULT CMilocardDonePage::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  DeleteScrollForm();
  DeleteFont();
  for (COwnerDrawCtrlC& line : m_lines)
    if (line.m_hWnd)
      line.UnsubclassWindow();
  return 0;
}
