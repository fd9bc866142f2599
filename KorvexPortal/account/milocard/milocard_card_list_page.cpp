#include "milocard_card_list_page.h"

#include <mutex>

#include "app_services.h"
#include "facade_answer.h"
#include "list_results.h"
#include "message_box_types.h"
#include "milocard_host_dlg.h"
#include "payment_service.h"
#include "window_helpers.h"

namespace {

constexpr COLORREF kOpenedColour = 0;
constexpr COLORREF kPendingColour = 255;
constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

}  // namespace

CMilocardCardListPage::~CMilocardCardListPage() = default;

LRESULT CMilocardCardListPage::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
  CreateScrollForm();
  return TRUE;
}

HWND CMilocardCardListPage::GetButton(int row) const
{
  return row >= 0 && static_cast<size_t>(row) < m_buttons.size() ? m_buttons[row]->m_hWnd : nullptr;
}

void CMilocardCardListPage::RequestCards()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  // Without a list soft key 1 offers nothing.
  if (m_pHost)
    m_pHost->SetForwardText(CStringW());
  if (!service)
    return;
  std::mutex lock;
  std::unique_ptr<McActivationResult> record;
  int status = 0;
  CFacadeAnswer answer({kCardsListed, kCardsFailed}, [&](int code, HRESULT, LPARAM value, bool first) {
    std::unique_ptr<McActivationResult> owned(code == kCardsListed ? reinterpret_cast<McActivationResult*>(value)
                                                                   : nullptr);
    if (!first)
      return;
    std::lock_guard<std::mutex> guard(lock);
    record = std::move(owned);
    status = code == kCardsListed ? 100 : static_cast<int>(value);
  });
  HWND self = m_hWnd;
  bool answered = RunBehindWaitBox(*app, *service, answer, [&] { return service->PreRequestMC2(); },
                                   u"正在获取相关信息，请稍候……");
  if (answered && ::IsWindow(self)) {
    CStringW memo = answer.Memo();
    if (status == 100 && record) {
      m_data = MilocardCardDataFrom(*record);
      ShowCards();
    } else if (status == 112) {
      app->ShowMessageBox(GetActiveWindow(), u"您需要先绑定手机才能使用本服务。", CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
      if (m_pHost)
        m_pHost->SetBindPhoneNeeded();
    } else if (status == 200) {
      app->ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_INFO, FALSE, SW_HIDE);
      if (m_pHost)
        m_pHost->SetLoginNeeded();
    } else {
      app->ShowMessageBox(GetActiveWindow(), memo, CStringW(), KV_BOX_ERROR, FALSE, SW_HIDE);
      if (m_pHost)
        m_pHost->CloseHost();
    }
  }
  if (HWND box = app->GetMessageBoxWindow())
    ::ShowWindow(box, SW_HIDE);
}

void CMilocardCardListPage::ShowCards()
{
  for (auto& button : m_buttons)
    if (button->m_hWnd)
      button->DestroyWindow();
  m_buttons.clear();
  m_listed.clear();
  for (const MilocardRow& row : m_data.rows)
    if (!row.status.IsEmpty())
      m_listed.push_back(row);
  m_listed.push_back(MilocardRow{CStringW(), u"新开通一张KorvexMilocard", CStringW(), CStringW()});

  int sx = MilocardLayoutScale();
  int sy = sx;
  for (size_t i = 0; i < m_listed.size(); ++i) {
    int offset = static_cast<int>(i) * 30 * sy;
    RECT rect{5 * sx, 10 * sy + offset, 210 * sx, 40 * sy + offset};
    auto button = std::make_unique<CFormButton>();
    int id = kFirstButtonId + static_cast<int>(i);
    if (!button->Create(m_hWnd, rect, m_listed[i].bankName, kButtonStyle, 0, id))
      continue;
    button->LoadImages(1);
    // Gaining the focus selects the row, as a tap does.
    button->SetChecked(WM_COMMAND);
    const CStringW& status = m_listed[i].status;
    button->SetTexts(m_listed[i].bankName, 0, status, status == u"已开通" ? kOpenedColour : kPendingColour);
    m_buttons.push_back(std::move(button));
  }
  Relayout();
  SelectRow(0);
  if (!m_buttons.empty())
    ::SetFocus(m_buttons.front()->m_hWnd);
  ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CMilocardCardListPage::SelectRow(size_t row)
{
  if (row >= m_listed.size())
    return;
  m_statusIndex = MilocardStatusIndex(m_listed[row].status);
  ApplyStatusTexts();
}

void CMilocardCardListPage::ApplyStatusTexts()
{
  if (!m_pHost || m_listed.empty())
    return;
  m_pHost->SetDescription(MilocardStatusTexts[m_statusIndex]);
  m_pHost->SetForwardText(MilocardActionTexts[m_statusIndex]);
}

LRESULT CMilocardCardListPage::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& bHandled)
{
  int id = LOWORD(wParam);
  for (size_t i = 0; i < m_buttons.size(); ++i) {
    if (m_buttons[i]->GetDlgCtrlID() == id) {
      SelectRow(i);
      return 0;
    }
  }
  bHandled = FALSE;
  return 0;
}

LRESULT CMilocardCardListPage::OnSize(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;  // the scroll form is laid out by the shared part
  if (!m_listed.empty())
    ApplyStatusTexts();
  return 0;
}

LRESULT CMilocardCardListPage::OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled)
{
  bHandled = FALSE;
  DeleteScrollForm();
  for (auto& button : m_buttons)
    if (button->m_hWnd)
      button->DestroyWindow();
  m_buttons.clear();
  return 0;
}
