#include "qtot_form_page.h"

#include "window_helpers.h"

namespace {

constexpr COLORREF kPageColour = 0xF5F5F5;
constexpr COLORREF kNoteColour = 0x004AFE;
constexpr COLORREF kFocusColour = 0xFF0000;
constexpr int kNameLimit = 32;
constexpr int kPasswordLimit = 65535;
constexpr WORD kFocusGained = 0x100;
constexpr WORD kFocusLost = 0x200;

}  // namespace

CQtoTFormPage::CQtoTFormPage() = default;

CQtoTFormPage::~CQtoTFormPage()
{
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
}

LRESULT CQtoTFormPage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  if (HWND name = GetDlgItem(IDC_QTOT_NAME)) {
    ::SendMessageW(name, EM_LIMITTEXT, kNameLimit, 0);
    m_nameEdit.SubclassEdit(name, kFocusColour);
  }
  if (HWND password = GetDlgItem(IDC_QTOT_PASSWORD)) {
    ::SendMessageW(password, EM_LIMITTEXT, kPasswordLimit, 0);
    DisableImeForWindow(password);
    m_passwordEdit.SubclassEdit(password, kFocusColour);
  }
  if (!m_hBrush)
    m_hBrush = ::CreateSolidBrush(kPageColour);
  if (HWND note = GetDlgItem(IDC_QTOT_NOTE))
    ::ShowWindow(note, SW_HIDE);
  m_scrollForm = std::make_unique<CScrollForm>(this);
  return TRUE;
}

LRESULT CQtoTFormPage::OnRelayout(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_scrollForm)
    m_scrollForm->Relayout();
  bHandled = FALSE;
  return 0;
}

LRESULT CQtoTFormPage::OnEraseBkgnd(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  RECT client{};
  GetClientRect(&client);
  if (m_hBrush)
    ::FillRect(reinterpret_cast<HDC>(wParam), &client, m_hBrush);
  return 1;
}

LRESULT CQtoTFormPage::OnSettingChange(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  if (wParam == SPI_SETSIPINFO && IsWindowVisible() && m_scrollForm)
    m_scrollForm->Relayout();
  bHandled = FALSE;
  return 0;
}

LRESULT CQtoTFormPage::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  if (m_scrollForm)
    m_scrollForm->OnVScroll(wParam);
  return 0;
}

LRESULT CQtoTFormPage::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL&)
{
  HDC dc = reinterpret_cast<HDC>(wParam);
  if (::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_QTOT_NOTE)
    ::SetTextColor(dc, kNoteColour);
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CQtoTFormPage::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  WORD id = LOWORD(wParam);
  WORD code = HIWORD(wParam);
  if ((id == IDC_QTOT_NAME || id == IDC_QTOT_PASSWORD) && (code == kFocusGained || code == kFocusLost)) {
    // The dialog two levels up (past the tab control) scrolls the field into view.
    HWND dialog = ::GetParent(GetParent());
    if (dialog)
      ::SendMessageW(dialog, WM_COMMAND, wParam, lParam);
    return 0;
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CQtoTFormPage::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  if (m_nameEdit.m_hWnd)
    m_nameEdit.UnsubclassWindow();
  if (m_passwordEdit.m_hWnd)
    m_passwordEdit.UnsubclassWindow();
  m_scrollForm.reset();
  if (m_hBrush) {
    ::DeleteObject(m_hBrush);
    m_hBrush = nullptr;
  }
  bHandled = FALSE;
  return 0;
}
