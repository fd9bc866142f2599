// The base of every gateway operation's command: it holds the request parameters and the
// listener, sends the request through the network transport, and receives the reply on the
// transport's worker thread. An operation's class overrides OnResponse (its reply parser) and
// OnError, and may override Execute.
//
// Lifetime: the service client owns a command once it has been executed. It is deleted on the
// worker right after its last request is done (the reply parser has notified, or the request
// was dropped after a cancel), unless the reply sink sent a further request. A command whose
// Execute failed was never sent and belongs to whoever created it.
#pragma once

#include <atomic>
#include <memory>

#include "base/types.h"
#include "json/value.h"
#include "reply_sink.h"
#include "result_value.h"
#include "service_listener.h"
#include "text/cstring.h"

struct UrlAndBody;

class CServiceCommand : public IReplySink {
 public:
  CServiceCommand(const Json::Value& params, IServiceListener* listener);
  ~CServiceCommand() override;
  CServiceCommand(const CServiceCommand&) = delete;
  CServiceCommand& operator=(const CServiceCommand&) = delete;

  // Sends the request. TRUE when it is on its way, so a notification will follow (or a cancel
  // drops it); FALSE with the thread's last error when nothing was sent: E_INVALIDARG without
  // parameters or listener, E_OUTOFMEMORY, or the worker could not be reached.
  virtual BOOL Execute();

  // Cancels the pending request: its reply is dropped and nobody is notified. Nothing when no
  // request is pending. Callers holding a command returned by the facade cancel it through
  // CancelServiceCommand, which is safe also after the command is gone.
  virtual void Release();

  // The reply sink. The base parser does nothing; the base failure notifies the listener with
  // the code E_UNEXPECTED, hr, 0 and the text.
  void OnResponse(const WCHAR* reply) override;
  void OnError(HRESULT hr, const WCHAR* text) override;
  void OnRequestDone(CNetRequest* request) final;

 protected:
  // Sends params as compact JSON to the gateway's request URL, with this command receiving the
  // reply. TRUE when sent; FALSE with the last error otherwise.
  BOOL Send(const Json::Value& params);
  // Sends the body to the URL, with this command receiving the reply.
  BOOL SendPair(std::unique_ptr<UrlAndBody> pair);

  // Notifies the listener. A record in the value goes to the listener that receives it; when
  // nobody does (the listener was detached, or the facade has no listener left to call), it is
  // deleted here.
  void Notify(int code, HRESULT hr, ResultValue value, const WCHAR* memo);

  Json::Value& Params() { return m_params; }
  // Null once the listener was detached (DetachServiceCommands).
  IServiceListener* Listener() const { return m_listener.load(); }

 private:
  friend void CancelServiceCommand(CServiceCommand* command);
  friend void DetachServiceCommands(IServiceListener* listener);
  void CancelLocked();

  Json::Value m_params;
  // Written only under the commands' lifetime lock.
  std::atomic<IServiceListener*> m_listener;
  // The pending request; null when none. Guarded by the commands' lifetime lock.
  CNetRequest* m_request = nullptr;
};

// Cancels the command when it still exists and has a pending request; nothing otherwise (it
// finished and was deleted, or was never sent).
void CancelServiceCommand(CServiceCommand* command);

// For a listener about to be destroyed: cancels every live command that notifies it, detaches
// it from them, and waits until no other thread is calling it. No command calls it afterwards.
void DetachServiceCommands(IServiceListener* listener);
