// The application object's own facade requests behind the shared wait box.
#include "facade_answer.h"

#include <algorithm>

#include "app_services.h"
#include "log_writer.h"
#include "message_box_types.h"
#include "payment_service.h"
#include "thread_message_box.h"

namespace {

// How long an answer may still take once the wait box ended without one (its window went).
constexpr DWORD kLateAnswerBoundMs = 30000;

}  // namespace

CFacadeAnswer::CFacadeAnswer(std::initializer_list<int> codes, TakeValue take, HANDLE event)
    : m_codes(codes), m_take(std::move(take)), m_hEvent(event), m_bOwnsEvent(event == nullptr)
{
  if (m_bOwnsEvent)
    m_hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  else
    ResetEvent(m_hEvent);
}

CFacadeAnswer::~CFacadeAnswer()
{
  if (m_bOwnsEvent && m_hEvent)
    CloseHandle(m_hEvent);
}

void CFacadeAnswer::Arm()
{
  m_pBox = &CThreadMessageBox::Instance();
  m_pBox->ArmWait();
}

int CFacadeAnswer::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  if (std::find(m_codes.begin(), m_codes.end(), code) == m_codes.end())
    return 0;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_take)
      m_take(code, hr, value, !m_bAnswered);
    if (m_bAnswered)
      return 0;
    m_code = code;
    m_hr = hr;
    m_memo = memo ? memo : u"";
    m_bAnswered = true;
  }
  SetEvent(m_hEvent);
  if (m_pBox)
    m_pBox->EndWait();
  return 0;
}

bool CFacadeAnswer::WaitForAnswer(DWORD boundMs)
{
  return m_hEvent && MsgWaitForMultipleObjects(1, &m_hEvent, FALSE, boundMs, 0) == WAIT_OBJECT_0;
}

bool CFacadeAnswer::Answered() const
{
  std::lock_guard<std::mutex> guard(m_lock);
  return m_bAnswered;
}

int CFacadeAnswer::Code() const
{
  std::lock_guard<std::mutex> guard(m_lock);
  return m_code;
}

HRESULT CFacadeAnswer::Result() const
{
  std::lock_guard<std::mutex> guard(m_lock);
  return m_hr;
}

CStringW CFacadeAnswer::Memo() const
{
  std::lock_guard<std::mutex> guard(m_lock);
  return m_memo;
}

bool RunBehindWaitBox(CKorvexPortalApp& app, CPaymentService& service, CFacadeAnswer& answer,
                      const std::function<CServiceCommand*()>& start, const CStringW& waitText, UINT waitType)
{
  answer.Arm();
  service.AddListener(&answer);
  CServiceCommand* command = start();
  bool answered = false;
  if (command) {
    int key = app.ShowMessageBox(GetActiveWindow(), waitText, CStringW(), (waitType & ~0xFu) | KV_BOX_WAIT, TRUE,
                                 SW_HIDE);
    if (key == KV_BOX_ANSWER_CANCEL) {
      service.Cancel(command);
    } else {
      answered = answer.WaitForAnswer(kLateAnswerBoundMs);
      if (!answered) {
        WRITE_LOG_ENTRY(u"no answer");
        service.Cancel(command);
      }
    }
  } else {
    WRITE_LOG_ENTRY(u"not started");
  }
  service.RemoveListener(&answer);
  return answered;
}
