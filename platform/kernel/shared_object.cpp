#include "shared_object.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "futex.h"
#include "held_file.h"
#include "kernel/device_root.h"
#include "kernel/host_error.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kernel {
namespace {

constexpr uint32_t kMagic = 0x4F4E564Bu;  // "KVNO"
constexpr size_t kPage = 4096;
static_assert(sizeof(SharedHeader) <= SharedObject::kContentOffset);

uint64_t RoundToPage(uint64_t size)
{
  return (size + kPage - 1) / kPage * kPage;
}

// Events and mappings have a namespace each, as on the device: the hand-off block and its event
// bear one name.
std::string FileName(SharedKind kind, std::u16string_view name)
{
  uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a over the code units
  for (char16_t unit : name) {
    for (int shift : {0, 8}) {
      hash = (hash ^ ((unit >> shift) & 0xFF)) * 0x100000001b3ull;
    }
  }
  char text[32];
  snprintf(text, sizeof text, "%s-%016llx", kind == SharedKind::Event ? "event" : "mapping", static_cast<unsigned long long>(hash));
  return text;
}

SharedHeader* MapHeader(int fd)
{
  void* header = mmap(nullptr, SharedObject::kContentOffset, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  return header == MAP_FAILED ? nullptr : static_cast<SharedHeader*>(header);
}

// Gives a fresh file its size and header.
SharedHeader* Initialise(int fd, std::u16string_view name, const SharedCreation& creation)
{
  uint64_t content = creation.kind == SharedKind::Mapping ? RoundToPage(creation.size) : 0;
  if (ftruncate(fd, 0) != 0 || ftruncate(fd, static_cast<off_t>(SharedObject::kContentOffset + content)) != 0) {
    return nullptr;
  }
  SharedHeader* header = MapHeader(fd);
  if (!header) {
    return nullptr;
  }
  header->magic = kMagic;
  header->kind = creation.kind;
  header->size = creation.size;
  header->signalled.store(creation.initialState ? 1 : 0);
  header->manualReset = creation.manualReset ? 1 : 0;
  header->nameLength = static_cast<uint32_t>(name.size());
  std::copy(name.begin(), name.end(), header->name);
  return header;
}

// The objects of this process, by kind and name, so that each process holds one lock per object.
struct OpenObjects {
  std::mutex mutex;
  std::map<std::pair<SharedKind, std::u16string>, std::weak_ptr<SharedObject>> byName;
};

OpenObjects& Opened()
{
  static OpenObjects* opened = new OpenObjects;
  return *opened;
}

// A held object's file, mapped. An existing file must be the object of this very name.
std::shared_ptr<SharedObject> OpenFile(std::u16string_view name, const SharedCreation& creation, bool& existed)
{
  std::string path = device::PrivateFolder("objects") + "/" + FileName(creation.kind, name);
  SharedHeader* header = nullptr;
  std::optional<HeldFile> held = HoldFile(path, [&](int fd) {
    header = Initialise(fd, name, creation);
    return header != nullptr;
  });
  if (!held) {
    device::SetLastErrorFromErrno();
    return nullptr;
  }
  existed = !held->fresh;
  if (!header) {
    header = MapHeader(held->fd);
  }
  if (!header || header->magic != kMagic || header->kind != creation.kind ||
      std::u16string_view(header->name, header->nameLength) != name) {
    // Another name with the same file name: refused rather than confused.
    if (header) {
      munmap(header, SharedObject::kContentOffset);
    }
    close(held->fd);
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return std::shared_ptr<SharedObject>(new SharedObject(held->fd, path, header));
}

}  // namespace

std::shared_ptr<SharedObject> SharedObject::Open(std::u16string_view name, const SharedCreation& creation, bool& existed)
{
  if (name.size() >= MAX_PATH) {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return nullptr;
  }
  OpenObjects& opened = Opened();
  std::lock_guard lock(opened.mutex);
  std::weak_ptr<SharedObject>& slot = opened.byName[{creation.kind, std::u16string(name)}];
  std::shared_ptr<SharedObject> object = slot.lock();
  existed = object != nullptr;
  if (!object) {
    object = OpenFile(name, creation, existed);
    slot = object;
  }
  return object;
}

std::shared_ptr<SharedObject> SharedObject::CreateUnnamed(const SharedCreation& creation)
{
  int fd = memfd_create("korvex-mapping", MFD_CLOEXEC);
  SharedHeader* header = fd >= 0 ? Initialise(fd, u"", creation) : nullptr;
  if (!header) {
    device::SetLastErrorFromErrno();
    if (fd >= 0) {
      close(fd);
    }
    return nullptr;
  }
  return std::shared_ptr<SharedObject>(new SharedObject(fd, std::string(), header));
}

SharedObject::~SharedObject()
{
  munmap(header_, kContentOffset);
  if (path_.empty()) {
    close(fd_);
  } else {
    ReleaseFile(fd_, path_);
  }
}

WakeWord& DeviceWakeWord()
{
  static std::mutex mutex;
  static std::map<std::string, WakeWord*>* byRoot = new std::map<std::string, WakeWord*>;
  std::string root = device::RootPath();
  std::lock_guard lock(mutex);
  WakeWord*& word = (*byRoot)[root];
  if (!word) {
    std::string path = device::PrivateFolder("objects") + "/wake";
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    struct stat info {};
    void* page = MAP_FAILED;
    if (fd >= 0 && fstat(fd, &info) == 0 && (info.st_size >= static_cast<off_t>(kPage) || ftruncate(fd, kPage) == 0)) {
      page = mmap(nullptr, kPage, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    }
    if (fd >= 0) {
      close(fd);
    }
    // Without the shared page (no device root), waits still work within this process.
    // The page is shared and starts zeroed: it is used as it is, never constructed over what other
    // processes count in it.
    word = page == MAP_FAILED ? new WakeWord : reinterpret_cast<WakeWord*>(page);
  }
  return *word;
}

void WakeDeviceWaiters()
{
  WakeAll(DeviceWakeWord(), true);
}

}  // namespace kernel
