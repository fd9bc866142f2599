#include "recharge_host_dlg.h"

#include <type_traits>

#include "app_services.h"
#include "dialog_ids.h"
#include "ebank_charge_dlg.h"
#include "ebank_confirm_dlg.h"
#include "milocard_charge_dlg.h"
#include "mobile_card_charge_dlg.h"
#include "mobile_card_confirm_dlg.h"
#include "net_charge_dlg.h"
#include "recharge_ids.h"
#include "recharge_menu_page.h"
#include "resource_values.h"
#include "window_helpers.h"

namespace {

enum Method { kMilocard = 0, kCard = 1, kEbank = 2, kDraft = 3 };

constexpr WCHAR kMilocardSignUp[] = u"Milocard业务";
// Private to the host: the bank-card sign-up entry of the desktop.
constexpr int kCardWizardCommand = ID_KV_DESKTOP_ITEM0 + 6;

}  // namespace

CRechargeHostDlg::CRechargeHostDlg() = default;

CRechargeHostDlg::~CRechargeHostDlg()
{
  DestroyPages();
}

void CRechargeHostDlg::DestroyPages()
{
  // A page's window goes with the host's; what is left here are the objects.
  m_pMenu.reset();
  m_pMilocard.reset();
  m_pCardInput.reset();
  m_pCardConfirm.reset();
  m_pEbankInput.reset();
  m_pDraft.reset();
  m_pEbankConfirm.reset();
}

int CRechargeHostDlg::GetTemplateId(int)
{
  return IDD_RECHARGE_HOST;
}

int CRechargeHostDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == -1 ? 0x419 : 0x418;
}

int CRechargeHostDlg::GetLayoutStringId()
{
  return 132;
}

int CRechargeHostDlg::GetSoftKey1Id()
{
  return IDC_RECHARGE_ACTION;
}

int CRechargeHostDlg::GetSoftKey2Id()
{
  return IDC_RECHARGE_BACK;
}

void CRechargeHostDlg::InitFocus()
{
  SetSoftKeyTexts(nullptr, u"返回", FALSE);
  ShowPage(m_pMenu);
}

void CRechargeHostDlg::SetActionText(const WCHAR* text)
{
  m_strAction = text;
  SetSoftKeyTexts(text, nullptr, TRUE);
}

void CRechargeHostDlg::CloseRecharge(bool activateParent)
{
  if (m_hWnd && ::IsWindow(m_hWnd))
    CloseDialog(activateParent ? 1 : 2, activateParent ? TRUE : FALSE);
}

template <class Page>
bool CRechargeHostDlg::Shown(const std::unique_ptr<Page>& page)
{
  return page && page->m_hWnd && ::IsWindow(page->m_hWnd) && ::IsWindowVisible(page->m_hWnd);
}

template <class Page>
Page* CRechargeHostDlg::ShowPage(std::unique_ptr<Page>& page)
{
  if (!page || !page->m_hWnd) {
    if constexpr (std::is_constructible_v<Page, CRechargeHostDlg&>)
      page = std::make_unique<Page>(*this);
    else
      page = std::make_unique<Page>();
    if (!page->Create(m_hWnd) || !m_hWnd) {
      page.reset();
      return nullptr;
    }
  }
  // The screen as it stands gives the right and bottom edges. (The display mode here turns with
  // the screen, so the mode's sizes swapped for landscape would give the upright rectangle.)
  RECT rect{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  rect.top = LoadIntResource();
  rect.bottom -= m_bottomBarHeight;
  page->MoveWindow(&rect, TRUE);
  OnShown(*page);
  return page.get();
}

template <class Page>
bool CRechargeHostDlg::HidePage(const std::unique_ptr<Page>& page)
{
  if (!Shown(page))
    return false;
  page->OnHidden();
  page->ShowWindow(SW_HIDE);
  return true;
}

void CRechargeHostDlg::OnShown(CRechargeMenuPage& page)
{
  SetSipVisible(FALSE);
  page.ShowWindow(SW_SHOW);
  page.FocusSelected();
  SetActionText(u"确定");
}

void CRechargeHostDlg::OnShown(CMilocardChargeDlg& page)
{
  // The page sets the action key by what it knows of the cards.
  page.UpdateActionKey();
  page.ShowWindow(SW_SHOW);
}

void CRechargeHostDlg::OnShown(CMobileCardChargeDlg& page)
{
  page.ShowWindow(SW_SHOW);
  page.FocusCardNumber();
  SetActionText(u"提交");
}

void CRechargeHostDlg::OnShown(CMobileCardConfirmDlg& page)
{
  page.Fill();
  page.ShowWindow(SW_SHOW);
  SetActionText(u"充值");
}

void CRechargeHostDlg::OnShown(CEbankChargeDlg& page)
{
  page.ShowWindow(SW_SHOW);
  page.FocusAmount();
  SetActionText(u"下一步");
}

void CRechargeHostDlg::OnShown(CEbankConfirmDlg& page)
{
  page.Fill();
  page.ShowWindow(SW_SHOW);
  SetActionText(u"下一步");
}

void CRechargeHostDlg::OnShown(CNetChargeDlg& page)
{
  page.ShowWindow(SW_SHOW);
  SetActionText(u"充值");
}

LRESULT CRechargeHostDlg::OnAction(WORD, WORD, HWND, BOOL&)
{
  bool menuShown = Shown(m_pMenu);
  switch (m_pMenu ? m_pMenu->GetSelectedIndex() : kMilocard) {
    case kMilocard:
      ActOnMilocard(menuShown);
      break;
    case kCard:
      ActOnCard(menuShown);
      break;
    case kEbank:
      ActOnEbank(menuShown);
      break;
    case kDraft:
      ActOnDraft(menuShown);
      break;
    default:
      break;
  }
  return 0;
}

void CRechargeHostDlg::ActOnMilocard(bool)
{
  if (!Shown(m_pMilocard)) {
    HidePage(m_pMenu);
    ShowPage(m_pMilocard);
    return;
  }
  if (m_strAction != kMilocardSignUp) {
    m_pMilocard->Charge();
    return;
  }
  // No linked card: the desktop opens the bank-card sign-up and this dialog goes.
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (HWND desktop = app ? app->GetDesktopDlgWindow() : nullptr)
    ::PostMessageW(desktop, WM_COMMAND, MAKEWPARAM(kCardWizardCommand, 0), 0);
  CloseRecharge(false);
}

void CRechargeHostDlg::ActOnCard(bool menuShown)
{
  if (menuShown) {
    HidePage(m_pMenu);
    ShowPage(m_pCardInput);
  } else if (Shown(m_pCardInput)) {
    if (m_pCardInput->CheckInput()) {
      HidePage(m_pCardInput);
      ShowPage(m_pCardConfirm);
    }
  } else if (Shown(m_pCardConfirm)) {
    m_pCardConfirm->Submit();
  }
}

void CRechargeHostDlg::ActOnEbank(bool menuShown)
{
  if (menuShown) {
    HidePage(m_pMenu);
    ShowPage(m_pEbankInput);
  } else if (Shown(m_pEbankInput)) {
    if (m_pEbankInput->CheckInput()) {
      HidePage(m_pEbankInput);
      ShowPage(m_pEbankConfirm);
    }
  } else if (Shown(m_pEbankConfirm)) {
    m_pEbankConfirm->Submit();
  }
}

void CRechargeHostDlg::ActOnDraft(bool)
{
  if (Shown(m_pDraft)) {
    m_pDraft->Submit();
    return;
  }
  HidePage(m_pMenu);
  ShowPage(m_pDraft);
}

LRESULT CRechargeHostDlg::OnBack(WORD code, WORD, HWND, BOOL&)
{
  if (HidePage(m_pMenu)) {
    CloseRecharge(code == 0);
    return 0;
  }
  if (HidePage(m_pCardConfirm)) {
    ShowPage(m_pCardInput);
    return 0;
  }
  if (HidePage(m_pEbankConfirm)) {
    ShowPage(m_pEbankInput);
    return 0;
  }
  if (HidePage(m_pMilocard) || HidePage(m_pCardInput) || HidePage(m_pEbankInput) || HidePage(m_pDraft))
    ShowPage(m_pMenu);
  return 0;
}

LRESULT CRechargeHostDlg::OnSettingChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  // The input panel moved: the pages with edits lay themselves out again.
  if (wParam == SPI_SETSIPINFO) {
    HWND pages[] = {Shown(m_pMilocard) ? m_pMilocard->m_hWnd : nullptr,
                    Shown(m_pCardInput) ? m_pCardInput->m_hWnd : nullptr,
                    Shown(m_pEbankInput) ? m_pEbankInput->m_hWnd : nullptr,
                    Shown(m_pEbankConfirm) ? m_pEbankConfirm->m_hWnd : nullptr,
                    Shown(m_pDraft) ? m_pDraft->m_hWnd : nullptr};
    for (HWND page : pages)
      if (page)
        ::PostMessageW(page, message, wParam, lParam);
  }
  bHandled = FALSE;
  return 0;
}
