// The bank-card sign-up wizard: the host of five pages (the card list, the bank choice, the
// application, the application sent, the activation), created on first use and moved between
// with the two soft keys. The host keeps the step (forward presses), the pages' places and two
// flags for its opener: the user must bind the phone first, or log in again.
#pragma once

#include <memory>

#include "base_dlg.h"
#include "milocard_ids.h"
#include "milocard_status.h"
#include "owner_draw_ctrl_c.h"

class CMilocardCardListPage;
class CMilocardChoicePage;
class CMilocardApplyPage;
class CMilocardDonePage;
class CMilocardStep4Dlg;

class CMilocardHostDlg : public CBaseDlg {
 public:
  CMilocardHostDlg();
  ~CMilocardHostDlg() override;

  int GetTemplateId(int) override { return IDD_MILOCARD_HOST; }
  int GetBackgroundBitmapId(int orientation) override { return orientation == -1 ? 0x419 : 0x418; }
  int GetLayoutStringId() override { return 132; }
  int GetSoftKey1Id() override { return IDC_MILOCARD_FORWARD; }
  int GetSoftKey2Id() override { return IDC_MILOCARD_BACK; }
  // Shows the card list, which asks the gateway for the cards.
  void InitFocus() override;

  // What the opener reads once the show returned.
  bool IsBindPhoneNeeded() const { return m_bBindPhoneNeeded; }
  bool IsLoginNeeded() const { return m_bLoginNeeded; }

  // For the pages.
  int GetStep() const { return m_step; }
  void IncrementStep() { ++m_step; }
  void ShowCardList(bool show);
  void ShowChoice(bool show);
  void ShowApply(bool show);
  void ShowDone(bool show);
  void ShowActivation(bool show);
  void SetDescription(const CStringW& text);
  // Soft key 1's text; the key is enabled only with a text.
  void SetForwardText(const CStringW& text);
  void SetBindPhoneNeeded() { m_bBindPhoneNeeded = true; }
  void SetLoginNeeded() { m_bLoginNeeded = true; }
  // Closes the wizard (safe from inside a page's handler).
  void CloseHost();
  // The card data of the card list (empty before its reply).
  const MilocardCardData& GetCardData() const;
  // The bank chosen on the bank choice page (empty when none).
  MilocardRow GetSelectedBank() const;

  CMilocardCardListPage* GetCardListPage() const { return m_pCardList.get(); }
  CMilocardChoicePage* GetChoicePage() const { return m_pChoice.get(); }
  CMilocardApplyPage* GetApplyPage() const { return m_pApply.get(); }
  CMilocardDonePage* GetDonePage() const { return m_pDone.get(); }
  CMilocardStep4Dlg* GetActivationPage() const { return m_pActivation.get(); }

  BEGIN_MSG_MAP(CMilocardHostDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_CTLCOLORSTATIC, OnCtlColorStatic)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDC_MILOCARD_FORWARD, OnForward)
    COMMAND_ID_HANDLER(IDC_MILOCARD_BACK, OnBack)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnForward(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD, WORD, HWND, BOOL&);

  bool IsShown(HWND page) const { return page && ::IsWindow(page) && ::IsWindowVisible(page); }
  // Places a page between the caption and the soft keys (the card list leaves room for the
  // caption and the description).
  void PlacePage(HWND page, bool cardList);
  void PlacePages();
  // Shows or hides one page, remembering the focus of a page that has a slot for it.
  void ShowPage(HWND page, bool show, HWND* focusSlot);
  // Shows a page that asks only for "确定" on the forward key, or hides it.
  void ShowConfirmPage(HWND page, bool show);
  // The centre key of the soft-key bar: the input method (on) or the clock.
  void ShowInputMethodKey(bool on);
  bool HostAlive() const { return m_hWnd && ::IsWindow(m_hWnd); }

  CWindow m_tab;
  COwnerDrawCtrlC m_ruleTop;
  COwnerDrawCtrlC m_ruleBottom;
  HBRUSH m_hBrush = nullptr;
  int m_step = 0;
  bool m_bBindPhoneNeeded = false;
  bool m_bLoginNeeded = false;
  HWND m_focusCardList = nullptr;
  HWND m_focusApply = nullptr;
  HWND m_focusActivation = nullptr;
  std::unique_ptr<CMilocardCardListPage> m_pCardList;
  std::unique_ptr<CMilocardChoicePage> m_pChoice;
  std::unique_ptr<CMilocardApplyPage> m_pApply;
  std::unique_ptr<CMilocardDonePage> m_pDone;
  std::unique_ptr<CMilocardStep4Dlg> m_pActivation;
};
