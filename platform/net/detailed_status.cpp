// ConnMgrQueryDetailedStatus: one record per [connection] of the settings, each a GPRS entry
// of the phone, connected while its data link is up.
#include "base/errors.h"
#include "connection_manager.h"
#include "net/connmgr.h"

#include <cstring>

namespace {

size_t TextBytes(const std::u16string& text) { return (text.size() + 1) * sizeof(WCHAR); }

}  // namespace

HRESULT ConnMgrQueryDetailedStatus(CONNMGR_CONNECTION_DETAILED_STATUS* pStatusBuffer, DWORD* pcbBufferSize)
{
  if (!pcbBufferSize) {
    return E_POINTER;
  }
  const std::vector<device::DataConnection>& connections = device::Settings().connections;
  size_t needed = connections.size() * sizeof(CONNMGR_CONNECTION_DETAILED_STATUS);
  for (const device::DataConnection& connection : connections) {
    needed += TextBytes(connection.name);
  }
  if (!pStatusBuffer || *pcbBufferSize < needed) {
    *pcbBufferSize = static_cast<DWORD>(needed);
    return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  }
  std::vector<net::Link> links = net::ConnectionManager::Process().Links();
  std::memset(pStatusBuffer, 0, needed);
  CONNMGR_CONNECTION_DETAILED_STATUS* records = pStatusBuffer;
  auto* text = reinterpret_cast<WCHAR*>(records + connections.size());
  for (size_t i = 0; i < connections.size(); ++i) {
    const device::DataConnection& connection = connections[i];
    CONNMGR_CONNECTION_DETAILED_STATUS& record = records[i];
    record.pNext = i + 1 < connections.size() ? &records[i + 1] : nullptr;
    record.dwVer = CONNMGRDETAILEDSTATUS_VERSION;
    record.dwParams = CONNMGRDETAILEDSTATUS_PARAM_TYPE | CONNMGRDETAILEDSTATUS_PARAM_SUBTYPE |
                      CONNMGRDETAILEDSTATUS_PARAM_DESTNET | CONNMGRDETAILEDSTATUS_PARAM_DESCRIPTION |
                      CONNMGRDETAILEDSTATUS_PARAM_CONNSTATUS;
    record.dwType = CM_CONNTYPE_CELLULAR;
    record.dwSubtype = CM_CONNSUBTYPE_CELLULAR_GPRS;
    record.guidDestNet = connection.destination;
    record.szDescription = text;
    connection.name.copy(text, connection.name.size());
    text += connection.name.size() + 1;
    bool up = false;
    for (const net::Link& link : links) {
      up = up || net::SameGuid(link.destination, connection.destination);
    }
    record.dwConnectionStatus = up ? CONNMGR_STATUS_CONNECTED : CONNMGR_STATUS_DISCONNECTED;
  }
  *pcbBufferSize = static_cast<DWORD>(needed);
  return S_OK;
}
