#include "desktop_dlg.h"

#include "app_services.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "resource_values.h"
#include "text_helpers.h"

namespace {

constexpr int kPortraitTemplate = 203;
constexpr int kLandscapeTemplate = 1055;
constexpr int kPortraitBackground = 0x41A;
constexpr int kLandscapeBackground = 0x41B;
constexpr UINT kMessagesFace = 268;
constexpr UINT kMessagesFaceDown = 269;
constexpr COLORREF kCountColour = RGB(0x33, 0x33, 0x33);
constexpr int kLogonIdLength = 17;

}  // namespace

CDesktopDlg::CDesktopDlg() : m_openers(DefaultDesktopPageOpeners()), m_listener(*this)
{
  m_countCaption.Format(u"（%d）", 0);
}

CDesktopDlg::~CDesktopDlg()
{
  if (m_hWnd && ::IsWindow(m_hWnd))
    ::DestroyWindow(m_hWnd);
  RetireAllPages();
  m_closedPages.clear();
}

void CDesktopDlg::DispatchMenuItem(int entry)
{
  if (entry < 0 || entry > 8)
    return;
  if (HWND active = ::GetActiveWindow())
    ::SendMessageW(active, WM_COMMAND, MAKEWPARAM(kFirstEntryCommand + entry, 0), 0);
}

int CDesktopDlg::GetTemplateId(int orientation)
{
  return orientation == 1 ? kPortraitTemplate : kLandscapeTemplate;
}

int CDesktopDlg::GetBackgroundBitmapId(int orientation)
{
  return orientation == 1 ? kPortraitBackground : kLandscapeBackground;
}

void CDesktopDlg::SetCountCaption(int count)
{
  m_unreadCount = count;
  m_countCaption.Format(u"（%d）", count);
  if (m_messagesButton.m_hWnd) {
    m_messagesButton.SetTitle(m_countCaption, kCountColour);
    m_messagesButton.SetWindowText(m_countCaption);
    ::InvalidateRect(m_messagesButton.m_hWnd, nullptr, TRUE);
  }
}

void CDesktopDlg::BuildHeader()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CStringW logonId = app ? app->GetLogonId() : CStringW();
  if (logonId.IsEmpty()) {
    m_header.Empty();
    return;
  }
  EllipsizeString(logonId, kLogonIdLength);
  m_header = m_headerCaption + logonId;
}

BOOL CDesktopDlg::BindControls(BOOL save, int)
{
  if (save || !m_hWnd)
    return FALSE;
  if (!m_headerLabel.m_hWnd) {
    if (HWND label = GetDlgItem(kHeaderId)) {
      ::GetWindowTextW(label, m_headerCaption.GetBuffer(64), 64);
      m_headerCaption.ReleaseBuffer();
      if (m_headerCaption.IsEmpty())
        m_headerCaption = u"您的账户：";
    }
    AttachSkinLabel(kHeaderId, m_headerLabel, kControlLabel, FALSE, -1, -1, 0);
    BuildHeader();
  }
  if (m_headerLabel.m_hWnd)
    m_headerLabel.SetWindowText(m_header);
  return TRUE;
}

LRESULT CDesktopDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  m_menuList.Attach(GetDlgItem(kMenuListId));
  SetSoftKeyTexts(u"退出", u"菜单", FALSE);
  bHandled = FALSE;
  return 0;
}

void CDesktopDlg::InitFocus()
{
  if (m_menuList.m_hWnd)
    m_menuList.SetFocus();
  else
    WRITE_LOG_ENTRY(u"DesktopDlg: no menu list");
  if (HWND button = GetDlgItem(kMessagesId)) {
    if (!m_messagesButton.m_hWnd)
      m_messagesButton.SubclassWindow(button);
    m_messagesButton.LoadBitmaps(kMessagesFace, kMessagesFaceDown);
    SetCountCaption(m_unreadCount);
  }
}

LRESULT CDesktopDlg::OnShowWindow(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (wParam) {
    BuildHeader();
    BindControls(FALSE, -1);
  }
  return 0;
}

LRESULT CDesktopDlg::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  BuildHeader();
  BindControls(FALSE, -1);
  return 0;
}

LRESULT CDesktopDlg::OnActivate(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  if (LOWORD(wParam) == WA_ACTIVE)
    RequestUnreadCount();
  return 0;
}

void CDesktopDlg::RequestUnreadCount()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!service)
    return;
  CDesktopCountListener& counts = CDesktopCountListener::Instance();
  counts.RegisterWith(service);
  counts.PointAt(m_hWnd);
  m_countCommand = service->GetMsgCount();
}

LRESULT CDesktopDlg::OnKeyUp(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;
  if (wParam == VK_DOWN && m_menuList.m_hWnd)
    m_menuList.SetFocus();
  else if (wParam == VK_UP && static_cast<LONG>(lParam) < 4 && m_messagesButton.m_hWnd)
    m_messagesButton.SetFocus();
  return 0;
}

LRESULT CDesktopDlg::OnSettingChange(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  bHandled = FALSE;
  if (m_menuList.m_hWnd)
    m_menuList.SendMessage(WM_SETTINGCHANGE, wParam, lParam);
  return 0;
}

LRESULT CDesktopDlg::OnMenuNotify(int, LPNMHDR header, BOOL&)
{
  DispatchMenuItem(reinterpret_cast<NMITEMACTIVATE*>(header)->iItem);
  return 0;
}

LRESULT CDesktopDlg::OnExitKey(WORD, WORD, HWND, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (!app)
    return 0;
  CBaseDlg* main = app->GetMainDialog();
  int answer = app->ShowMessageBox(main ? main->m_hWnd : m_hWnd, LoadResourceString(IDS_KV_EXIT_QUESTION), u"",
                                   KV_BOX_QUESTION, FALSE, SW_SHOW);
  if (answer == KV_BOX_ANSWER_OK) {
    app->PostToActiveDialog(2);
    return 0;
  }
  if (HWND box = app->GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
  if (IsWindow())
    SetFullScreenMode(TRUE);
  return 0;
}

LRESULT CDesktopDlg::OnEntry(WORD, WORD id, HWND control, BOOL&)
{
  // The command's lParam: the trade query's filter preset.
  LPARAM param = reinterpret_cast<LPARAM>(control);
  if (id == kMessagesId)
    OpenPage(DesktopSlot::kMessages, param);
  else if (id == kFirstEntryCommand + static_cast<int>(DesktopSlot::kWithdrawal))
    OpenWithdrawal();
  else
    OpenPage(static_cast<DesktopSlot>(id - kFirstEntryCommand), param);
  return 0;
}

LRESULT CDesktopDlg::OnCount(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  SetCountCaption(static_cast<int>(wParam));
  return 0;
}

LRESULT CDesktopDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  CDesktopCountListener::Instance().Forget(m_hWnd);
  RetireAllPages();
  {
    std::lock_guard<std::mutex> guard(m_resultLock);
    m_withdrawal.reset();
  }
  m_menuList.Detach();
  return 0;
}
