#include "desktop_placeholder_page.h"

namespace {

constexpr int kTemplate = 277;

}  // namespace

int CDesktopPlaceholderPage::GetTemplateId(int)
{
  return kTemplate;
}

LRESULT CDesktopPlaceholderPage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  SetTitle(m_title, FALSE);
  SetSoftKeyTexts(u"返回", u"", FALSE);
  bHandled = FALSE;
  return 0;
}

LRESULT CDesktopPlaceholderPage::OnBack(WORD, WORD, HWND, BOOL&)
{
  CloseDialog(2, TRUE);
  return 0;
}
