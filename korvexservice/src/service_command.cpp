#include "service_command.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

#include "base/lasterror.h"
#include "gateway_address.h"
#include "json/writer.h"
#include "kernel/kernel.h"
#include "net_transport.h"
#include "result_relay.h"
#include "secret_json.h"
#include "secret_wipe.h"

namespace {

// One lock for every command's pending request and for the set of live commands, so a cancel
// from the user-interface thread never meets a request or command the worker is deleting.
// Kept until the process ends: the worker may still run during exit.
struct CommandLifetimes {
  std::mutex lock;
  std::set<CServiceCommand*> live;
  // Notifications in progress: the listener and the thread calling it.
  std::vector<std::pair<IServiceListener*, DWORD>> calls;
  std::condition_variable callEnded;
};

CommandLifetimes& Lifetimes()
{
  static CommandLifetimes* lifetimes = new CommandLifetimes;
  return *lifetimes;
}

}  // namespace

CServiceCommand::CServiceCommand(const Json::Value& params, IServiceListener* listener)
    : m_params(params), m_listener(listener)
{
  CommandLifetimes& lifetimes = Lifetimes();
  std::lock_guard<std::mutex> guard(lifetimes.lock);
  lifetimes.live.insert(this);
}

CServiceCommand::~CServiceCommand()
{
  // A request may carry a password in plain text (a charge card's, say).
  WipeJsonTexts(m_params);
  CommandLifetimes& lifetimes = Lifetimes();
  std::lock_guard<std::mutex> guard(lifetimes.lock);
  lifetimes.live.erase(this);
}

BOOL CServiceCommand::Execute()
{
  if (m_params.isNull() || m_listener == nullptr) {
    SetLastError(static_cast<DWORD>(E_INVALIDARG));
    return FALSE;
  }
  return Send(m_params);
}

BOOL CServiceCommand::Send(const Json::Value& params)
{
  std::unique_ptr<UrlAndBody> pair(new (std::nothrow) UrlAndBody);
  if (!pair) {
    SetLastError(static_cast<DWORD>(E_OUTOFMEMORY));
    return FALSE;
  }
  pair->url = GetGatewayUrl(kGatewayRequestPath);
  Json::FastWriter writer;
  std::u16string text = writer.write(params);
  pair->body = text.c_str();
  WipeSecret(text.data(), text.size() * sizeof(WCHAR));
  return SendPair(std::move(pair));
}

BOOL CServiceCommand::SendPair(std::unique_ptr<UrlAndBody> pair)
{
  // Held while posting, so the worker cannot report the request done before it is recorded.
  std::lock_guard<std::mutex> guard(Lifetimes().lock);
  CNetRequest* request = GetTransport()->Send(std::move(pair), this);
  if (request == nullptr) {
    return FALSE;
  }
  m_request = request;
  return TRUE;
}

void CServiceCommand::Release()
{
  std::lock_guard<std::mutex> guard(Lifetimes().lock);
  CancelLocked();
}

void CServiceCommand::CancelLocked()
{
  if (m_request != nullptr) {
    GetTransport()->Release(m_request);
  }
}

void CServiceCommand::OnResponse(const WCHAR*) {}

void CServiceCommand::OnError(HRESULT hr, const WCHAR* text)
{
  Notify(static_cast<int>(E_UNEXPECTED), hr, 0, text);
}

void CServiceCommand::OnRequestDone(CNetRequest* request)
{
  bool finished = false;
  {
    std::lock_guard<std::mutex> guard(Lifetimes().lock);
    if (m_request == request) {
      m_request = nullptr;
      finished = true;
    }
  }
  // A sink that sent a further request stays until that one is done.
  if (finished) {
    delete this;
  }
}

void CServiceCommand::Notify(int code, HRESULT hr, ResultValue value, const WCHAR* memo)
{
  CommandLifetimes& lifetimes = Lifetimes();
  std::pair<IServiceListener*, DWORD> call(nullptr, GetCurrentThreadId());
  {
    // Recorded under the lock, so a detach either comes first or waits for the call to end.
    std::lock_guard<std::mutex> guard(lifetimes.lock);
    call.first = m_listener.load();
    if (call.first == nullptr) {
      return;
    }
    lifetimes.calls.push_back(call);
  }
  bool received = true;
  if (auto* relay = dynamic_cast<IResultRelay*>(call.first)) {
    received = relay->RelayResult(code, hr, value.Get(), memo) != 0;
  } else {
    call.first->OnServiceNotify(code, hr, value.Get(), memo);
  }
  if (received) {
    value.HandOver();
  }
  {
    std::lock_guard<std::mutex> guard(lifetimes.lock);
    lifetimes.calls.erase(std::find(lifetimes.calls.begin(), lifetimes.calls.end(), call));
  }
  lifetimes.callEnded.notify_all();
}

void CancelServiceCommand(CServiceCommand* command)
{
  if (command == nullptr) {
    return;
  }
  CommandLifetimes& lifetimes = Lifetimes();
  std::lock_guard<std::mutex> guard(lifetimes.lock);
  if (lifetimes.live.count(command) != 0) {
    command->CancelLocked();
  }
}

void DetachServiceCommands(IServiceListener* listener)
{
  if (listener == nullptr) {
    return;
  }
  CommandLifetimes& lifetimes = Lifetimes();
  std::unique_lock<std::mutex> guard(lifetimes.lock);
  for (CServiceCommand* command : lifetimes.live) {
    if (command->m_listener.load() == listener) {
      command->m_listener = nullptr;
      command->CancelLocked();
    }
  }
  // A call on this very thread (the listener destroyed from its own callback) is not waited for.
  DWORD self = GetCurrentThreadId();
  auto callsElsewhere = [&](const std::pair<IServiceListener*, DWORD>& call) {
    return call.first == listener && call.second != self;
  };
  lifetimes.callEnded.wait(guard, [&] {
    return std::none_of(lifetimes.calls.begin(), lifetimes.calls.end(), callsElsewhere);
  });
}
