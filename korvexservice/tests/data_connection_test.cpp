// The data connection routine, its trace file, the access-point store and the list of the
// phone's access points, on the device's scripted Connection Manager.
#include "apn_list.h"
#include "apn_store.h"
#include "data_connection.h"

#include "kernel/kernel.h"
#include "net/net.h"
#include "registry/registry.h"
#include "service_device.h"
#include "testing/connections.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

using device::testing::CountConnections;
using device::testing::kPhoneConnections;
using device::testing::kWapDestination;
using svc_test::ServiceDevice;

ApnEntry Entry(const GUID& destination, const std::u16string& apn, const std::u16string& description)
{
  ApnEntry entry{};
  entry.destination = destination;
  apn.copy(entry.apn, 19);
  description.copy(entry.description, 31);
  return entry;
}

std::u16string ProxyOf(const ConnectionState& state)
{
  return state.proxyEnabled ? std::u16string(state.proxy) : u"(none)";
}

class DataConnectionTest : public ::testing::Test {
 protected:
  ServiceDevice device_{kPhoneConnections};
  ConnectionState state_;

  void TearDown() override { ReleaseConnection(state_); }
};

TEST_F(DataConnectionTest, TheTraceFileHoldsEachAttemptAndEachCheck)
{
  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  EXPECT_EQ(device_.Trace(),
            "===IsAvailable===\nUseDefault=TRUE\nAPN=\nProxy=NULL\n"
            "===IsAvailable===\n");

  ReleaseConnection(state_);
  ASSERT_EQ(SaveApnSettings(Entry(kWapDestination, u"cmwap", u"China Mobile WAP")), ERROR_SUCCESS);
  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  EXPECT_EQ(device_.Trace(),
            "===IsAvailable===\nUseDefault=TRUE\nAPN=\nProxy=NULL\n"
            "===IsAvailable===\n"
            "===IsAvailable===\nUseDefault=FALSE\nAPN=cmwap\nProxy=10.0.0.172:80\n");
}

TEST_F(DataConnectionTest, TheStoredApnChoosesTheCarrierProxy)
{
  struct Case {
    std::u16string apn;
    std::u16string proxy;
  } cases[] = {
      {u"cmwap", kFirstCarrierWapProxy}, {u"uniwap", kFirstCarrierWapProxy}, {u"3gwap", kFirstCarrierWapProxy},
      {u"ctwap", kSecondCarrierWapProxy}, {u"cmnet", u"(none)"},             {u"CMWAP", u"(none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.apn.begin(), c.apn.end()));
    ASSERT_EQ(SaveApnSettings(Entry(kWapDestination, c.apn, u"China Mobile WAP")), ERROR_SUCCESS);
    ConnectionState state;
    state.proxyEnabled = true;
    std::u16string(u"192.0.2.1:8080").copy(state.proxy, 256);
    EXPECT_TRUE(EnsureConnection(state, nullptr));
    EXPECT_EQ(ProxyOf(state), c.proxy);
    ReleaseConnection(state);
  }
}

TEST_F(DataConnectionTest, TheDefaultDestinationTakesTheProxyItReportsAndNoEarlierOne)
{
  state_.proxyEnabled = true;
  std::u16string(kFirstCarrierWapProxy).copy(state_.proxy, 256);
  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  EXPECT_EQ(ProxyOf(state_), u"(none)");

  ReleaseConnection(state_);
  device::testing::ScriptConnectionProxy(IID_DestNetInternet, u"127.0.0.1:3128");
  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  EXPECT_EQ(ProxyOf(state_), u"127.0.0.1:3128");
}

TEST_F(DataConnectionTest, WaitingStatusesAreWaitedThroughAndOthersFail)
{
  struct Case {
    std::vector<DWORD> statuses;
    BOOL connected;
  } cases[] = {
      {{CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_WAITINGDISCONNECTION, CONNMGR_STATUS_WAITINGCONNECTIONABORT,
        CONNMGR_STATUS_CONNECTED},
       TRUE},
      {{CONNMGR_STATUS_WAITINGCONNECTION, CONNMGR_STATUS_WAITINGFORNETWORK}, FALSE},
      {{CONNMGR_STATUS_WAITINGFORPATH}, FALSE},
      {{CONNMGR_STATUS_CONNECTIONFAILED}, FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.statuses.back());
    device::testing::ScriptConnectionStatuses(IID_DestNetInternet, c.statuses);
    device::testing::ConnectionCounters before = CountConnections();
    ConnectionState state;
    EXPECT_EQ(EnsureConnection(state, nullptr), c.connected);
    EXPECT_EQ(state.hConnection != nullptr, c.connected == TRUE);
    device::testing::ConnectionCounters after = CountConnections();
    EXPECT_EQ(after.established - before.established, 1u);
    EXPECT_EQ(after.released - before.released, c.connected ? 0u : 1u);  // a failed attempt is given up
    ReleaseConnection(state);
  }
}

TEST_F(DataConnectionTest, TheCancelEventEndsTheWaitAndTheHalfMadeConnectionIsGivenUp)
{
  device::testing::ScriptConnectionStatuses(IID_DestNetInternet, {CONNMGR_STATUS_WAITINGCONNECTION});
  HANDLE cancel = CreateEventW(nullptr, TRUE, TRUE, nullptr);
  EXPECT_FALSE(EnsureConnection(state_, cancel));
  EXPECT_EQ(state_.hConnection, nullptr);
  EXPECT_EQ(CountConnections().released, 1u);
  CloseHandle(cancel);
}

TEST_F(DataConnectionTest, AResetHangsUpOnceAndEveryWorkerConnectsAnewOnce)
{
  ASSERT_EQ(SaveApnSettings(Entry(kWapDestination, u"cmnet", u"China Mobile WAP")), ERROR_SUCCESS);
  ConnectionState transport;
  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  ASSERT_TRUE(EnsureConnection(transport, nullptr));
  HANDLE clientConnection = state_.hConnection;
  EXPECT_EQ(CountConnections().established, 2u);

  SetResetConnectionFlag();
  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  device::testing::ConnectionCounters afterFirst = CountConnections();
  EXPECT_EQ(afterFirst.hungUp, 1u);
  EXPECT_EQ(afterFirst.established, 3u);

  ASSERT_TRUE(EnsureConnection(transport, nullptr));
  device::testing::ConnectionCounters afterSecond = CountConnections();
  EXPECT_EQ(afterSecond.hungUp, 1u);       // only the worker that took the request hangs up
  EXPECT_EQ(afterSecond.established, 4u);  // but the other gives its own connection up too
  EXPECT_EQ(afterSecond.released, 2u);

  ASSERT_TRUE(EnsureConnection(state_, nullptr));
  ASSERT_TRUE(EnsureConnection(transport, nullptr));
  EXPECT_EQ(CountConnections().established, 4u);
  EXPECT_NE(state_.hConnection, clientConnection);
  EXPECT_FALSE(TakeResetConnectionFlag());
  ReleaseConnection(transport);
}

TEST_F(DataConnectionTest, TheApnListOffersProvisionedCellularEntries)
{
  std::unique_ptr<CApnList> list = CreateApnList();
  ASSERT_EQ(list->GetCount(), 2);
  EXPECT_EQ(std::u16string(list->GetAt(0).description), u"China Mobile WAP");
  EXPECT_EQ(std::u16string(list->GetAt(0).apn), u"cmwap");
  EXPECT_EQ(0, memcmp(&list->GetAt(0).destination, &kWapDestination, sizeof(GUID)));
  EXPECT_EQ(std::u16string(list->GetAt(1).description), u"China Mobile Internet");
  EXPECT_EQ(std::u16string(list->GetAt(1).apn), u"cmnet");
  EXPECT_EQ(QueryGprsAccessPointName(u"Unprovisioned"), CStringW());
  list->Clear();
  EXPECT_EQ(list->GetCount(), 0);
}

TEST_F(DataConnectionTest, TheChosenAccessPointIsStoredReadBackAndRemoved)
{
  std::unique_ptr<CApnList> list = CreateApnList();
  ApnEntry read{};
  EXPECT_FALSE(ReadApnSettings(read));

  ASSERT_EQ(list->SaveEntry(0), ERROR_SUCCESS);
  ASSERT_TRUE(ReadApnSettings(read));
  EXPECT_EQ(0, memcmp(&read, &list->GetAt(0), sizeof read));
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Korvex\\KorvexPortal\\APN", 0, KEY_READ, &key), ERROR_SUCCESS);
  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"DestNetAPN", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 12u);  // "cmwap" and its terminator
  EXPECT_EQ(RegQueryValueExW(key, u"DestNetGUID", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  EXPECT_EQ(size, 16u);
  RegCloseKey(key);

  EXPECT_EQ(list->SaveEntry(2), static_cast<LONG>(ERROR_INVALID_PARAMETER));
  ASSERT_EQ(list->SaveEntry(-1), ERROR_SUCCESS);
  EXPECT_FALSE(ReadApnSettings(read));

  // The settings dialog asks for a reset after removing the choice: the key then holds only
  // the request, which the next connection takes once.
  SetResetConnectionFlag();
  EXPECT_FALSE(ReadApnSettings(read));
  EXPECT_TRUE(TakeResetConnectionFlag());
  EXPECT_FALSE(TakeResetConnectionFlag());
}

}  // namespace
