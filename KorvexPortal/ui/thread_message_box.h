// The shared message box: one CSkinMessageBox on a user-interface thread of its own, made on
// first use and shared by every caller. It is the program's question and notice box and its wait
// box: a caller blocks on the box's event until an answer, the box's own time-out, the reply of
// the HTTP request it waits for, or a service listener ends the wait.
//
// A wait, as every caller runs it:
//   1. ArmWait: the result and the event are reset. Done before the operation starts, so an
//      answer that comes before the box shows is kept. ShowSkinMessageBox arms by itself when
//      nobody armed; an arming holds for the next box set up (Setup or StartRequest), so a box
//      shown later without one never finds an event left set by an earlier box.
//   2. The operation starts, the box is set up and shown: StartRequest for a request through the
//      HTTP client (it queues the request and shows the wait box), Setup or ShowSkinMessageBox
//      for a question, a notice or the wait for a service command.
//   3. Wait: blocks (answering messages sent to the caller's thread) until the event is set,
//      without resetting it; returns the result.
//   4. EndRequest after a request: its fields are cleared, so a later cancel of the box sets no
//      event the HTTP client has closed and tells no window that is not waiting.
// Send-and-wait is: ArmWait, StartRequest, Wait, EndRequest. A facade request is: ArmWait, the
// facade call, ShowSkinMessageBox (type 6) when a command came back, cancel on 1002.
//
// Results: the answer (1001 to 1007); -1 when the box ended without one (its two-second close,
// the request's reply, its window closing); a listener's EndWait leaves it as armed (0).
//
// The event is the process's own: another copy of the program (an order-pay run beside the
// client) has a box and an event of its own.
#pragma once

#include <atomic>
#include <functional>

#include "box_reply_receivers.h"
#include "skin_message_box.h"

// The message the HTTP client posts to the box with a reply (wParam the HttpResult, lParam the
// HttpReplySlot).
#define WM_KV_HTTP_REPLY 0x615

class CThreadMessageBox : public CSkinMessageBox {
 public:
  // The shared box. The first call starts its thread and waits (bounded) until the box's window
  // is made and hidden; when it cannot be made (no template 207) the box has no window, and every
  // wait on it returns -1 at once.
  static CThreadMessageBox& Instance();
  // The shared box's window; null before the first Instance and once the window is gone.
  static HWND SharedWindow();
  // Closes the box's window, ends its thread and frees the box. The program's end and each test
  // that used the box call it, before the device goes. A caller still waiting on the box goes on
  // with no answer; the box is then kept, without a window, for the calls that caller still makes.
  static void DestroyInstance();

  // Where the box queues its requests: the process's HTTP client, unless a test gives another.
  // Returns the request's cancel event (which the queue closes when the request is done), or null.
  using RequestQueue =
      std::function<HANDLE(HWND target, UINT message, const CStringW& url, const CStringW& body, int timeout)>;
  static void SetRequestQueue(RequestQueue queue);

  // Resets the result and the event for the next wait (any thread).
  void ArmWait();
  bool IsArmed() const { return m_bArmed; }

  // Sets the box up as a question, a notice or a wait without a request (any thread). A request
  // the box still held is given up: its reply, should it come, is dropped. The cancel owner is
  // the window told with WM_KV_WAIT_CANCELLED when the user cancels this box (a screen that shows
  // the wait box without waiting on it); none by default.
  void Setup(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress) override;
  void Setup(LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress, HWND cancelOwner);

  // Queues the request for the box and shows the wait text with the type and the progress strip.
  // Its reply goes on to the owner as the reply message (wParam the HttpResult, lParam the slot,
  // which the owner frees) and ends the wait with -1; cancelling the box (1002) sets the
  // request's cancel event, tells the owner with WM_KV_WAIT_CANCELLED and ends the wait. FALSE
  // (nothing shown) when the box has no window or the request could not be queued.
  BOOL StartRequest(HWND owner, UINT replyMessage, const CStringW& url, const CStringW& body, int timeoutMs,
                    const CStringW& waitText, UINT type);

  // Waits until the event is set and returns the result; -1 at once when the box has no window.
  // The box's timers stop with the wait; the box stays as it is (shown or hidden). Never called
  // on the box's own thread, which ends the waits.
  int Wait();
  // Clears the request's fields after its wait.
  void EndRequest();
  // Ends the wait without an answer: what a service listener does on its worker thread.
  void EndWait();

  int GetResult() const { return m_result; }

  BEGIN_MSG_MAP(CThreadMessageBox)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_KV_BOX_READY, OnReady)
    MESSAGE_HANDLER(WM_KV_HTTP_REPLY, OnStrayReply)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    COMMAND_RANGE_HANDLER(kFirstAnswer, kLastAnswer, OnButton)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    CHAIN_MSG_MAP(CSkinMessageBox)
  END_MSG_MAP()

 private:
  // Posted by the box to itself once it is made: it hides and tells Instance.
  static constexpr UINT WM_KV_BOX_READY = WM_APP + 0x1F1;

  // The request the box waits for; the box's thread alone reads and writes it.
  struct Request {
    HWND owner = nullptr;
    UINT replyMessage = 0;
    CStringW url;
    CStringW body;
    int timeoutMs = -1;
    HANDLE cancelEvent = nullptr;
    HWND receiver = nullptr;  // where its reply comes; null once answered, cancelled or given up
  };

  CThreadMessageBox();
  ~CThreadMessageBox() override;

  // Starts the thread and waits until the box is ready or could not be made.
  void Start();
  // Closes the box and waits for its thread; false when the thread did not end.
  bool Stop();
  static DWORD WINAPI ThreadProc(LPVOID box);

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL& bHandled);
  LRESULT OnReady(UINT, WPARAM, LPARAM, BOOL&);
  LRESULT OnStrayReply(UINT, WPARAM, LPARAM lParam, BOOL&);
  LRESULT OnTimer(UINT, WPARAM wParam, LPARAM, BOOL& bHandled);
  LRESULT OnButton(WORD, WORD id, HWND, BOOL&);
  LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL& bHandled);

  // On the box's thread: a reply to one of its receivers.
  void OnReply(HWND receiver, WPARAM result, HttpReplySlot* slot);
  // Forgets the request: a later reply to it is stale, a later cancel touches nothing of it.
  void RetireRequest() { m_request = Request{}; }
  // Ends the wait with the result, unless something ended it already.
  void EndWaitWith(int result);

  HANDLE m_hEvent = nullptr;
  HANDLE m_hReady = nullptr;
  HANDLE m_hThread = nullptr;
  std::atomic<int> m_result{0};
  std::atomic<bool> m_bArmed{false};
  // Callers in Wait, and those whose wait the window's end cut short.
  std::atomic<int> m_waiters{0};
  Request m_request;
  CBoxReplyReceivers m_receivers;
};

// Shows the shared box with the text and type and waits for it (see above); afterwards the box is
// shown or hidden by the show command. Returns the result, -1 at once when the box has no window.
// The owner is not told of a cancel: a screen that needs that sets the box up with a cancel owner.
int ShowSkinMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, BOOL progress, int afterShow = SW_HIDE);
