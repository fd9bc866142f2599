// The device's service calls as a client of the service host (host_protocol.h). A service
// handle is a handle of the device naming one running instance of the host's.
#include "services/services.h"

#include <algorithm>
#include <cstring>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/handle_table.h"
#include "services/host_protocol.h"

namespace {

class ServiceHandle final : public kernel::Object {
 public:
  explicit ServiceHandle(uint64_t instance) : instance(instance) {}
  const uint64_t instance;
};

std::shared_ptr<ServiceHandle> Find(HANDLE handle)
{
  auto service = std::dynamic_pointer_cast<ServiceHandle>(kernel::LookupHandle(handle));
  if (!service)
    SetLastError(ERROR_INVALID_HANDLE);
  return service;
}

// Calls the host; the answer's reader stands after the error, which is 0 when the call was
// done. Without a host the error is noHost.
struct HostAnswer {
  std::vector<uint8_t> bytes;
  DWORD error;
};

HostAnswer Call(const services::MessageWriter& request, DWORD noHost)
{
  std::optional<std::vector<uint8_t>> answer = services::CallHost(request.Data());
  if (!answer)
    return {{}, noHost};
  HostAnswer result{std::move(*answer), ERROR_SUCCESS};
  uint32_t error = 0;
  services::MessageReader reader(result.bytes);
  if (!reader.U32(&error))
    return {{}, noHost};
  result.bytes.erase(result.bytes.begin(), result.bytes.begin() + sizeof error);
  result.error = error;
  return result;
}

HANDLE InsertService(uint64_t instance)
{
  return kernel::InsertHandle(std::make_shared<ServiceHandle>(instance));
}

}  // namespace

HANDLE ActivateService(LPCWSTR lpszDevKey, DWORD dwClientInfo)
{
  if (!lpszDevKey || !*lpszDevKey) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  services::MessageWriter request;
  request.U32(static_cast<uint32_t>(services::RequestKind::activate));
  request.Text(lpszDevKey);
  request.U32(dwClientInfo);
  HostAnswer answer = Call(request, ERROR_SERVICE_NOT_ACTIVE);
  uint64_t instance = 0;
  if (answer.error == ERROR_SUCCESS && !services::MessageReader(answer.bytes).U64(&instance))
    answer.error = ERROR_SERVICE_NOT_ACTIVE;
  if (answer.error != ERROR_SUCCESS) {
    SetLastError(answer.error);
    return nullptr;
  }
  return InsertService(instance);
}

HANDLE GetServiceHandle(LPWSTR szPrefix, LPWSTR szDllName, DWORD* pdwDllBuf)
{
  if (!szPrefix || !*szPrefix || (szDllName && !pdwDllBuf)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  services::MessageWriter request;
  request.U32(static_cast<uint32_t>(services::RequestKind::find));
  request.Text(szPrefix);
  HostAnswer answer = Call(request, ERROR_SERVICE_DOES_NOT_EXIST);
  uint64_t instance = 0;
  std::u16string library;
  services::MessageReader reader(answer.bytes);
  if (answer.error == ERROR_SUCCESS && !(reader.U64(&instance) && reader.Text(&library)))
    answer.error = ERROR_SERVICE_DOES_NOT_EXIST;
  if (answer.error == ERROR_SUCCESS && szDllName) {
    if (*pdwDllBuf <= library.size()) {
      answer.error = ERROR_INSUFFICIENT_BUFFER;
    } else {
      std::copy(library.begin(), library.end(), szDllName);
      szDllName[library.size()] = 0;
    }
  }
  if (answer.error != ERROR_SUCCESS) {
    SetLastError(answer.error);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE handle = InsertService(instance);
  return handle ? handle : INVALID_HANDLE_VALUE;
}

BOOL DeregisterService(HANDLE hDevice)
{
  std::shared_ptr<ServiceHandle> service = Find(hDevice);
  if (!service)
    return FALSE;
  services::MessageWriter request;
  request.U32(static_cast<uint32_t>(services::RequestKind::deregister));
  request.U64(service->instance);
  HostAnswer answer = Call(request, ERROR_SERVICE_NOT_ACTIVE);
  if (answer.error != ERROR_SUCCESS) {
    SetLastError(answer.error);
    return FALSE;
  }
  kernel::RemoveHandle(hDevice);
  return TRUE;
}

BOOL ServiceIoControl(HANDLE hService, DWORD dwIoControlCode, LPVOID lpInBuf, DWORD nInBufSize, LPVOID lpOutBuf,
                      DWORD nOutBufSize, LPDWORD lpBytesReturned, LPOVERLAPPED lpOverlapped)
{
  if (lpOverlapped || (nInBufSize > 0 && !lpInBuf) || (nOutBufSize > 0 && !lpOutBuf)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::shared_ptr<ServiceHandle> service = Find(hService);
  if (!service)
    return FALSE;
  services::MessageWriter request;
  request.U32(static_cast<uint32_t>(services::RequestKind::control));
  request.U64(service->instance);
  request.U32(dwIoControlCode);
  request.Bytes(lpInBuf, nInBufSize);
  request.U32(nOutBufSize);
  HostAnswer answer = Call(request, ERROR_SERVICE_NOT_ACTIVE);
  uint32_t result = 0, returned = 0;
  std::vector<uint8_t> output;
  services::MessageReader reader(answer.bytes);
  if (!(reader.U32(&result) && reader.Bytes(&output) && reader.U32(&returned)) || output.size() > nOutBufSize) {
    // A refusal by the host (an unknown instance), or an answer that does not hold together.
    SetLastError(answer.error != ERROR_SUCCESS ? answer.error : ERROR_SERVICE_NOT_ACTIVE);
    return FALSE;
  }
  if (!output.empty())
    std::memcpy(lpOutBuf, output.data(), output.size());
  if (lpBytesReturned)
    *lpBytesReturned = returned;
  if (!result) {
    SetLastError(answer.error);
    return FALSE;
  }
  return TRUE;
}
