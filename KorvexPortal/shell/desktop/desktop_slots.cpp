// The desktop's page slots: one page of each kind, one ordinary page open at a time.
#include "app_services.h"
#include "desktop_dlg.h"

void CDesktopDlg::OpenPage(DesktopSlot slot, LPARAM commandParam)
{
  int index = static_cast<int>(slot);
  bool kept = IsKeptSlot(slot);
  if (m_pages[index] && !kept)
    RetirePage(slot, 2);
  DesktopPageContext context;
  context.desktop = m_hWnd;
  context.commandParam = commandParam;
  CBaseDlg* page = nullptr;
  if (const DesktopPageOpener& open = m_openers.open[index])
    page = open(kept ? m_pages[index] : nullptr, context);
  if (kept && m_pages[index] && page != m_pages[index])
    RetirePage(slot, 2);
  m_pages[index] = page;
  if (!m_hWnd || !::IsWindow(m_hWnd))
    return;

  if (slot == DesktopSlot::kCardWizard && page) {
    CKorvexPortalApp* app = GetKorvexPortalApp();
    if (context.logOut) {
      // The wizard found the session gone: back to the login, without switching pages.
      RetirePage(slot, 2);
      if (app) {
        app->SetUserName(CStringW());
        app->SetGreeting(CStringW());
        app->ShowLoginDlg(0);
      }
      return;
    }
    if (context.bindPhone) {
      RetirePage(slot, 0);
      if (app && app->GetMainDialog())
        app->ShowBindPhoneDlg(0);
    }
  }
  SwitchTo(slot);
}

void CDesktopDlg::SwitchTo(DesktopSlot slot)
{
  int index = static_cast<int>(slot);
  if (m_current >= 0 && m_current != index && !IsKeptSlot(static_cast<DesktopSlot>(m_current)) &&
      m_pages[m_current])
    RetirePage(static_cast<DesktopSlot>(m_current), 2);
  m_current = index;
}

void CDesktopDlg::RetirePage(DesktopSlot slot, int result)
{
  int index = static_cast<int>(slot);
  CBaseDlg* page = m_pages[index];
  m_pages[index] = nullptr;
  if (!page)
    return;
  if (page->m_hWnd && ::IsWindow(page->m_hWnd))
    page->CloseDialog(result, FALSE);
  // The page may be running the handler that brought us here: it is freed later.
  m_closedPages.emplace_back(page);
  if (m_hWnd && ::IsWindow(m_hWnd))
    PostMessage(WM_KV_DESKTOP_FREEPAGES);
}

void CDesktopDlg::RetireAllPages()
{
  for (int index = 0; index < kDesktopSlotCount; ++index)
    RetirePage(static_cast<DesktopSlot>(index), 2);
  m_current = -1;
}

LRESULT CDesktopDlg::OnFreePages(UINT, WPARAM, LPARAM, BOOL&)
{
  // Only pages whose windows are gone are freed; one shown again stays until it is closed.
  std::vector<std::unique_ptr<CBaseDlg>> kept;
  for (auto& page : m_closedPages) {
    if (page->m_hWnd && ::IsWindow(page->m_hWnd))
      kept.push_back(std::move(page));
  }
  m_closedPages.swap(kept);
  return 0;
}
