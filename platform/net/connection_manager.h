// The phone's data connections: Connection Manager connections, the data links they ride on
// (what RAS sees), and the scripts and counters of tests. One per process; thread-safe.
#pragma once

#include "kernel/device_settings.h"
#include "kernel/object.h"
#include "testing/connections.h"

#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace net {

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const;
};
bool SameGuid(const GUID& a, const GUID& b);

// The object behind a connection handle: signalled when its status changes, until a wait
// takes the signal.
class Connection final : public kernel::LocalWaitable {
 public:
  bool ClosedByCloseHandle() const override { return false; }
  bool IsSignalled() const override { return signalled_.load(); }
  bool TryAcquire() override { return signalled_.exchange(false); }
  void Undo() override { Signal(); }
  void Signal()
  {
    signalled_.store(true);
    NotifyWaiters();
  }

  // Guarded by the manager's lock.
  GUID destination{};
  std::vector<DWORD> script;  // the statuses it goes through
  size_t step = 0;            // the one it is at
  uintptr_t link = 0;         // the data link it rides on while connected; 0 for none

 private:
  std::atomic<bool> signalled_{false};
};

// A data link that is up: one per destination of a [connection] in the settings.
struct Link {
  uintptr_t id;
  std::u16string name;
  GUID destination;
};

class ConnectionManager {
 public:
  static ConnectionManager& Process();

  HRESULT Establish(const GUID& destination, HANDLE* handle);
  HRESULT Status(HANDLE handle, DWORD* status);
  HRESULT Release(HANDLE handle);
  // The proxy the connection reports ("" for none); nullopt for a bad handle.
  std::optional<std::u16string> Proxy(HANDLE handle);

  std::vector<Link> Links();
  bool HangUp(uintptr_t link);

  void Script(const GUID& destination, std::vector<DWORD> statuses);
  void ScriptProxy(const GUID& destination, std::u16string proxy);
  device::testing::ConnectionCounters Counters();

 private:
  // Under the lock.
  void Enter(Connection& connection, size_t step);
  uintptr_t LinkFor(const GUID& destination);

  std::mutex mutex_;
  std::map<GUID, std::deque<std::vector<DWORD>>, GuidLess> scripts_;
  std::map<GUID, std::u16string, GuidLess> proxies_;
  std::vector<Link> links_;
  std::vector<std::weak_ptr<Connection>> connections_;
  uintptr_t nextLink_ = 1;
  device::testing::ConnectionCounters counters_;
};

// The settings' [connection] for a destination, or null.
const device::DataConnection* SettingsConnection(const GUID& destination);

}  // namespace net
