// The recharge dialog: a full-screen dialog with the method menu and one page (or a pair) per
// top-up method, exactly one page visible between the title and the soft-key bar. The action key
// (1081) moves through the chosen method's pages and submits; the back key (1082) steps back to
// the menu and out of the dialog.
#pragma once

#include <memory>

#include "base_dlg.h"
#include "scroll_form_ctrl.h"

class CRechargeMenuPage;
class CMilocardChargeDlg;
class CMobileCardChargeDlg;
class CMobileCardConfirmDlg;
class CEbankChargeDlg;
class CEbankConfirmDlg;
class CNetChargeDlg;

class CRechargeHostDlg : public CBaseDlg {
 public:
  CRechargeHostDlg();
  ~CRechargeHostDlg() override;

  int GetTemplateId(int orientation) override;
  int GetBackgroundBitmapId(int orientation) override;
  int GetLayoutStringId() override;
  int GetSoftKey1Id() override;
  int GetSoftKey2Id() override;
  BOOL BindControls(BOOL, int) override { return TRUE; }
  // Shows the menu once the dialog is up.
  void InitFocus() override;

  // For the pages: the action key's text, the input pages the confirmation pages read, and the
  // end of the whole dialog (activating the parent or not).
  void SetActionText(const WCHAR* text);
  const CStringW& GetActionText() const { return m_strAction; }
  CMobileCardChargeDlg* GetCardInputPage() const { return m_pCardInput.get(); }
  // The skin of the card input page's face-value combo, which the host keeps.
  CScrollFormCtrl& GetFaceValueControl() { return m_faceValueControl; }
  CEbankChargeDlg* GetEbankInputPage() const { return m_pEbankInput.get(); }
  void CloseRecharge(bool activateParent);

  // The pages, for the tests and the screenshots: null until first shown.
  CRechargeMenuPage* GetMenuPage() const { return m_pMenu.get(); }
  CMilocardChargeDlg* GetMilocardPage() const { return m_pMilocard.get(); }
  CMobileCardConfirmDlg* GetCardConfirmPage() const { return m_pCardConfirm.get(); }
  CEbankConfirmDlg* GetEbankConfirmPage() const { return m_pEbankConfirm.get(); }
  CNetChargeDlg* GetDraftPage() const { return m_pDraft.get(); }

  BEGIN_MSG_MAP(CRechargeHostDlg)
    COMMAND_ID_HANDLER(1081, OnAction)
    COMMAND_ID_HANDLER(1082, OnBack)
    MESSAGE_HANDLER(WM_SETTINGCHANGE, OnSettingChange)
    CHAIN_MSG_MAP(CBaseDlg)
  END_MSG_MAP()

 private:
  LRESULT OnAction(WORD, WORD, HWND, BOOL&);
  LRESULT OnBack(WORD code, WORD, HWND, BOOL&);
  LRESULT OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

  // Each method's step of the action key.
  void ActOnMilocard(bool menuShown);
  void ActOnCard(bool menuShown);
  void ActOnEbank(bool menuShown);
  void ActOnDraft(bool menuShown);

  // Makes the page on first use, places it between the title and the soft-key bar and shows it,
  // then runs its show step; null when it could not be made.
  template <class Page>
  Page* ShowPage(std::unique_ptr<Page>& page);
  // Hides the page if it is shown; true when it was.
  template <class Page>
  bool HidePage(const std::unique_ptr<Page>& page);
  template <class Page>
  static bool Shown(const std::unique_ptr<Page>& page);
  // The page's own step when it is shown.
  void OnShown(CRechargeMenuPage& page);
  void OnShown(CMilocardChargeDlg& page);
  void OnShown(CMobileCardChargeDlg& page);
  void OnShown(CMobileCardConfirmDlg& page);
  void OnShown(CEbankChargeDlg& page);
  void OnShown(CEbankConfirmDlg& page);
  void OnShown(CNetChargeDlg& page);
  void DestroyPages();

  std::unique_ptr<CRechargeMenuPage> m_pMenu;
  std::unique_ptr<CMilocardChargeDlg> m_pMilocard;
  std::unique_ptr<CMobileCardChargeDlg> m_pCardInput;
  std::unique_ptr<CMobileCardConfirmDlg> m_pCardConfirm;
  std::unique_ptr<CEbankChargeDlg> m_pEbankInput;
  std::unique_ptr<CNetChargeDlg> m_pDraft;
  std::unique_ptr<CEbankConfirmDlg> m_pEbankConfirm;
  CScrollFormCtrl m_faceValueControl;
  CStringW m_strAction;
};
