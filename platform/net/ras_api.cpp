// RAS: the data links that are up.
#include "base/errors.h"
#include "connection_manager.h"
#include "net/ras.h"

#include <algorithm>

DWORD RasEnumConnections(LPRASCONN lprasconn, LPDWORD lpcb, LPDWORD lpcConnections)
{
  if (!lprasconn || !lpcb || !lpcConnections) {
    return ERROR_INVALID_PARAMETER;
  }
  if (lprasconn->dwSize != sizeof(RASCONN)) {
    return ERROR_INVALID_SIZE;
  }
  std::vector<net::Link> links = net::ConnectionManager::Process().Links();
  DWORD needed = static_cast<DWORD>(links.size() * sizeof(RASCONN));
  if (*lpcb < needed) {
    *lpcb = needed;
    *lpcConnections = 0;
    return ERROR_BUFFER_TOO_SMALL;
  }
  for (size_t i = 0; i < links.size(); ++i) {
    RASCONN& record = lprasconn[i];
    record = RASCONN{};
    record.dwSize = sizeof(RASCONN);
    record.hrasconn = reinterpret_cast<HRASCONN>(links[i].id);
    size_t length = std::min<size_t>(links[i].name.size(), RAS_MaxEntryName);
    links[i].name.copy(record.szEntryName, length);
  }
  *lpcb = needed;
  *lpcConnections = static_cast<DWORD>(links.size());
  return ERROR_SUCCESS;
}

DWORD RasHangUp(HRASCONN hrasconn)
{
  bool hungUp = net::ConnectionManager::Process().HangUp(reinterpret_cast<uintptr_t>(hrasconn));
  return hungUp ? ERROR_SUCCESS : static_cast<DWORD>(ERROR_INVALID_HANDLE);
}
