#include "kernel/mapping.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/handle_table.h"
#include "kernel/host_error.h"
#include "shared_object.h"

#include <map>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace kernel {
namespace {

class FileMapping : public Object {
 public:
  FileMapping(std::shared_ptr<SharedObject> shared, bool writable) : shared(std::move(shared)), writable(writable) {}

  const std::shared_ptr<SharedObject> shared;
  const bool writable;
};

struct View {
  std::shared_ptr<SharedObject> mapping;  // kept alive while the view exists
  size_t length;
};

struct Views {
  std::mutex mutex;
  std::map<const char*, View> byAddress;
};

Views& MappedViews()
{
  static Views* views = new Views;
  return *views;
}

}  // namespace
}  // namespace kernel

using namespace kernel;

HANDLE CreateFileMappingW(HANDLE hFile, LPSECURITY_ATTRIBUTES, DWORD flProtect, DWORD dwMaximumSizeHigh, DWORD dwMaximumSizeLow,
                          LPCWSTR lpName)
{
  DWORD protection = flProtect & 0xFF;
  uint64_t size = (static_cast<uint64_t>(dwMaximumSizeHigh) << 32) | dwMaximumSizeLow;
  if (hFile != INVALID_HANDLE_VALUE || size == 0 || (protection != PAGE_READONLY && protection != PAGE_READWRITE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  SharedCreation creation{SharedKind::Mapping, size};
  bool existed = false;
  std::shared_ptr<SharedObject> shared =
      lpName ? SharedObject::Open(lpName, creation, existed) : SharedObject::CreateUnnamed(creation);
  if (!shared) {
    return nullptr;
  }
  HANDLE handle = InsertHandle(std::make_shared<FileMapping>(std::move(shared), protection == PAGE_READWRITE));
  if (handle) {
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  }
  return handle;
}

LPVOID MapViewOfFile(HANDLE hFileMappingObject, DWORD dwDesiredAccess, DWORD dwFileOffsetHigh, DWORD dwFileOffsetLow,
                     SIZE_T dwNumberOfBytesToMap)
{
  auto mapping = LookupHandleAs<FileMapping>(hFileMappingObject);
  if (!mapping) {
    return nullptr;
  }
  bool writes = dwDesiredAccess & FILE_MAP_WRITE;
  if (writes && !mapping->writable) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  uint64_t size = mapping->shared->header().size;
  uint64_t offset = (static_cast<uint64_t>(dwFileOffsetHigh) << 32) | dwFileOffsetLow;
  uint64_t length = dwNumberOfBytesToMap ? dwNumberOfBytesToMap : size - std::min(offset, size);
  if (offset % static_cast<uint64_t>(sysconf(_SC_PAGESIZE)) != 0 || offset >= size || length > size - offset) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  void* address = mmap(nullptr, length, PROT_READ | (writes ? PROT_WRITE : 0), MAP_SHARED, mapping->shared->fd(),
                       static_cast<off_t>(SharedObject::kContentOffset + offset));
  if (address == MAP_FAILED) {
    device::SetLastErrorFromErrno();
    return nullptr;
  }
  Views& views = MappedViews();
  std::lock_guard lock(views.mutex);
  views.byAddress[static_cast<const char*>(address)] = View{mapping->shared, length};
  return address;
}

BOOL UnmapViewOfFile(LPCVOID lpBaseAddress)
{
  View view;
  {
    Views& views = MappedViews();
    std::lock_guard lock(views.mutex);
    auto found = views.byAddress.find(static_cast<const char*>(lpBaseAddress));
    if (found == views.byAddress.end()) {
      SetLastError(ERROR_INVALID_ADDRESS);
      return FALSE;
    }
    view = std::move(found->second);
    views.byAddress.erase(found);
  }
  munmap(const_cast<void*>(lpBaseAddress), view.length);
  return TRUE;
}

BOOL FlushViewOfFile(LPCVOID lpBaseAddress, SIZE_T dwNumberOfBytesToFlush)
{
  const char* address = static_cast<const char*>(lpBaseAddress);
  Views& views = MappedViews();
  std::lock_guard lock(views.mutex);
  auto found = views.byAddress.upper_bound(address);
  if (found == views.byAddress.begin()) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  --found;
  const char* start = found->first;
  size_t length = found->second.length;
  if (address >= start + length) {
    SetLastError(ERROR_INVALID_ADDRESS);
    return FALSE;
  }
  uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
  const char* from = start + (static_cast<uintptr_t>(address - start) / page) * page;
  size_t end = dwNumberOfBytesToFlush ? std::min<size_t>(length, static_cast<size_t>(address - start) + dwNumberOfBytesToFlush) : length;
  if (msync(const_cast<char*>(from), end - static_cast<size_t>(from - start), MS_SYNC) != 0) {
    device::SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}
