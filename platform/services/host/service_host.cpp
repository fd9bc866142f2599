#include "service_host.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <unistd.h>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/device_root.h"
#include "kernel/module.h"
#include "net/winsock.h"
#include "services/connection_handover.h"
#include "services/host_protocol.h"
#include "services/service_registry.h"
#include "services/services.h"

namespace services {
namespace {

using InitFunction = DWORD (*)(DWORD);
using DeinitFunction = BOOL (*)(DWORD);
using IoControlFunction = BOOL (*)(DWORD, DWORD, PBYTE, DWORD, PBYTE, DWORD, PDWORD);

// The largest output a service call may ask for.
constexpr uint32_t kMaxOutput = 1u << 16;

template <class F>
F Entry(HMODULE library, const std::u16string& prefix, const char16_t* name)
{
  return reinterpret_cast<F>(GetProcAddressW(library, (prefix + name).c_str()));
}

// The error a call into the service left, or fallback when it set none.
DWORD ServiceError(DWORD fallback)
{
  DWORD error = GetLastError();
  return error != ERROR_SUCCESS ? error : fallback;
}

}  // namespace

struct ServiceHost::Running {
  uint64_t instance = 0;
  ServiceEntry entry;
  HMODULE library = nullptr;
  DeinitFunction deinit = nullptr;
  IoControlFunction ioControl = nullptr;
  DWORD context = 0;
  SOCKET listener = INVALID_SOCKET;
  sockaddr_in address = {};
  std::atomic<bool> stopping{false};
  std::thread acceptor;

  BOOL Control(DWORD code, const void* input = nullptr, DWORD inputSize = 0)
  {
    DWORD returned = 0;
    return ioControl(context, code, static_cast<PBYTE>(const_cast<void*>(input)), inputSize, nullptr, 0, &returned);
  }

  // Hands each accepted connection to the service until the listener is closed.
  void Accept()
  {
    for (;;) {
      SOCKET s = accept(listener, nullptr, nullptr);
      if (s == INVALID_SOCKET) {
        if (stopping.load()) {
          return;
        }
        // Out of descriptors or a connection that went at once: try again after a short rest.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        continue;
      }
      DWORD connection = HandOverConnection(s);
      if (connection != 0) {
        Control(IOCTL_SERVICE_CONNECTION, &connection, sizeof connection);
        ReclaimConnection(connection);
      }
    }
  }
};

ServiceHost::ServiceHost() = default;

ServiceHost::~ServiceHost()
{
  StopAll();
}

DWORD ServiceHost::Activate(std::u16string_view name, uint64_t* instance)
{
  LONG readError = ERROR_SUCCESS;
  std::optional<ServiceEntry> entry = ReadServiceEntry(name, &readError);
  if (!entry) {
    return static_cast<DWORD>(readError);
  }
  for (const auto& running : running_) {
    if (device::SameName(running->entry.name, entry->name)) {
      return ERROR_SERVICE_ALREADY_RUNNING;
    }
  }
  auto service = std::make_unique<Running>();
  service->entry = std::move(*entry);
  const ServiceEntry& described = service->entry;
  bool keep = described.keep != 0;
  service->library = LoadLibraryW(described.dll.c_str());
  if (!service->library) {
    return GetLastError();
  }
  auto init = Entry<InitFunction>(service->library, described.prefix, u"_Init");
  service->deinit = Entry<DeinitFunction>(service->library, described.prefix, u"_Deinit");
  service->ioControl = Entry<IoControlFunction>(service->library, described.prefix, u"_IOControl");
  if (!init || !service->deinit || !service->ioControl) {
    Release(service->library, keep);
    return ERROR_PROC_NOT_FOUND;
  }
  SetLastError(ERROR_SUCCESS);
  service->context = init(described.context);
  if (service->context == 0) {
    DWORD error = ServiceError(ERROR_GEN_FAILURE);
    Release(service->library, keep);
    return error;
  }

  DWORD error = ERROR_SUCCESS;
  if (described.port != 0) {
    service->address.sin_family = AF_INET;
    service->address.sin_port = htons(described.port);
    service->address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    service->listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (service->listener == INVALID_SOCKET ||
        bind(service->listener, reinterpret_cast<const sockaddr*>(&service->address), sizeof service->address) != 0 ||
        listen(service->listener, SOMAXCONN) != 0) {
      error = static_cast<DWORD>(WSAGetLastError());
    } else {
      SetLastError(ERROR_SUCCESS);
      if (!service->Control(IOCTL_SERVICE_REGISTER_SOCKADDR, &service->address, sizeof service->address)) {
        error = ServiceError(ERROR_GEN_FAILURE);
      }
    }
  }
  if (error == ERROR_SUCCESS) {
    SetLastError(ERROR_SUCCESS);
    if (!service->Control(IOCTL_SERVICE_STARTED)) {
      error = ServiceError(ERROR_GEN_FAILURE);
    }
  }
  if (error != ERROR_SUCCESS) {
    if (service->listener != INVALID_SOCKET) {
      closesocket(service->listener);
    }
    service->deinit(service->context);
    Release(service->library, keep);
    return error;
  }

  service->instance = (static_cast<uint64_t>(getpid()) << 32) | ++started_;
  if (service->listener != INVALID_SOCKET) {
    Running* accepting = service.get();
    service->acceptor = std::thread([accepting] { accepting->Accept(); });
  }
  *instance = service->instance;
  running_.push_back(std::move(service));
  return ERROR_SUCCESS;
}

void ServiceHost::Stop(Running& service)
{
  if (service.listener != INVALID_SOCKET) {
    service.stopping.store(true);
    closesocket(service.listener);  // ends the acceptor's accept
    service.acceptor.join();
    service.Control(IOCTL_SERVICE_DEREGISTER_SOCKADDR, &service.address, sizeof service.address);
  }
  service.Control(IOCTL_SERVICE_STOP);
  service.deinit(service.context);
  Release(service.library, service.entry.keep != 0);
}

void ServiceHost::Release(HMODULE library, bool keep)
{
  // A kept library is held by one load for the host's life.
  if (keep && std::find(kept_.begin(), kept_.end(), library) == kept_.end()) {
    kept_.push_back(library);
    return;
  }
  FreeLibrary(library);
}

void ServiceHost::StopAll()
{
  while (!running_.empty()) {
    Stop(*running_.back());
    running_.pop_back();
  }
}

ServiceHost::Running* ServiceHost::Find(uint64_t instance)
{
  for (const auto& running : running_) {
    if (running->instance == instance) {
      return running.get();
    }
  }
  return nullptr;
}

std::vector<uint8_t> ServiceHost::Answer(const std::vector<uint8_t>& request)
{
  MessageReader reader(request);
  MessageWriter answer;
  uint32_t kind = 0, number = 0, code = 0;
  uint64_t instance = 0;
  std::u16string text;
  std::vector<uint8_t> input;
  if (!reader.U32(&kind)) {
    answer.U32(ERROR_INVALID_PARAMETER);
    return answer.Data();
  }
  switch (static_cast<RequestKind>(kind)) {
  case RequestKind::activate:
    if (!reader.Text(&text) || !reader.U32(&number)) {
      break;
    }
    if (DWORD error = Activate(text, &instance); error != ERROR_SUCCESS) {
      answer.U32(error);
    } else {
      answer.U32(ERROR_SUCCESS);
      answer.U64(instance);
    }
    return answer.Data();
  case RequestKind::find:
    if (!reader.Text(&text)) {
      break;
    }
    for (const auto& running : running_) {
      if (device::SameName(running->entry.InstanceName(), text)) {
        answer.U32(ERROR_SUCCESS);
        answer.U64(running->instance);
        answer.Text(running->entry.dll);
        return answer.Data();
      }
    }
    answer.U32(ERROR_SERVICE_DOES_NOT_EXIST);
    return answer.Data();
  case RequestKind::deregister:
    if (!reader.U64(&instance)) {
      break;
    }
    if (Running* service = Find(instance)) {
      Stop(*service);
      running_.erase(std::find_if(running_.begin(), running_.end(),
                                  [service](const auto& running) { return running.get() == service; }));
      answer.U32(ERROR_SUCCESS);
    } else {
      answer.U32(ERROR_INVALID_HANDLE);
    }
    return answer.Data();
  case RequestKind::control: {
    if (!reader.U64(&instance) || !reader.U32(&code) || !reader.Bytes(&input) || !reader.U32(&number)) {
      break;
    }
    Running* service = Find(instance);
    if (!service) {
      answer.U32(ERROR_INVALID_HANDLE);
      return answer.Data();
    }
    std::vector<uint8_t> output(std::min(number, kMaxOutput));
    DWORD returned = 0;
    SetLastError(ERROR_SUCCESS);
    BOOL result = service->ioControl(service->context, code, input.empty() ? nullptr : input.data(),
                                     static_cast<DWORD>(input.size()), output.empty() ? nullptr : output.data(),
                                     static_cast<DWORD>(output.size()), &returned);
    answer.U32(result ? ERROR_SUCCESS : GetLastError());
    answer.U32(result ? TRUE : FALSE);
    answer.Bytes(output.data(), std::min(returned, static_cast<DWORD>(output.size())));
    answer.U32(returned);
    return answer.Data();
  }
  }
  answer.U32(ERROR_INVALID_PARAMETER);
  return answer.Data();
}

}  // namespace services
