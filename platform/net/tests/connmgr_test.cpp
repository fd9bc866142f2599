// Connection Manager connections and RAS links from the device settings and test scripts,
// used the way the service client's connection routine uses them.
#include "testing/device_settings.h"

#include "kernel/kernel.h"
#include "net/net.h"
#include "testing/connections.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

using device::testing::DeviceWithSettings;
using device::testing::kPhoneConnections;
using device::testing::kWapDestination;

constexpr DWORD kGenerousWait = 30000;

CONNMGR_CONNECTIONINFO Info(const GUID* destination)
{
  CONNMGR_CONNECTIONINFO info{};
  info.cbSize = sizeof info;
  info.dwParams = destination ? CONNMGR_PARAM_GUIDDESTNET : 0;
  info.dwFlags = CONNMGR_FLAG_PROXY_HTTP | CONNMGR_FLAG_PROXY_WAP;
  info.dwPriority = CONNMGR_PRIORITY_USERINTERACTIVE;
  if (destination) {
    info.guidDestNet = *destination;
  }
  return info;
}

// Waits on the handle (and the cancel event) and reads statuses until one that does not ask
// to wait again: the status, or 0 when the cancel event ended the wait.
DWORD WaitForConnection(HANDLE connection, HANDLE cancel, std::vector<DWORD>* seen = nullptr)
{
  for (;;) {
    HANDLE handles[] = {connection, cancel};
    DWORD woken = WaitForMultipleObjects(cancel ? 2 : 1, handles, FALSE, kGenerousWait);
    if (woken != WAIT_OBJECT_0) {
      return 0;
    }
    DWORD status = 0;
    EXPECT_EQ(ConnMgrConnectionStatus(connection, &status), S_OK);
    if (seen) {
      seen->push_back(status);
    }
    if (status != CONNMGR_STATUS_WAITINGCONNECTION && status != CONNMGR_STATUS_WAITINGDISCONNECTION &&
        status != CONNMGR_STATUS_WAITINGCONNECTIONABORT) {
      return status;
    }
  }
}

std::u16string ReportedProxy(HANDLE connection, HRESULT* result = nullptr)
{
  PROXY_CONFIG config{};
  config.dwType = CONNMGR_FLAG_PROXY_HTTP;
  HRESULT hr = ConnMgrProviderMessage(connection, &IID_ConnPrv_IProxyExtension, nullptr, 0, 0,
                                      reinterpret_cast<PBYTE>(&config), sizeof config);
  if (result) {
    *result = hr;
  }
  return config.szProxyServer;
}

std::vector<std::u16string> RasNames()
{
  RASCONN links[20];
  links[0].dwSize = sizeof(RASCONN);
  DWORD size = sizeof links, count = 0;
  EXPECT_EQ(RasEnumConnections(links, &size, &count), 0u);
  std::vector<std::u16string> names;
  for (DWORD i = 0; i < count; ++i) {
    names.emplace_back(links[i].szEntryName);
  }
  return names;
}

TEST(ConnectionManager, StatusSequencesEndTheWaitAsScripted)
{
  DeviceWithSettings device(kPhoneConnections);
  struct Case {
    std::vector<DWORD> script;
    DWORD final;
    size_t reads;
  } cases[] = {
      {{}, CONNMGR_STATUS_CONNECTED, 1},
      {{CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_WAITINGDISCONNECTION, CONNMGR_STATUS_WAITINGCONNECTIONABORT,
        CONNMGR_STATUS_CONNECTED},
       CONNMGR_STATUS_CONNECTED, 4},
      {{CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_WAITINGFORNETWORK}, CONNMGR_STATUS_WAITINGFORNETWORK, 2},
      {{CONNMGR_STATUS_WAITINGFORPATH, CONNMGR_STATUS_CONNECTED}, CONNMGR_STATUS_WAITINGFORPATH, 1},
      {{CONNMGR_STATUS_CONNECTIONFAILED}, CONNMGR_STATUS_CONNECTIONFAILED, 1},
  };
  for (const Case& c : cases) {
    device::testing::ScriptConnectionStatuses(IID_DestNetInternet, c.script);
    CONNMGR_CONNECTIONINFO info = Info(nullptr);
    HANDLE connection = nullptr;
    ASSERT_EQ(ConnMgrEstablishConnection(&info, &connection), S_OK);
    std::vector<DWORD> seen;
    EXPECT_EQ(WaitForConnection(connection, nullptr, &seen), c.final);
    EXPECT_EQ(seen.size(), c.reads);
    EXPECT_EQ(ConnMgrReleaseConnection(connection, 0), S_OK);
  }
  device::testing::ConnectionCounters counters = device::testing::CountConnections();
  EXPECT_EQ(counters.established, 5u);
  EXPECT_EQ(counters.released, 5u);
}

TEST(ConnectionManager, ACancelEventEndsAWaitThatNeverConnects)
{
  DeviceWithSettings device(kPhoneConnections);
  device::testing::ScriptConnectionStatuses(kWapDestination, {CONNMGR_STATUS_WAITINGCONNECTION});
  CONNMGR_CONNECTIONINFO info = Info(&kWapDestination);
  HANDLE connection = nullptr;
  ASSERT_EQ(ConnMgrEstablishConnection(&info, &connection), S_OK);
  HANDLE cancel = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  DWORD status = 0;
  EXPECT_EQ(WaitForSingleObject(connection, 0), WAIT_OBJECT_0);
  ASSERT_EQ(ConnMgrConnectionStatus(connection, &status), S_OK);
  EXPECT_EQ(status, static_cast<DWORD>(CONNMGR_STATUS_WAITINGCONNECTION));
  EXPECT_EQ(WaitForSingleObject(connection, 0), WAIT_TIMEOUT);  // the status stays: no new signal
  EXPECT_EQ(WaitForConnection(connection, cancel), 0u);
  EXPECT_TRUE(RasNames().empty());  // never connected: no link

  EXPECT_EQ(ConnMgrReleaseConnection(connection, 0), S_OK);
  EXPECT_EQ(ConnMgrConnectionStatus(connection, &status), HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE));
  EXPECT_EQ(ConnMgrReleaseConnection(connection, 0), HRESULT_FROM_WIN32(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(CloseHandle(connection));
  CloseHandle(cancel);
}

TEST(ConnectionManager, ProxiesComeFromTheSettingsOrTheScript)
{
  DeviceWithSettings device(kPhoneConnections);
  CONNMGR_CONNECTIONINFO wapInfo = Info(&kWapDestination);
  CONNMGR_CONNECTIONINFO internetInfo = Info(nullptr);
  HANDLE wap = nullptr, internet = nullptr;
  ASSERT_EQ(ConnMgrEstablishConnection(&wapInfo, &wap), S_OK);
  ASSERT_EQ(ConnMgrEstablishConnection(&internetInfo, &internet), S_OK);
  EXPECT_EQ(ReportedProxy(wap), u"10.0.0.172:80");
  HRESULT result = S_OK;
  EXPECT_EQ(ReportedProxy(internet, &result), u"");
  EXPECT_EQ(result, E_FAIL);

  device::testing::ScriptConnectionProxy(IID_DestNetInternet, u"127.0.0.1:3128");
  EXPECT_EQ(ReportedProxy(internet), u"127.0.0.1:3128");

  PROXY_CONFIG wapProxy{};
  wapProxy.dwType = CONNMGR_FLAG_PROXY_WAP;
  EXPECT_EQ(ConnMgrProviderMessage(wap, &IID_ConnPrv_IProxyExtension, nullptr, 0, 0, reinterpret_cast<PBYTE>(&wapProxy),
                                   sizeof wapProxy),
            E_FAIL);
  EXPECT_EQ(ConnMgrProviderMessage(wap, &IID_DestNetInternet, nullptr, 0, 0, reinterpret_cast<PBYTE>(&wapProxy),
                                   sizeof wapProxy),
            E_NOTIMPL);
  ConnMgrReleaseConnection(wap, 0);
  ConnMgrReleaseConnection(internet, 0);
}

TEST(ConnectionManager, HangingUpLinksDisconnectsAndTheNextConnectionDialsAgain)
{
  DeviceWithSettings device(kPhoneConnections);
  CONNMGR_CONNECTIONINFO info = Info(&kWapDestination);
  HANDLE first = nullptr, second = nullptr;
  ASSERT_EQ(ConnMgrEstablishConnection(&info, &first), S_OK);
  ASSERT_EQ(WaitForConnection(first, nullptr), static_cast<DWORD>(CONNMGR_STATUS_CONNECTED));
  ASSERT_EQ(ConnMgrEstablishConnection(&info, &second), S_OK);  // rides on the same link
  ASSERT_EQ(ConnMgrReleaseConnection(second, 0), S_OK);
  EXPECT_EQ(RasNames(), std::vector<std::u16string>{u"China Mobile WAP"});

  // As the connection routine does on a reset: hang up every link the phone has.
  RASCONN links[20];
  links[0].dwSize = sizeof(RASCONN);
  DWORD size = sizeof links, count = 0;
  ASSERT_EQ(RasEnumConnections(links, &size, &count), 0u);
  ASSERT_EQ(count, 1u);
  EXPECT_EQ(size, sizeof(RASCONN));
  EXPECT_EQ(RasHangUp(links[0].hrasconn), 0u);
  EXPECT_EQ(RasHangUp(links[0].hrasconn), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_TRUE(RasNames().empty());

  EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
  DWORD status = 0;
  ASSERT_EQ(ConnMgrConnectionStatus(first, &status), S_OK);
  EXPECT_EQ(status, static_cast<DWORD>(CONNMGR_STATUS_DISCONNECTED));
  ConnMgrReleaseConnection(first, 0);

  HANDLE again = nullptr;
  ASSERT_EQ(ConnMgrEstablishConnection(&info, &again), S_OK);
  EXPECT_EQ(WaitForConnection(again, nullptr), static_cast<DWORD>(CONNMGR_STATUS_CONNECTED));
  ConnMgrReleaseConnection(again, 0);

  device::testing::ConnectionCounters counters = device::testing::CountConnections();
  EXPECT_EQ(counters.established, 3u);
  EXPECT_EQ(counters.released, 3u);
  EXPECT_EQ(counters.dialled, 2u);
  EXPECT_EQ(counters.hungUp, 1u);
}

TEST(ConnectionManager, DestinationsTheDeviceCannotReach)
{
  DeviceWithSettings device("");
  CONNMGR_CONNECTIONINFO info = Info(&kWapDestination);
  HANDLE connection = nullptr;
  ASSERT_EQ(ConnMgrEstablishConnection(&info, &connection), S_OK);
  EXPECT_EQ(WaitForConnection(connection, nullptr), static_cast<DWORD>(CONNMGR_STATUS_NOPATHTODESTINATION));
  ConnMgrReleaseConnection(connection, 0);

  // The Internet is reached through the host's network, which is no link of the phone's.
  CONNMGR_CONNECTIONINFO internetInfo = Info(nullptr);
  ASSERT_EQ(ConnMgrEstablishConnection(&internetInfo, &connection), S_OK);
  EXPECT_EQ(WaitForConnection(connection, nullptr), static_cast<DWORD>(CONNMGR_STATUS_CONNECTED));
  EXPECT_TRUE(RasNames().empty());
  ConnMgrReleaseConnection(connection, 0);

  CONNMGR_CONNECTIONINFO bad = Info(nullptr);
  bad.cbSize = 64;  // another platform's size
  EXPECT_EQ(ConnMgrEstablishConnection(&bad, &connection), E_INVALIDARG);
  EXPECT_EQ(connection, nullptr);
  EXPECT_EQ(ConnMgrEstablishConnection(&info, nullptr), E_POINTER);
}

TEST(ConnectionManager, DetailedStatusListsThePhonesEntries)
{
  DeviceWithSettings device(kPhoneConnections);
  CONNMGR_CONNECTIONINFO info = Info(&kWapDestination);
  HANDLE connection = nullptr;
  ASSERT_EQ(ConnMgrEstablishConnection(&info, &connection), S_OK);
  ASSERT_EQ(WaitForConnection(connection, nullptr), static_cast<DWORD>(CONNMGR_STATUS_CONNECTED));

  DWORD size = 0;
  ASSERT_EQ(ConnMgrQueryDetailedStatus(nullptr, &size), static_cast<HRESULT>(0x8007007A));
  std::vector<std::max_align_t> buffer(size / sizeof(std::max_align_t) + 1);
  auto* records = reinterpret_cast<CONNMGR_CONNECTION_DETAILED_STATUS*>(buffer.data());
  DWORD small = size - 1;
  EXPECT_EQ(ConnMgrQueryDetailedStatus(records, &small), HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
  ASSERT_EQ(ConnMgrQueryDetailedStatus(records, &size), S_OK);

  std::vector<std::pair<std::u16string, DWORD>> entries;
  for (CONNMGR_CONNECTION_DETAILED_STATUS* record = records; record; record = record->pNext) {
    EXPECT_EQ(record->dwType, static_cast<DWORD>(CM_CONNTYPE_CELLULAR));
    EXPECT_TRUE(record->dwParams & CONNMGRDETAILEDSTATUS_PARAM_DESCRIPTION);
    entries.emplace_back(record->szDescription, record->dwConnectionStatus);
  }
  EXPECT_EQ(entries, (std::vector<std::pair<std::u16string, DWORD>>{
                         {u"China Mobile WAP", CONNMGR_STATUS_CONNECTED},
                         {u"China Mobile Internet", CONNMGR_STATUS_DISCONNECTED},
                         {u"Unprovisioned & Co", CONNMGR_STATUS_DISCONNECTED}}));
  EXPECT_EQ(std::memcmp(&records->guidDestNet, &kWapDestination, sizeof(GUID)), 0);
  ConnMgrReleaseConnection(connection, 0);
}

}  // namespace
