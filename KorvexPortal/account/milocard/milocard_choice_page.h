// Page B of the bank-card wizard: one radio button and one row for each bank where the user has
// no card yet; the first is checked.
#pragma once

#include <memory>
#include <vector>

#include "form_button.h"
#include "milocard_ids.h"
#include "milocard_page.h"
#include "milocard_status.h"

class CMilocardChoicePage : public CMilocardPageT<CMilocardChoicePage> {
 public:
  enum { IDD = IDD_MILOCARD_CHOICE };
  static constexpr int kFirstRadioId = 1000;
  static constexpr int kFirstRowId = 1500;

  CMilocardChoicePage() { m_bTakesFocusWhenShown = true; }
  ~CMilocardChoicePage() override;

  // The row of the first checked radio button; an empty row when none is checked.
  MilocardRow GetSelectedBank() const;
  const std::vector<MilocardRow>& GetBanks() const { return m_banks; }
  HWND GetRadio(size_t bank) const { return bank < m_radios.size() ? m_radios[bank] : nullptr; }
  HWND GetRow(size_t bank) const { return bank < m_rows.size() ? m_rows[bank]->m_hWnd : nullptr; }

  BEGIN_MSG_MAP(CMilocardChoicePage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CMilocardPageT<CMilocardChoicePage>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  CWindow m_caption;
  std::vector<MilocardRow> m_banks;
  std::vector<HWND> m_radios;
  std::vector<std::unique_ptr<CFormButton>> m_rows;
};
