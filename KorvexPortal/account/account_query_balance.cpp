// The account query page's balance: "queryBalance" behind the wait box, and its four rows.
#include "account_query_page.h"
#include "accountquery_ids.h"
#include "app_services.h"
#include "facade_request.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "resource_values.h"
#include "service_errors.h"
#include "service_results.h"
#include "thread_message_box.h"

namespace {

constexpr int kStatusSuccess = 100;
constexpr int kStatusSessionEnded = 200;
constexpr int kBalanceSuccess = 12;
constexpr int kBalanceFailure = 13;

CListCell* TextCell(const CStringW& text)
{
  auto* cell = new CListCell;
  cell->m_strText = text;
  return cell;
}

CListRow* LabelRow(const WCHAR* label, const CStringW& value)
{
  auto* row = new CListRow;
  row->AddCell(TextCell(u""));
  row->AddCell(TextCell(label));
  row->AddCell(TextCell(u"："));
  row->AddCell(TextCell(value));
  return row;
}

}  // namespace

int CAccountQueryPage::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  // Other operations' codes (the unread count's 32 and 33 among them) change nothing.
  if (code != kBalanceSuccess && code != kBalanceFailure)
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_strMemo = memo ? memo : u"";
    m_nCode = code;
    if (code == kBalanceSuccess) {
      m_pBalance.reset(reinterpret_cast<BalanceResult*>(value));
      m_nStatus = kStatusSuccess;
    } else {
      // A refusal carries the reply's status; a transport or parse failure has none.
      m_nStatus = hr == E_SERVICE_BUSINESS ? static_cast<int>(value) : 0;
    }
  }
  CThreadMessageBox::Instance().EndWait();
  return 0;
}

void CAccountQueryPage::QueryBalance()
{
  CKorvexPortalApp* app = GetKorvexPortalApp();
  CPaymentService* service = app ? app->GetPaymentService() : nullptr;
  if (!IsWindow() || !service)
    return;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    m_nCode = m_nStatus = 0;
    m_strMemo.Empty();
    m_pBalance.reset();
  }
  CThreadMessageBox::Instance().ArmWait();
  service->AddListener(this);
  CServiceCommand* command = service->QueryBalance();
  int answer = KV_BOX_NO_ANSWER;
  if (command) {
    answer = app->ShowMessageBox(m_hWnd, LoadResourceString(IDS_ACCOUNTQUERY_WAIT), CStringW(), KV_BOX_WAIT, FALSE,
                                 SW_HIDE);
    if (answer == KV_BOX_ANSWER_CANCEL)
      service->Cancel(command);
  }
  service->RemoveListener(this);
  if (command && answer != KV_BOX_ANSWER_CANCEL && IsWindow())
    PostMessage(WM_KV_BALANCE_READY);
}

LRESULT CAccountQueryPage::OnBalanceReady(UINT, WPARAM, LPARAM, BOOL&)
{
  int status;
  CStringW memo;
  std::unique_ptr<BalanceResult> balance;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    status = m_nStatus;
    memo = m_strMemo;
    balance = std::move(m_pBalance);
  }
  HandleCommonStatus(status, memo);
  if (status == kStatusSuccess && balance) {
    CKorvexPortalApp* app = GetKorvexPortalApp();
    m_balanceRows.Clear();
    m_balanceRows.AddRow(LabelRow(u"用 户 名", app ? app->GetUserName() : CStringW()));
    m_balanceRows.AddRow(LabelRow(u"你的账户", app ? app->GetLogonId() : CStringW()));
    m_balanceRows.AddRow(LabelRow(u"当前余额", balance->currentBalance.c_str()));
    m_balanceRows.AddRow(LabelRow(u"可用余额", balance->availableBalance.c_str()));
    m_tabs.GetList(CAccountTabCtrl::kBalancePage).Rebuild();
  } else if (status == kStatusSessionEnded) {
    PostMessage(WM_CLOSE, 1);
  } else if (status != kStatusSuccess) {
    // A failure is never silent: the memo, or the network text when there is none.
    if (CKorvexPortalApp* app = GetKorvexPortalApp())
      app->ShowMessageBox(m_hWnd, FailureText(memo), CStringW(), KV_BOX_INFO,
                          FALSE, SW_HIDE);
  }
  return 0;
}
