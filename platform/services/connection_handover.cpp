// Connections waiting between the host's accept and the service's TakeServiceConnection, by
// their 32-bit numbers.
#include "services/connection_handover.h"

#include <map>
#include <mutex>

#include "base/errors.h"
#include "base/lasterror.h"
#include "services/services.h"

namespace services {
namespace {

struct Waiting {
  std::mutex mutex;
  std::map<DWORD, SOCKET> sockets;
  DWORD last = 0;
};

Waiting& WaitingConnections()
{
  static Waiting* waiting = new Waiting;
  return *waiting;
}

// Removes a waiting connection; INVALID_SOCKET when the number names none.
SOCKET Remove(DWORD connection)
{
  Waiting& waiting = WaitingConnections();
  std::lock_guard lock(waiting.mutex);
  auto found = waiting.sockets.find(connection);
  if (found == waiting.sockets.end()) {
    return INVALID_SOCKET;
  }
  SOCKET s = found->second;
  waiting.sockets.erase(found);
  return s;
}

}  // namespace

DWORD HandOverConnection(SOCKET s)
{
  Waiting& waiting = WaitingConnections();
  {
    std::lock_guard lock(waiting.mutex);
    // The numbers go round, skipping 0 and those still waiting.
    for (size_t tries = 0; tries < waiting.sockets.size() + 2; ++tries) {
      DWORD number = ++waiting.last;
      if (number != 0 && waiting.sockets.emplace(number, s).second) {
        return number;
      }
    }
  }
  closesocket(s);
  return 0;
}

void ReclaimConnection(DWORD connection)
{
  SOCKET s = Remove(connection);
  if (s != INVALID_SOCKET) {
    closesocket(s);
  }
}

}  // namespace services

UINT_PTR TakeServiceConnection(DWORD dwConnection)
{
  SOCKET s = services::Remove(dwConnection);
  if (s == INVALID_SOCKET) {
    SetLastError(ERROR_INVALID_PARAMETER);
  }
  return s;
}
