#include "payment_service_base.h"

#include <algorithm>

#include "kernel/kernel.h"

void CPaymentServiceBase::AddListener(IServiceListener* listener)
{
  if (listener == nullptr) {
    return;
  }
  std::lock_guard<std::mutex> guard(m_lock);
  m_listeners.push_back(listener);
}

void CPaymentServiceBase::RemoveListener(IServiceListener* listener)
{
  std::unique_lock<std::mutex> guard(m_lock);
  auto found = std::find(m_listeners.begin(), m_listeners.end(), listener);
  if (found != m_listeners.end()) {
    m_listeners.erase(found);
  }
  m_callEnded.wait(guard, [&] { return !IsBeingCalledElsewhere(listener); });
}

bool CPaymentServiceBase::IsBeingCalledElsewhere(IServiceListener* listener) const
{
  DWORD self = GetCurrentThreadId();
  return std::any_of(m_calls.begin(), m_calls.end(), [&](const std::pair<IServiceListener*, DWORD>& call) {
    return call.first == listener && call.second != self;
  });
}

int CPaymentServiceBase::FanOutResult(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  FanOut(code, hr, value, memo);
  return 0;
}

size_t CPaymentServiceBase::FanOut(int code, HRESULT hr, LPARAM value, const WCHAR* memo)
{
  Sleep(kFanOutDelayMs);
  std::vector<IServiceListener*> listeners;
  {
    std::lock_guard<std::mutex> guard(m_lock);
    listeners = m_listeners;
  }
  DWORD self = GetCurrentThreadId();
  size_t called = 0;
  for (IServiceListener* listener : listeners) {
    {
      std::lock_guard<std::mutex> guard(m_lock);
      if (std::find(m_listeners.begin(), m_listeners.end(), listener) == m_listeners.end()) {
        continue;  // removed meanwhile: its dialog may be gone
      }
      m_calls.emplace_back(listener, self);
    }
    listener->OnServiceNotify(code, hr, value, memo);
    ++called;
    {
      std::lock_guard<std::mutex> guard(m_lock);
      m_calls.erase(std::find(m_calls.begin(), m_calls.end(), std::make_pair(listener, self)));
    }
    m_callEnded.notify_all();
  }
  return called;
}
