#include "services/host_protocol.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "kernel/device_root.h"

namespace services {
namespace {

// The services folder, opened once per root; the socket is addressed through /proc/self/fd so
// that a long device root path does not run past the socket address limit.
sockaddr_un HostAddress(int* folder)
{
  std::string path = device::PrivateFolder("services");
  *folder = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "/proc/self/fd/%d/host", *folder);
  return address;
}

bool Transfer(int fd, void* data, size_t size, bool write)
{
  auto* bytes = static_cast<uint8_t*>(data);
  while (size > 0) {
    ssize_t done = write ? ::send(fd, bytes, size, MSG_NOSIGNAL) : ::recv(fd, bytes, size, 0);
    if (done < 0 && errno == EINTR)
      continue;
    if (done <= 0)
      return false;
    bytes += done;
    size -= static_cast<size_t>(done);
  }
  return true;
}

int Connect()
{
  int folder = -1;
  sockaddr_un address = HostAddress(&folder);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  bool connected = fd >= 0 && folder >= 0 &&
                   ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
  if (folder >= 0)
    ::close(folder);
  if (!connected && fd >= 0) {
    ::close(fd);
    fd = -1;
  }
  return fd;
}

}  // namespace

void MessageWriter::Put(const void* data, size_t size)
{
  auto* bytes = static_cast<const uint8_t*>(data);
  data_.insert(data_.end(), bytes, bytes + size);
}

void MessageWriter::U32(uint32_t value) { Put(&value, sizeof value); }

void MessageWriter::U64(uint64_t value) { Put(&value, sizeof value); }

void MessageWriter::Text(std::u16string_view text)
{
  U32(static_cast<uint32_t>(text.size()));
  Put(text.data(), text.size() * sizeof(char16_t));
}

void MessageWriter::Bytes(const void* data, uint32_t size)
{
  U32(size);
  if (size > 0)
    Put(data, size);
}

bool MessageReader::Get(void* out, size_t size)
{
  if (size > data_.size() - position_)
    return false;
  if (size > 0)
    std::memcpy(out, data_.data() + position_, size);
  position_ += size;
  return true;
}

bool MessageReader::Text(std::u16string* text)
{
  size_t start = position_;
  uint32_t count = 0;
  if (!U32(&count) || count > (data_.size() - position_) / sizeof(char16_t)) {
    position_ = start;
    return false;
  }
  text->resize(count);
  return Get(text->data(), count * sizeof(char16_t));
}

bool MessageReader::Bytes(std::vector<uint8_t>* bytes)
{
  size_t start = position_;
  uint32_t count = 0;
  if (!U32(&count) || count > data_.size() - position_) {
    position_ = start;
    return false;
  }
  bytes->resize(count);
  return Get(bytes->data(), count);
}

bool WriteMessage(int fd, const std::vector<uint8_t>& message)
{
  if (message.size() > kMaxMessage)
    return false;
  uint32_t size = static_cast<uint32_t>(message.size());
  return Transfer(fd, &size, sizeof size, true) &&
         Transfer(fd, const_cast<uint8_t*>(message.data()), message.size(), true);
}

bool ReadMessage(int fd, std::vector<uint8_t>* message)
{
  uint32_t size = 0;
  if (!Transfer(fd, &size, sizeof size, false) || size > kMaxMessage)
    return false;
  message->resize(size);
  return Transfer(fd, message->data(), size, false);
}

std::optional<std::vector<uint8_t>> CallHost(const std::vector<uint8_t>& request)
{
  int fd = Connect();
  if (fd < 0)
    return std::nullopt;
  std::vector<uint8_t> answer;
  bool answered = WriteMessage(fd, request) && ReadMessage(fd, &answer);
  ::close(fd);
  return answered ? std::optional(std::move(answer)) : std::nullopt;
}

int ListenAsHost()
{
  int folder = -1;
  sockaddr_un address = HostAddress(&folder);
  if (folder < 0)
    return -1;
  // The host holds the lock for as long as it runs (its end releases it): one host a device.
  int lock = ::openat(folder, "host.lock", O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (lock < 0 || ::flock(lock, LOCK_EX | LOCK_NB) != 0) {
    int error = lock < 0 ? errno : EADDRINUSE;
    if (lock >= 0)
      ::close(lock);
    ::close(folder);
    errno = error;
    return -1;
  }
  // A socket left by a host that ended is replaced.
  ::unlinkat(folder, "host", 0);
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd >= 0 && (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
                  ::listen(fd, SOMAXCONN) != 0)) {
    int error = errno;
    ::close(fd);
    fd = -1;
    errno = error;
  }
  if (fd < 0)
    ::close(lock);
  ::close(folder);
  return fd;
}

}  // namespace services
