// The base of the service facade: its listener list and the delayed fan-out of results. Every
// result is passed, 500 ms after it arrived, to every listener registered then, first
// registered first.
#pragma once

#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "base/types.h"
#include "result_relay.h"
#include "service_listener.h"

class CPaymentServiceBase {
 public:
  // The pause before each fan-out, on the device clock.
  static constexpr DWORD kFanOutDelayMs = 500;

  CPaymentServiceBase() : m_part(*this) {}
  virtual ~CPaymentServiceBase() = default;
  CPaymentServiceBase(const CPaymentServiceBase&) = delete;
  CPaymentServiceBase& operator=(const CPaymentServiceBase&) = delete;

  // Appends the listener (a listener added twice is called twice); null is ignored.
  virtual void AddListener(IServiceListener* listener);
  // Removes the first equal entry. Does not return while another thread is calling this
  // listener, so the caller may destroy it afterwards.
  virtual void RemoveListener(IServiceListener* listener);

  // Waits 500 ms, then calls every listener registered at that moment and still registered
  // when its turn comes. Runs on the network worker. Returns 0.
  int FanOutResult(int code, HRESULT hr, LPARAM value, const WCHAR* memo);

  // What commands notify: its OnServiceNotify is FanOutResult. It is also a result relay, so a
  // command learns whether any listener received the record it handed over.
  IServiceListener* ListenerPart() { return &m_part; }

 private:
  class Part : public IServiceListener, public IResultRelay {
   public:
    explicit Part(CPaymentServiceBase& owner) : m_owner(owner) {}
    int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override
    {
      return m_owner.FanOutResult(code, hr, value, memo);
    }
    size_t RelayResult(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override
    {
      return m_owner.FanOut(code, hr, value, memo);
    }

   private:
    CPaymentServiceBase& m_owner;
  };

  // FanOutResult's work: the number of listeners called.
  size_t FanOut(int code, HRESULT hr, LPARAM value, const WCHAR* memo);
  bool IsBeingCalledElsewhere(IServiceListener* listener) const;

  Part m_part;
  std::mutex m_lock;
  std::condition_variable m_callEnded;
  std::vector<IServiceListener*> m_listeners;
  // Calls in progress: the listener and the thread calling it.
  std::vector<std::pair<IServiceListener*, DWORD>> m_calls;
};
