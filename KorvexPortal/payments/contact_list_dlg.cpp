#include "contact_list_dlg.h"

#include "app_services.h"
#include "contacts_ids.h"
#include "message_box_types.h"
#include "payment_request.h"
#include "payment_service.h"
#include "resource_values.h"
#include "window_helpers.h"

namespace {

constexpr int kContactLists = 62;
constexpr int kContactListsFailed = 63;
constexpr COLORREF kListColour = 0xF5F5F5;
const WCHAR kEmptyNote[] = u"你有 0 个联系人，点击 “返回” 手动输入对方账户。";

std::vector<CContactRecord> Flatten(const std::vector<CContactGroup>& groups)
{
  std::vector<CContactRecord> contacts;
  for (const CContactGroup& group : groups)
    contacts.insert(contacts.end(), group.contacts.begin(), group.contacts.end());
  return contacts;
}

std::vector<CContactRecord> Flatten(const ContactGroupList& groups)
{
  std::vector<CContactRecord> contacts;
  for (const auto& group : groups)
    for (const auto& entry : group->entries)
      contacts.push_back(CContactRecord{entry->name.c_str(), entry->account.c_str()});
  return contacts;
}

}  // namespace

CContactListDlg::CContactListDlg() : m_scrollForm(this) {}

CContactListDlg::~CContactListDlg()
{
  DeleteContactRecords(m_serverGroups);
  if (m_hBrush)
    ::DeleteObject(m_hBrush);
}

HWND CContactListDlg::CreateIn(HWND picker)
{
  HMODULE library = AppResourceLibrary();
  HRSRC found = library ? FindResourceW(library, MAKEINTRESOURCEW(IDD_CONTACT_LIST), RT_DIALOG) : nullptr;
  auto dialogTemplate = found ? static_cast<LPCDLGTEMPLATE>(LockResource(LoadResource(library, found))) : nullptr;
  return dialogTemplate ? CreateIndirect(dialogTemplate, picker) : nullptr;
}

LRESULT CContactListDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  m_filter.Register(m_hWnd, &m_scrollForm);
  if (!m_hBrush)
    m_hBrush = ::CreateSolidBrush(kListColour);
  if (!m_link.m_hWnd && GetDlgItem(IDC_CONTACT_LIST_REFRESH)) {
    m_link.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
    m_link.SubclassWindow(GetDlgItem(IDC_CONTACT_LIST_REFRESH));
    // The link spans the rows below it, so a selected row lines up with it.
    RECT link{};
    m_link.GetWindowRect(&link);
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&link), 2);
    RECT row = RowRect(0);
    m_link.SetWindowPos(nullptr, row.left, link.top, row.right - row.left, link.bottom - link.top,
                        SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (ShowLocalList() != 0)
    PostMessage(WM_COMMAND, IDC_CONTACT_LIST_REFRESH);
  return TRUE;
}

HWND CContactListDlg::GetFirstRow() const
{
  return m_rows.empty() ? nullptr : m_rows.front()->m_hWnd;
}

bool CContactListDlg::IsEmptyNoteVisible() const
{
  return m_hNote && ::IsWindowVisible(m_hNote);
}

int CContactListDlg::ShowLocalList()
{
  m_selected = CContactRecord();
  CKorvexPortalApp* app = GetKorvexPortalApp();
  std::vector<CContactGroup> groups;
  // Load reports FALSE when the file was read.
  if (!app || CContactStore(app->GetLogonId()).Load(groups))
    return 1;
  BuildRows(Flatten(groups));
  return 0;
}

void CContactListDlg::BuildRows(const std::vector<CContactRecord>& contacts)
{
  DestroyRows();
  m_contacts = contacts;
  for (size_t i = 0; i < m_contacts.size(); ++i) {
    auto row = std::make_unique<CFormButton>();
    RECT rect = RowRect(static_cast<int>(i));
    CStringW caption = m_contacts[i].name + u"(" + m_contacts[i].account + u")";
    row->LoadImages(1);
    if (!row->Create(m_hWnd, rect, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0,
                     static_cast<UINT>(IDC_CONTACT_ROW0 + i)))
      continue;
    row->SetTexts(caption, 0, u"", 0);
    m_rows.push_back(std::move(row));
  }
  m_scrollForm.Relayout();
  if (HWND first = GetFirstRow())
    ::SetFocus(first);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

RECT CContactListDlg::RowRect(int index)
{
  float scaleX = GetScreenScaleX();
  float scaleY = GetScreenScaleY();
  int top = static_cast<int>((30 + 30 * index) * scaleY);
  return RECT{static_cast<int>(5 * scaleX), top, static_cast<int>(210 * scaleX), static_cast<int>(top + 30 * scaleY)};
}

void CContactListDlg::DestroyRows()
{
  for (auto& row : m_rows)
    if (row->m_hWnd)
      row->DestroyWindow();
  m_rows.clear();
  m_contacts.clear();
  m_selected = CContactRecord();
}

LRESULT CContactListDlg::OnCommand(UINT, WPARAM wParam, LPARAM lParam, BOOL& bHandled)
{
  int id = LOWORD(wParam);
  if (id == IDC_CONTACT_LIST_REFRESH) {
    RequestServerList();
    return 0;
  }
  HWND from = reinterpret_cast<HWND>(lParam);
  for (size_t i = 0; i < m_rows.size(); ++i) {
    if (m_rows[i]->m_hWnd == from) {
      m_selected = m_contacts[i];
      return 0;
    }
  }
  bHandled = FALSE;
  return 0;
}

void CContactListDlg::RequestServerList()
{
  DeleteContactRecords(m_serverGroups);
  auto groups = std::make_shared<ContactGroupList>();
  FacadeReply reply = RunFacadeRequest(
      {kContactLists, kContactListsFailed}, [](CPaymentService& service) { return service.QueryContactLists(); },
      u"正在获取联系人列表...", [groups](int code, HRESULT, LPARAM value, bool first) {
        if (code != kContactLists)
          return;
        std::unique_ptr<ContactGroupList> list(reinterpret_cast<ContactGroupList*>(value));
        if (first && list)
          *groups = std::move(*list);
        else if (list)
          DeleteContactRecords(*list);
      });
  if (!reply.answered || !IsWindow()) {
    DeleteContactRecords(*groups);
    return;
  }
  m_serverGroups = std::move(*groups);
  m_nStatus = reply.status;
  m_strMemo = reply.memo;
  PostMessage(WM_KV_CONTACTS_LOADED);
}

LRESULT CContactListDlg::OnServerList(UINT, WPARAM, LPARAM, BOOL&)
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  if (m_nStatus == kPaymentStatusSuccess) {
    std::vector<CContactRecord> contacts = Flatten(m_serverGroups);
    if (contacts.empty()) {
      // An empty list leaves the file and the rows shown as they were.
      ShowEmptyNote();
    } else {
      HideEmptyNote();
      if (app)
        CContactStore(app->GetLogonId()).SaveServerList(m_serverGroups);
      BuildRows(contacts);
    }
  } else {
    HWND picker = GetParent();
    // Every refusal, the session's end too, is the memo in an error box; an ended session then
    // clears the user and brings the login up.
    ShowPaymentFailure(m_hWnd, m_strMemo);
    if (m_nStatus == kPaymentStatusSessionEnded && app) {
      app->SetUserName(CStringW());
      app->SetGreeting(CStringW());
      app->ShowLoginDlg(5);
    }
    // The picker goes, and with it the list.
    if (picker && ::IsWindow(picker))
      ::PostMessageW(picker, WM_COMMAND, IDC_CONTACT_BACK, 0);
  }
  DeleteContactRecords(m_serverGroups);
  return 0;
}

void CContactListDlg::ShowEmptyNote()
{
  RECT client{};
  GetClientRect(&client);
  int width = client.right - client.left;
  RECT screen{};
  GetScreenSize(screen);
  if (width > screen.right - screen.left)
    width = screen.right - screen.left;
  int height = client.bottom - client.top;
  int left = width / 12;
  int right = width - width / 12;
  int top = static_cast<int>(height * 0.375);
  int bottom = height - height / 4;
  if (!m_hNote) {
    m_hNote = ::CreateWindowExW(0, u"STATIC", kEmptyNote, WS_CHILD | SS_LEFT, left, top, right - left, bottom - top,
                                m_hWnd, nullptr, nullptr, nullptr);
    if (m_hNote)
      ::SendMessageW(m_hNote, WM_SETFONT, SendMessage(WM_GETFONT), TRUE);
  } else {
    ::MoveWindow(m_hNote, left, top, right - left, bottom - top, TRUE);
  }
  if (m_hNote)
    ::ShowWindow(m_hNote, SW_SHOW);
  SetPickerChoose(false);
}

void CContactListDlg::HideEmptyNote()
{
  if (m_hNote)
    ::ShowWindow(m_hNote, SW_HIDE);
  SetPickerChoose(true);
}

void CContactListDlg::SetPickerChoose(bool enabled)
{
  HWND picker = GetParent();
  HWND key = picker ? ::GetDlgItem(picker, IDC_CONTACT_CHOOSE) : nullptr;
  if (!key)
    return;
  ::SetWindowTextW(key, enabled ? u"选择" : u" ");
  ::EnableWindow(key, enabled);
}

LRESULT CContactListDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL&)
{
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(m_hWnd, &paint);
  RECT client{};
  GetClientRect(&client);
  ::FillRect(dc, &client, m_hBrush);
  ::EndPaint(m_hWnd, &paint);
  return 0;
}

LRESULT CContactListDlg::OnCtlColor(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  HDC dc = reinterpret_cast<HDC>(wParam);
  ::SetBkMode(dc, TRANSPARENT);
  return reinterpret_cast<LRESULT>(m_hBrush);
}

LRESULT CContactListDlg::OnSize(UINT, WPARAM, LPARAM, BOOL&)
{
  m_scrollForm.Relayout();
  return 0;
}

LRESULT CContactListDlg::OnVScroll(UINT, WPARAM wParam, LPARAM, BOOL&)
{
  m_scrollForm.OnVScroll(wParam);
  return 0;
}

LRESULT CContactListDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL&)
{
  m_filter.Unregister();
  DestroyRows();
  if (m_link.m_hWnd)
    m_link.UnsubclassWindow();
  if (m_hNote) {
    ::DestroyWindow(m_hNote);
    m_hNote = nullptr;
  }
  return 0;
}
