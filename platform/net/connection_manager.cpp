#include "connection_manager.h"

#include "base/errors.h"
#include "kernel/handle_table.h"
#include "net/connmgr.h"

#include <algorithm>
#include <cstring>

namespace net {

bool GuidLess::operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }

bool SameGuid(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

const device::DataConnection* SettingsConnection(const GUID& destination)
{
  for (const device::DataConnection& connection : device::Settings().connections) {
    if (SameGuid(connection.destination, destination)) {
      return &connection;
    }
  }
  return nullptr;
}

ConnectionManager& ConnectionManager::Process()
{
  static ConnectionManager* manager = new ConnectionManager;
  return *manager;
}

HRESULT ConnectionManager::Establish(const GUID& destination, HANDLE* handle)
{
  auto connection = std::make_shared<Connection>();
  connection->destination = destination;
  HANDLE inserted = kernel::InsertHandle(connection);
  if (!inserted) {
    return E_OUTOFMEMORY;
  }
  std::lock_guard lock(mutex_);
  auto script = scripts_.find(destination);
  if (script != scripts_.end() && !script->second.empty()) {
    connection->script = std::move(script->second.front());
    script->second.pop_front();
  } else {
    bool reachable = SameGuid(destination, IID_DestNetInternet) || SettingsConnection(destination);
    connection->script = {static_cast<DWORD>(reachable ? CONNMGR_STATUS_CONNECTED : CONNMGR_STATUS_NOPATHTODESTINATION)};
  }
  Enter(*connection, 0);
  std::erase_if(connections_, [](const std::weak_ptr<Connection>& c) { return c.expired(); });
  connections_.push_back(connection);
  ++counters_.established;
  *handle = inserted;
  return S_OK;
}

HRESULT ConnectionManager::Status(HANDLE handle, DWORD* status)
{
  auto connection = kernel::LookupHandleAs<Connection>(handle);
  if (!connection) {
    return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
  }
  std::lock_guard lock(mutex_);
  *status = connection->script[connection->step];
  if (connection->step + 1 < connection->script.size()) {
    Enter(*connection, connection->step + 1);
  }
  return S_OK;
}

HRESULT ConnectionManager::Release(HANDLE handle)
{
  if (!kernel::LookupHandleAs<Connection>(handle) || !kernel::RemoveHandle(handle)) {
    return HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE);
  }
  std::lock_guard lock(mutex_);
  ++counters_.released;
  return S_OK;
}

std::optional<std::u16string> ConnectionManager::Proxy(HANDLE handle)
{
  auto connection = kernel::LookupHandleAs<Connection>(handle);
  if (!connection) {
    return std::nullopt;
  }
  std::lock_guard lock(mutex_);
  auto scripted = proxies_.find(connection->destination);
  if (scripted != proxies_.end()) {
    return scripted->second;
  }
  const device::DataConnection* settings = SettingsConnection(connection->destination);
  return settings ? settings->proxy : std::u16string();
}

std::vector<Link> ConnectionManager::Links()
{
  std::lock_guard lock(mutex_);
  return links_;
}

bool ConnectionManager::HangUp(uintptr_t link)
{
  std::lock_guard lock(mutex_);
  auto found = std::find_if(links_.begin(), links_.end(), [&](const Link& l) { return l.id == link; });
  if (found == links_.end()) {
    return false;
  }
  links_.erase(found);
  ++counters_.hungUp;
  for (const std::weak_ptr<Connection>& weak : connections_) {
    std::shared_ptr<Connection> connection = weak.lock();
    if (connection && connection->link == link) {
      connection->script = {CONNMGR_STATUS_DISCONNECTED};
      Enter(*connection, 0);
    }
  }
  return true;
}

void ConnectionManager::Script(const GUID& destination, std::vector<DWORD> statuses)
{
  if (statuses.empty()) {
    return;
  }
  std::lock_guard lock(mutex_);
  scripts_[destination].push_back(std::move(statuses));
}

void ConnectionManager::ScriptProxy(const GUID& destination, std::u16string proxy)
{
  std::lock_guard lock(mutex_);
  proxies_[destination] = std::move(proxy);
}

device::testing::ConnectionCounters ConnectionManager::Counters()
{
  std::lock_guard lock(mutex_);
  return counters_;
}

// Moves the connection to a step of its script: a connection that is up rides on the
// destination's data link, dialled when it is not up yet.
void ConnectionManager::Enter(Connection& connection, size_t step)
{
  connection.step = step;
  bool connected = connection.script[step] == CONNMGR_STATUS_CONNECTED;
  connection.link = connected ? LinkFor(connection.destination) : 0;
  connection.Signal();
}

uintptr_t ConnectionManager::LinkFor(const GUID& destination)
{
  const device::DataConnection* settings = SettingsConnection(destination);
  if (!settings) {
    return 0;  // the host's own network: no link of the phone's
  }
  for (const Link& link : links_) {
    if (SameGuid(link.destination, destination)) {
      return link.id;
    }
  }
  links_.push_back(Link{nextLink_++, settings->name, destination});
  ++counters_.dialled;
  return links_.back().id;
}

}  // namespace net

namespace device::testing {

void ScriptConnectionStatuses(const GUID& destination, std::vector<DWORD> statuses)
{
  net::ConnectionManager::Process().Script(destination, std::move(statuses));
}

void ScriptConnectionProxy(const GUID& destination, std::u16string proxy)
{
  net::ConnectionManager::Process().ScriptProxy(destination, std::move(proxy));
}

ConnectionCounters CountConnections() { return net::ConnectionManager::Process().Counters(); }

}  // namespace device::testing
