// The network transport of the command layer: requests are queued as thread messages for one
// network worker thread, which makes sure a data connection exists, posts each request on its
// own HTTP session, and hands the reply or the failure to the request's reply sink, one
// request after another in the order posted.
#pragma once

#include <memory>

#include "base/types.h"
#include "reply_sink.h"
#include "text/cstring.h"

// One request: where it goes and what it sends. It belongs to the request once posted.
struct UrlAndBody {
  // The body may carry a secret: it is wiped with the pair.
  ~UrlAndBody();

  CStringW url;
  CStringW body;
};

// One queued request; the worker deletes it once its sink has been called (or it was dropped).
class CNetRequest {
 public:
  explicit CNetRequest(IReplySink* sink) : m_sink(sink) {}
  virtual ~CNetRequest();
  CNetRequest(const CNetRequest&) = delete;
  CNetRequest& operator=(const CNetRequest&) = delete;

  // Starts the worker when needed, makes the cancel event and queues the request with its
  // pair. FALSE when the worker could not be started or reached, or no event could be made;
  // the pair is then freed and the request is not queued.
  virtual BOOL Post(std::unique_ptr<UrlAndBody> pair);
  // Signals the cancel event: the worker drops the reply, or stops waiting for it.
  virtual void Cancel();

  HANDLE CancelEvent() const { return m_cancelEvent; }
  IReplySink* Sink() const { return m_sink; }

 private:
  HANDLE m_cancelEvent = nullptr;  // manual-reset; null until posted
  IReplySink* m_sink;
};

class CNetTransport {
 public:
  virtual ~CNetTransport() = default;
  // Queues the pair for sink. The request, or null with the thread's last error
  // (E_OUTOFMEMORY, or the failure of Post) when nothing was queued; the pair is freed then.
  virtual CNetRequest* Send(std::unique_ptr<UrlAndBody> pair, IReplySink* sink);
  // Cancels the request.
  virtual void Release(CNetRequest* request);
};

// The process-wide transport, created on first use.
CNetTransport* GetTransport();

// The network worker: takes posted requests from its message queue until WM_QUIT.
DWORD WINAPI NetWorkerThreadProc(LPVOID parameter);

// The text the user sees when no data connection could be made or the reply was empty.
inline constexpr const WCHAR* kServerConnectionErrorText = u"连接服务器出错";
