// A facade operation that the application object runs behind the shared wait box (the
// activation request, the update check): its own listener, which keeps the answer of that one
// operation, and the run that registers it, starts the operation, shows the wait box and cancels
// the command when the user does.
#pragma once

#include <functional>
#include <initializer_list>
#include <mutex>
#include <vector>

#include "message_box_types.h"
#include "service_listener.h"
#include "text/cstring.h"
#include "windows.h"

class CKorvexPortalApp;
class CPaymentService;
class CServiceCommand;
class CThreadMessageBox;

class CFacadeAnswer : public IServiceListener {
 public:
  // Copies what the caller needs of the value; on the network worker, during the notification.
  // Called for every notification of the operation's codes (so a record it owns is freed); only
  // the first is the answer.
  using TakeValue = std::function<void(int code, HRESULT hr, LPARAM value, bool answer)>;

  // Listens for the operation's notification codes only. The event is set when the answer came:
  // the caller's (reset here), or one of the listener's own when null.
  CFacadeAnswer(std::initializer_list<int> codes, TakeValue take, HANDLE event = nullptr);
  ~CFacadeAnswer() override;
  CFacadeAnswer(const CFacadeAnswer&) = delete;
  CFacadeAnswer& operator=(const CFacadeAnswer&) = delete;

  // The operation's answer: kept, the event set, then the wait box's wait ended. Other codes
  // (the unread count's 32 and 33 among them) change nothing.
  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

  // Arms the shared box's wait: an answer that comes before the box shows is kept.
  void Arm();
  // Waits (answering sent messages) until the answer came; false when it did not within the bound.
  bool WaitForAnswer(DWORD boundMs);
  bool Answered() const;
  int Code() const;
  HRESULT Result() const;
  CStringW Memo() const;

 private:
  std::vector<int> m_codes;
  TakeValue m_take;
  HANDLE m_hEvent;
  bool m_bOwnsEvent;
  CThreadMessageBox* m_pBox = nullptr;
  mutable std::mutex m_lock;
  bool m_bAnswered = false;
  int m_code = 0;
  HRESULT m_hr = S_OK;
  CStringW m_memo;
};

// Registers the answer's listener, starts the operation and, when it gave a command, shows the
// wait box with the text (owned by the active window) until the answer comes; a cancel of the box
// cancels the command, as does an answer that does not come within the bound after the box
// ended otherwise. The listener is removed before this returns. True when the answer came. The
// box is a wait of the type given (a wait with another frame; a plain wait by default).
bool RunBehindWaitBox(CKorvexPortalApp& app, CPaymentService& service, CFacadeAnswer& answer,
                      const std::function<CServiceCommand*()>& start, const CStringW& waitText,
                      UINT waitType = KV_BOX_WAIT);
