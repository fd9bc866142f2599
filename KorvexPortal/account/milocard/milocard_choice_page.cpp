#include "milocard_choice_page.h"

#include "milocard_host_dlg.h"
#include "window_helpers.h"

namespace {

constexpr DWORD kRadioStyle = WS_CHILD | WS_VISIBLE | BS_AUTORADIOBUTTON;
constexpr int kBankSpacing = 50;

}  // namespace

CMilocardChoicePage::~CMilocardChoicePage() = default;

LRESULT CMilocardChoicePage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  m_caption.Attach(GetDlgItem(IDC_MILOCARD_CHOICE_CAPTION));
  CreateScrollForm();
  if (m_pHost)
    m_banks = MilocardBanksOffered(m_pHost->GetCardData());
  int sx = MilocardLayoutScale();
  int sy = sx;
  for (size_t i = 0; i < m_banks.size(); ++i) {
    int offset = static_cast<int>(i) * kBankSpacing;
    DWORD style = kRadioStyle | (i == 0 ? WS_GROUP : 0);
    HWND radio = ::CreateWindowExW(0, u"BUTTON", u"", style, 20 * sx, 80 * sy + offset, 20 * sx, 20 * sy, m_hWnd,
                                   reinterpret_cast<HMENU>(static_cast<intptr_t>(kFirstRadioId + i)), nullptr, nullptr);
    if (radio && i == 0)
      ::SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
    m_radios.push_back(radio);
    auto row = std::make_unique<CFormButton>();
    RECT rect{40 * sx, 80 * sy + offset, 220 * sx, 100 * sy + offset};
    if (row->Create(m_hWnd, rect, m_banks[i].bankName, WS_CHILD | WS_VISIBLE, 0, kFirstRowId + static_cast<int>(i))) {
      // The icon style: the bank's mark (only one bank has one) before its name.
      row->LoadImages(0);
      if (m_banks[i].bankId == u"CCBDPAY")
        row->LoadBitmaps(IDB_MILOCARD_BANK_CCB, 0);
      row->SetTitle(m_banks[i].bankName, 0);
    }
    m_rows.push_back(std::move(row));
  }
  Relayout();
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
  return TRUE;
}

MilocardRow CMilocardChoicePage::GetSelectedBank() const
{
  for (size_t i = 0; i < m_radios.size() && i < m_banks.size(); ++i)
    if (m_radios[i] && ::SendMessageW(m_radios[i], BM_GETCHECK, 0, 0) == BST_CHECKED)
      return m_banks[i];
  return MilocardRow{};
}

LRESULT CMilocardChoicePage::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  DeleteScrollForm();
  for (HWND radio : m_radios)
    if (radio)
      ::DestroyWindow(radio);
  m_radios.clear();
  for (auto& row : m_rows)
    if (row->m_hWnd)
      row->DestroyWindow();
  m_rows.clear();
  m_caption.Detach();
  return 0;
}
