// The service calls as a client of the service host: what they send and how they take its
// answers (from a host played by the test), their errors while no host runs, and the registry
// entry of a service.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <fstream>
#include <functional>
#include <mutex>
#include <sstream>
#include <thread>

#include "base/errors.h"
#include "base/lasterror.h"
#include "registry/registry.h"
#include "services/host_protocol.h"
#include "services/service_registry.h"
#include "services/services.h"
#include "testing/device_root.h"

namespace {

using services::MessageReader;
using services::MessageWriter;
using services::RequestKind;

// A host that answers each request with what the test's function writes.
class PlayedHost {
 public:
  using Answer = std::function<void(RequestKind, MessageReader&, MessageWriter&)>;
  explicit PlayedHost(Answer answer) : answer_(std::move(answer))
  {
    fd_ = services::ListenAsHost();
    EXPECT_GE(fd_, 0) << errno;
    thread_ = std::thread([this] { Serve(); });
  }
  ~PlayedHost() { Stop(); }
  void Stop()
  {
    if (fd_ >= 0) {
      ::shutdown(fd_, SHUT_RDWR);
      thread_.join();
      ::close(fd_);
      fd_ = -1;
    }
  }
  std::vector<std::vector<uint8_t>> Requests()
  {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  void Serve()
  {
    for (;;) {
      int connection = ::accept(fd_, nullptr, nullptr);
      if (connection < 0)
        return;
      std::vector<uint8_t> request;
      if (services::ReadMessage(connection, &request)) {
        {
          std::lock_guard lock(mutex_);
          requests_.push_back(request);
        }
        MessageReader reader(request);
        uint32_t kind = 0;
        reader.U32(&kind);
        MessageWriter answer;
        answer_(static_cast<RequestKind>(kind), reader, answer);
        services::WriteMessage(connection, answer.Data());
      }
      ::close(connection);
    }
  }

  Answer answer_;
  int fd_ = -1;
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::vector<uint8_t>> requests_;
};

class Services : public ::testing::Test {
 protected:
  device::testing::ScopedDeviceRoot root_;
};

TEST_F(Services, WithoutAHostEveryCallFailsWithTheDevicesErrors)
{
  EXPECT_EQ(ActivateService(u"Dovrel", 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE));
  std::u16string instance = u"PAY0:";
  EXPECT_EQ(GetServiceHandle(instance.data(), nullptr, nullptr), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_DOES_NOT_EXIST));
  DWORD state = 0, returned = 0;
  HANDLE notAService = reinterpret_cast<HANDLE>(0x1234);
  EXPECT_FALSE(ServiceIoControl(notAService, IOCTL_SERVICE_STATUS, nullptr, 0, &state, 4, &returned, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_FALSE(DeregisterService(notAService));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
  EXPECT_EQ(ActivateService(u"", 0), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// The host played as the service host of a device with "Dovrel" (instance "PAY0:") running.
void AnswerAsDovrelsHost(RequestKind kind, MessageReader& request, MessageWriter& answer)
{
  constexpr uint64_t kInstance = 0x0000ABCD00000001u;
  std::u16string text;
  uint64_t instance = 0;
  switch (kind) {
  case RequestKind::activate:
    request.Text(&text);
    answer.U32(text == u"Dovrel" ? ERROR_SERVICE_ALREADY_RUNNING : ERROR_SERVICE_DOES_NOT_EXIST);
    break;
  case RequestKind::find:
    request.Text(&text);
    if (text != u"PAY0:") {
      answer.U32(ERROR_SERVICE_DOES_NOT_EXIST);
      break;
    }
    answer.U32(0);
    answer.U64(kInstance);
    answer.Text(u"Dovrel.dll");
    break;
  case RequestKind::deregister:
    request.U64(&instance);
    answer.U32(instance == kInstance ? 0 : ERROR_INVALID_HANDLE);
    break;
  case RequestKind::control: {
    uint32_t code = 0, outputSize = 0;
    std::vector<uint8_t> input;
    request.U64(&instance);
    request.U32(&code);
    request.Bytes(&input);
    request.U32(&outputSize);
    if (instance != kInstance) {
      answer.U32(ERROR_INVALID_HANDLE);
    } else if (code == IOCTL_SERVICE_STATUS && outputSize >= 4) {
      answer.U32(0);
      answer.U32(TRUE);
      DWORD on = SERVICE_STATE_ON;
      answer.Bytes(&on, sizeof on);
      answer.U32(sizeof on);
    } else {
      answer.U32(ERROR_INVALID_PARAMETER);  // what the library's IOControl set
      answer.U32(FALSE);
      answer.Bytes(nullptr, 0);
      answer.U32(0);
    }
    break;
  }
  }
}

TEST_F(Services, CallsReachTheHostAndTakeItsAnswers)
{
  PlayedHost host(AnswerAsDovrelsHost);
  EXPECT_EQ(ActivateService(u"Dovrel", 7), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_ALREADY_RUNNING));

  std::u16string instance = u"PAY0:";
  WCHAR library[16] = {};
  DWORD size = 16;
  HANDLE service = GetServiceHandle(instance.data(), library, &size);
  ASSERT_NE(service, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(library), u"Dovrel.dll");
  DWORD small = 10;  // no room for the terminator
  EXPECT_EQ(GetServiceHandle(instance.data(), library, &small), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  DWORD state = 99, returned = 0;
  ASSERT_TRUE(ServiceIoControl(service, IOCTL_SERVICE_STATUS, nullptr, 0, &state, sizeof state, &returned, nullptr));
  EXPECT_EQ(state, static_cast<DWORD>(SERVICE_STATE_ON));
  EXPECT_EQ(returned, 4u);
  WORD tiny = 0;
  EXPECT_FALSE(ServiceIoControl(service, IOCTL_SERVICE_STATUS, nullptr, 0, &tiny, sizeof tiny, &returned, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));  // the service's own error

  // The control request as it went to the host.
  std::vector<std::vector<uint8_t>> requests = host.Requests();
  MessageWriter expected;
  expected.U32(static_cast<uint32_t>(RequestKind::control));
  expected.U64(0x0000ABCD00000001u);
  expected.U32(IOCTL_SERVICE_STATUS);
  expected.Bytes(nullptr, 0);
  expected.U32(4);
  EXPECT_EQ(requests.at(3), expected.Data());

  ASSERT_TRUE(DeregisterService(service));
  EXPECT_FALSE(ServiceIoControl(service, IOCTL_SERVICE_STATUS, nullptr, 0, &state, 4, &returned, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));  // the handle went with it

  HANDLE again = GetServiceHandle(instance.data(), nullptr, nullptr);
  ASSERT_NE(again, INVALID_HANDLE_VALUE);
  host.Stop();
  EXPECT_FALSE(ServiceIoControl(again, IOCTL_SERVICE_STATUS, nullptr, 0, &state, 4, &returned, nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SERVICE_NOT_ACTIVE));  // its host has gone
  EXPECT_TRUE(CloseHandle(again));
}

TEST_F(Services, ADeviceHasOneHost)
{
  int first = services::ListenAsHost();
  ASSERT_GE(first, 0);
  EXPECT_EQ(services::ListenAsHost(), -1);
  EXPECT_EQ(errno, EADDRINUSE);
  ::close(first);
}

TEST_F(Services, TheRegistryEntryOfAService)
{
  services::ServiceEntry entry;
  entry.name = u"Dovrel";
  entry.dll = u"Dovrel.dll";
  entry.prefix = u"PAY";
  entry.context = 5;
  entry.instDir = u"\\Program Files\\KorvexPortal";
  entry.port = 8888;
  ASSERT_EQ(services::WriteServiceEntry(entry), ERROR_SUCCESS);

  LONG error = -1;
  std::optional<services::ServiceEntry> read = services::ReadServiceEntry(u"DOVREL", &error);
  ASSERT_TRUE(read) << error;
  EXPECT_EQ(read->dll, u"Dovrel.dll");
  EXPECT_EQ(read->InstanceName(), u"PAY0:");
  EXPECT_EQ(read->context, 5u);
  EXPECT_EQ(read->keep, 1u);
  EXPECT_EQ(read->port, 8888);

  // The service library reads its folder as the device's programs do.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"services\\dovrel", 0, KEY_READ, &key), ERROR_SUCCESS);
  WCHAR folder[MAX_PATH] = {};
  DWORD bytes = sizeof folder;
  ASSERT_EQ(RegQueryValueExW(key, u"InstDir", nullptr, nullptr, reinterpret_cast<BYTE*>(folder), &bytes),
            ERROR_SUCCESS);
  EXPECT_EQ(std::u16string(folder), u"\\Program Files\\KorvexPortal");
  RegCloseKey(key);

  EXPECT_FALSE(services::ReadServiceEntry(u"Missing", &error));
  EXPECT_EQ(error, ERROR_SERVICE_DOES_NOT_EXIST);
  entry.name = u"Broken";
  entry.prefix = u"PA";
  ASSERT_EQ(services::WriteServiceEntry(entry), ERROR_SUCCESS);
  EXPECT_FALSE(services::ReadServiceEntry(u"Broken", &error));
  EXPECT_EQ(error, ERROR_BADDB);
}

}  // namespace
