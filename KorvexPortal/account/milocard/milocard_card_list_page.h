// Page A of the bank-card wizard: asks the gateway for the user's cards ("preRequestMC2") when it
// opens, lists the cards that have a status and a last row for a new card, and tells the host
// what the selected row offers (the description and soft key 1's action). A row is selected when
// it gains the focus (the keys move it between the rows) or is tapped.
#pragma once

#include <memory>
#include <vector>

#include "form_button.h"
#include "milocard_ids.h"
#include "milocard_page.h"
#include "milocard_status.h"

class CMilocardCardListPage : public CMilocardPageT<CMilocardCardListPage> {
 public:
  enum { IDD = IDD_MILOCARD_LIST };
  // The facade's notification codes of "preRequestMC2".
  enum : int { kCardsListed = 26, kCardsFailed = 27 };
  static constexpr int kFirstButtonId = 1500;

  CMilocardCardListPage() = default;
  ~CMilocardCardListPage() override;

  const MilocardCardData& GetCardData() const { return m_data; }
  // The listed rows (a status each), then the new-card row.
  const std::vector<MilocardRow>& GetListedRows() const { return m_listed; }
  int GetStatusIndex() const { return m_statusIndex; }
  HWND GetButton(int row) const;
  // Re-applies the kept index's description and action to the host.
  void ApplyStatusTexts();
  // Sends "preRequestMC2" behind the wait box and handles its result; the host runs it once,
  // when it made the page.
  void RequestCards();

  BEGIN_MSG_MAP(CMilocardCardListPage)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_COMMAND, OnCommand)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CMilocardPageT<CMilocardCardListPage>)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  void ShowCards();
  void SelectRow(size_t row);

  MilocardCardData m_data;
  std::vector<MilocardRow> m_listed;
  std::vector<std::unique_ptr<CFormButton>> m_buttons;
  // The index of the selected row; each wizard starts with the first row's.
  int m_statusIndex = 3;
};
