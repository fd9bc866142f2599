#include "milocard_host_dlg.h"

#include "controls/tab_control.h"
#include "milocard_apply_page.h"
#include "milocard_card_list_page.h"
#include "milocard_choice_page.h"
#include "milocard_done_page.h"
#include "milocard_step4_dlg.h"
#include "skin_center_key.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kHostColour = 0xF7F7F7;
// Room kept above the soft-key bar, and the card list's room above and below it, per whole
// layout scale.
constexpr int kBottomRoom = 30;
constexpr int kCardListRoom = 30;

// The page to show, made on first use (null when it could not be made), or the page to hide
// (null when it was never made).
template <class Page>
Page* PageFor(std::unique_ptr<Page>& page, bool show, CMilocardHostDlg* host)
{
  if (show && !page) {
    page = std::make_unique<Page>();
    page->SetHost(host);
  }
  if (show && !page->m_hWnd)
    page->Create(host->m_hWnd);
  return page && page->m_hWnd ? page.get() : nullptr;
}

}  // namespace

CMilocardHostDlg::CMilocardHostDlg() = default;

CMilocardHostDlg::~CMilocardHostDlg()
{
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
}

LRESULT CMilocardHostDlg::OnInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL&)
{
  // The flags are cleared first: the base's opening ends with the focus, which shows the card
  // list and asks for the cards.
  m_bBindPhoneNeeded = false;
  m_bLoginNeeded = false;
  m_step = 0;
  LRESULT result = FALSE;
  CBaseDlg::ProcessWindowMessage(m_hWnd, message, wParam, lParam, result);
  if (!HostAlive())
    return result;
  SetTitle(u"Milocard业务", FALSE);
  BindControls(FALSE, -1);
  m_tab.Attach(GetDlgItem(IDC_MILOCARD_TAB));
  if (m_tab.m_hWnd) {
    WCHAR caption[] = u"  开通Milocard  ";
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption;
    m_tab.SendMessage(TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    RECT screen{};
    GetScreenSize(screen);
    int bottom = (screen.bottom - screen.top) - ::GetSystemMetrics(SM_CYCAPTION) - kBottomRoom;
    m_tab.SetWindowPos(nullptr, 0, m_titleHeight, screen.right - screen.left,
                       bottom > m_titleHeight ? bottom - m_titleHeight : 0, SWP_NOZORDER | SWP_HIDEWINDOW);
    m_tab.SendMessage(TCM_SETCURSEL, 0, 0);
  }
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
  m_hBrush = ::CreateSolidBrush(kHostColour);
  m_ruleTop.SubclassWindow(GetDlgItem(IDC_MILOCARD_RULE_TOP));
  m_ruleBottom.SubclassWindow(GetDlgItem(IDC_MILOCARD_RULE_BOTTOM));
  return result;
}

void CMilocardHostDlg::InitFocus()
{
  ShowCardList(true);
}

void CMilocardHostDlg::PlacePage(HWND page, bool cardList)
{
  if (!page)
    return;
  RECT client{};
  GetClientRect(&client);
  int top = m_titleHeight;
  int bottom = client.bottom - m_bottomBarHeight - kBottomRoom;
  if (cardList) {
    int room = kCardListRoom * MilocardLayoutScale();
    top += room;
    bottom -= room;
  }
  ::MoveWindow(page, 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
}

void CMilocardHostDlg::PlacePages()
{
  if (m_pCardList && m_pCardList->m_hWnd) {
    PlacePage(m_pCardList->m_hWnd, true);
    RECT page{};
    ::GetWindowRect(m_pCardList->m_hWnd, &page);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&page), 2);
    RECT client{};
    GetClientRect(&client);
    for (auto [id, gap] : {std::pair{IDC_MILOCARD_RULE_BOTTOM, 5}, std::pair{IDC_MILOCARD_DESCRIPTION, 15}}) {
      HWND item = GetDlgItem(id);
      RECT rect{};
      if (!item || !::GetWindowRect(item, &rect))
        continue;
      ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
      ::MoveWindow(item, rect.left, page.bottom + gap, rect.right - rect.left, rect.bottom - rect.top, TRUE);
    }
    // The texts and rules span the screen's width, which a landscape screen makes wider than the
    // template.
    for (int id : {IDC_MILOCARD_CAPTION, IDC_MILOCARD_DESCRIPTION, IDC_MILOCARD_RULE_TOP, IDC_MILOCARD_RULE_BOTTOM}) {
      HWND item = GetDlgItem(id);
      RECT rect{};
      if (!item || !::GetWindowRect(item, &rect))
        continue;
      ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rect), 2);
      int right = client.right - rect.left;
      ::MoveWindow(item, rect.left, rect.top, right > rect.left ? right - rect.left : 0, rect.bottom - rect.top, TRUE);
    }
  }
  if (m_pChoice && m_pChoice->m_hWnd)
    PlacePage(m_pChoice->m_hWnd, false);
  if (m_pApply && m_pApply->m_hWnd)
    PlacePage(m_pApply->m_hWnd, false);
  if (m_pDone && m_pDone->m_hWnd)
    PlacePage(m_pDone->m_hWnd, false);
  if (m_pActivation && m_pActivation->m_hWnd)
    PlacePage(m_pActivation->m_hWnd, false);
}

void CMilocardHostDlg::ShowPage(HWND page, bool show, HWND* focusSlot)
{
  if (!page)
    return;
  if (!show && focusSlot) {
    HWND focus = ::GetFocus();
    *focusSlot = focus && ::IsChild(page, focus) ? focus : nullptr;
  }
  ::ShowWindow(page, show ? SW_SHOW : SW_HIDE);
}

void CMilocardHostDlg::ShowCardList(bool show)
{
  bool made = m_pCardList && m_pCardList->m_hWnd;
  CMilocardCardListPage* page = PageFor(m_pCardList, show, this);
  if (!page)
    return;
  for (int id : {IDC_MILOCARD_CAPTION, IDC_MILOCARD_DESCRIPTION, IDC_MILOCARD_RULE_TOP, IDC_MILOCARD_RULE_BOTTOM})
    if (HWND item = GetDlgItem(id))
      ::ShowWindow(item, show ? SW_SHOW : SW_HIDE);
  if (!show) {
    ShowPage(page->m_hWnd, false, &m_focusCardList);
    return;
  }
  PlacePages();
  ShowPage(page->m_hWnd, true, nullptr);
  if (!made) {
    // The wait box belongs to the active window and hands the activation back to it: the wizard
    // shows (and so becomes active) before it asks, or the keys would go to its opener afterwards.
    if (!IsWindowVisible())
      ShowWindow(SW_SHOWNORMAL);
    // The cards are asked for once a wizard; a failure may close the host meanwhile.
    page->RequestCards();
    if (!HostAlive() || !page->m_hWnd)
      return;
    // What the wait box covered is painted again.
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  } else {
    page->ApplyStatusTexts();
    if (page->GetListedRows().empty())
      SetForwardText(CStringW());
  }
  if (m_focusCardList && ::IsWindow(m_focusCardList))
    ::SetFocus(m_focusCardList);
}

void CMilocardHostDlg::ShowConfirmPage(HWND page, bool show)
{
  if (show) {
    PlacePages();
    SetForwardText(u"确定");
  }
  ShowPage(page, show, nullptr);
}

void CMilocardHostDlg::ShowChoice(bool show)
{
  if (CMilocardChoicePage* page = PageFor(m_pChoice, show, this))
    ShowConfirmPage(page->m_hWnd, show);
}

void CMilocardHostDlg::ShowApply(bool show)
{
  CMilocardApplyPage* page = PageFor(m_pApply, show, this);
  if (!page)
    return;
  if (!show) {
    ShowPage(page->m_hWnd, false, &m_focusApply);
    return;
  }
  PlacePages();
  SetForwardText(u"确定");
  ShowPage(page->m_hWnd, true, nullptr);
  ::SetFocus(page->GetFirstEdit());
  ShowInputMethodKey(true);
}

void CMilocardHostDlg::ShowDone(bool show)
{
  if (CMilocardDonePage* page = PageFor(m_pDone, show, this))
    ShowConfirmPage(page->m_hWnd, show);
}

void CMilocardHostDlg::ShowActivation(bool show)
{
  CMilocardStep4Dlg* page = PageFor(m_pActivation, show, this);
  if (!page)
    return;
  if (!show) {
    ShowPage(page->m_hWnd, false, &m_focusActivation);
    SetSoftKeyTexts(u"确定", u"返回", TRUE);
    return;
  }
  PlacePages();
  SetSoftKeyTexts(u"激活", u"返回", TRUE);
  if (m_softKey1.m_hWnd)
    m_softKey1.EnableWindow(TRUE);
  ShowPage(page->m_hWnd, true, nullptr);
  HWND focus = m_focusActivation && ::IsWindow(m_focusActivation) ? m_focusActivation : page->GetFirstEdit();
  ::SetFocus(focus);
  ShowInputMethodKey(true);
}

void CMilocardHostDlg::ShowInputMethodKey(bool on)
{
  if (!m_centerKey.m_hWnd)
    return;
  m_centerKey.ShowClock(!on);
  m_centerKey.UpdateInputMethodMenu(on, false);
}

void CMilocardHostDlg::SetDescription(const CStringW& text)
{
  SetDlgItemText(IDC_MILOCARD_DESCRIPTION, text);
}

void CMilocardHostDlg::SetForwardText(const CStringW& text)
{
  SetSoftKeyTexts(text, nullptr, TRUE);
  if (m_softKey1.m_hWnd)
    m_softKey1.EnableWindow(!text.IsEmpty());
}

void CMilocardHostDlg::CloseHost()
{
  if (HostAlive())
    CloseDialog(0, FALSE);
}

const MilocardCardData& CMilocardHostDlg::GetCardData() const
{
  static const MilocardCardData kNoCards;
  return m_pCardList ? m_pCardList->GetCardData() : kNoCards;
}

MilocardRow CMilocardHostDlg::GetSelectedBank() const
{
  return m_pChoice && m_pChoice->m_hWnd ? m_pChoice->GetSelectedBank() : MilocardRow{};
}

LRESULT CMilocardHostDlg::OnForward(WORD, WORD, HWND, BOOL&)
{
  if (m_step == 0) {
    m_step = 1;
    CStringW action;
    if (m_softKey1.m_hWnd)
      m_softKey1.GetWindowText(action);
    int index = MilocardActionIndex(action);
    if (index == 0) {
      ShowCardList(false);
      ShowActivation(true);
    } else if (index == 3) {
      ShowCardList(false);
      ShowChoice(true);
    }
    return 0;
  }
  if (m_step == 1) {
    if (m_pChoice && IsShown(m_pChoice->m_hWnd)) {
      ++m_step;
      ShowChoice(false);
      ShowApply(true);
    } else if (m_pActivation && IsShown(m_pActivation->m_hWnd)) {
      m_pActivation->Activate();
    }
    return 0;
  }
  if (m_pApply && IsShown(m_pApply->m_hWnd))
    m_pApply->Apply();
  else if (m_pDone && IsShown(m_pDone->m_hWnd))
    CloseHost();
  return 0;
}

LRESULT CMilocardHostDlg::OnBack(WORD, WORD, HWND, BOOL&)
{
  if (m_step == 0) {
    CloseHost();
    return 0;
  }
  --m_step;
  if (m_pChoice && IsShown(m_pChoice->m_hWnd)) {
    ShowChoice(false);
    ShowCardList(true);
    ShowInputMethodKey(false);
  } else if (m_pApply && IsShown(m_pApply->m_hWnd)) {
    ShowApply(false);
    ShowChoice(true);
    ShowInputMethodKey(false);
  } else if (m_pActivation && IsShown(m_pActivation->m_hWnd)) {
    ShowActivation(false);
    ShowCardList(true);
    ShowInputMethodKey(false);
  } else if (m_pDone && IsShown(m_pDone->m_hWnd)) {
    ShowDone(false);
    ShowApply(true);
  }
  return 0;
}

LRESULT CMilocardHostDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the base lays its bars out too
  PlacePages();
  return 0;
}

LRESULT CMilocardHostDlg::OnCtlColorStatic(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
  if ((id != IDC_MILOCARD_CAPTION && id != IDC_MILOCARD_DESCRIPTION) || !m_hBrush) {
    bHandled = FALSE;
    return 0;
  }
  ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CMilocardHostDlg::OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;  // the base keeps the edited field above the input panel
  if (wParam != SPI_SETSIPINFO)
    return 0;
  for (HWND page : {m_pCardList ? m_pCardList->m_hWnd : nullptr, m_pChoice ? m_pChoice->m_hWnd : nullptr,
                    m_pApply ? m_pApply->m_hWnd : nullptr, m_pDone ? m_pDone->m_hWnd : nullptr,
                    m_pActivation ? m_pActivation->m_hWnd : nullptr}) {
    if (IsShown(page)) {
      ::PostMessageW(page, WM_SETTINGCHANGE, wParam, lParam);
      break;
    }
  }
  return 0;
}

LRESULT CMilocardHostDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the base releases its skin and bars
  m_tab.Detach();
  if (m_ruleTop.m_hWnd)
    m_ruleTop.UnsubclassWindow();
  if (m_ruleBottom.m_hWnd)
    m_ruleBottom.UnsubclassWindow();
  return 0;
}
