#include "process_link.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>

#include "kernel/device_root.h"
#include "state.h"

namespace user_detail {
namespace {

constexpr uint32_t kMaxFrame = 64u << 20;  // no request or answer is larger
constexpr int kIoTimeoutMs = 30000;         // a peer that stops talking mid-frame is dropped

// The window folder; sockets are addressed through /proc/self/fd so that a long device root
// path does not run past the socket address limit. Opened again when the device root changed (a
// process that runs one device after another); the folder opened before stays open, as a
// listener may still address it.
int FolderFd()
{
  static std::mutex lock;
  static std::string openFor;
  static int fd = -1;
  std::string folder = device::PrivateFolder("windows");
  std::lock_guard<std::mutex> held(lock);
  if (fd < 0 || folder != openFor) {
    fd = folder.empty() ? -1 : ::open(folder.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    openFor = folder;
  }
  return fd;
}

sockaddr_un AddressOf(DWORD processId, const char* suffix = "")
{
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::snprintf(address.sun_path, sizeof address.sun_path, "/proc/self/fd/%d/%u.sock%s", FolderFd(),
                static_cast<unsigned>(processId), suffix);
  return address;
}

bool WaitReady(int fd, short events)
{
  pollfd entry{fd, events, 0};
  for (;;) {
    int ready = ::poll(&entry, 1, kIoTimeoutMs);
    if (ready > 0)
      return true;
    if (ready == 0 || errno != EINTR)
      return false;
  }
}

bool WriteAll(int fd, const void* data, size_t size)
{
  auto* bytes = static_cast<const uint8_t*>(data);
  while (size > 0) {
    if (!WaitReady(fd, POLLOUT))
      return false;
    ssize_t written = ::send(fd, bytes, size, MSG_NOSIGNAL);
    if (written < 0 && errno == EINTR)
      continue;
    if (written <= 0)
      return false;
    bytes += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool ReadAll(int fd, void* data, size_t size)
{
  auto* bytes = static_cast<uint8_t*>(data);
  while (size > 0) {
    if (!WaitReady(fd, POLLIN))
      return false;
    ssize_t got = ::recv(fd, bytes, size, 0);
    if (got < 0 && errno == EINTR)
      continue;
    if (got <= 0)
      return false;
    bytes += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

bool WriteFrame(int fd, uint32_t tag, const std::vector<uint8_t>& payload)
{
  uint32_t header[2] = {tag, static_cast<uint32_t>(payload.size())};
  return WriteAll(fd, header, sizeof header) && WriteAll(fd, payload.data(), payload.size());
}

bool ReadFrame(int fd, uint32_t* tag, std::vector<uint8_t>* payload)
{
  uint32_t header[2];
  if (!ReadAll(fd, header, sizeof header) || header[1] > kMaxFrame)
    return false;
  *tag = header[0];
  payload->resize(header[1]);
  return ReadAll(fd, payload->data(), payload->size());
}

struct Listener {
  std::once_flag started;
  int fd = -1;
  std::thread thread;
  // Connections being answered; exit waits for them, so a request that took effect (a post the
  // process then acted on by ending) still gets its answer.
  std::mutex servingLock;
  std::condition_variable served;
  int running = 0;
  LinkHandler handler;
};

// How long exit waits for answers still being written (a send into a thread that is ending
// may never be answered).
constexpr auto kExitAnswerWait = std::chrono::seconds(2);

Listener& listener()
{
  static Listener* shared = new Listener;
  return *shared;
}

void Serve(int connection)
{
  uint32_t tag;
  std::vector<uint8_t> request;
  if (ReadFrame(connection, &tag, &request)) {
    std::vector<uint8_t> answer = listener().handler(static_cast<LinkRequest>(tag), request);
    WriteFrame(connection, tag, answer);
  }
  ::close(connection);
  Listener& l = listener();
  std::lock_guard held(l.servingLock);
  if (--l.running == 0)
    l.served.notify_all();
}

void StopListening()
{
  Listener& l = listener();
  if (l.fd < 0)
    return;
  ::shutdown(l.fd, SHUT_RDWR);
  if (l.thread.joinable())
    l.thread.join();
  {
    std::unique_lock held(l.servingLock);
    l.served.wait_for(held, kExitAnswerWait, [&] { return l.running == 0; });
  }
  ::close(l.fd);
  l.fd = -1;
  std::string name = std::to_string(CurrentProcessId()) + ".sock";
  ::unlinkat(FolderFd(), name.c_str(), 0);
}

}  // namespace

void LinkWriter::Put(const void* data, size_t size)
{
  if (size == 0)
    return;
  auto* bytes = static_cast<const uint8_t*>(data);
  data_.insert(data_.end(), bytes, bytes + size);
}

void LinkWriter::Text(const char16_t* text)
{
  U32(text ? 1 : 0);
  std::u16string value = text ? std::u16string(text) : std::u16string();
  Bytes(value.data(), static_cast<uint32_t>(value.size() * sizeof(char16_t)));
}

void LinkWriter::Bytes(const void* data, uint32_t size)
{
  U32(size);
  Put(data, size);
}

bool LinkReader::Get(void* out, size_t size)
{
  if (data_.size() - position_ < size)
    return false;
  std::memcpy(out, data_.data() + position_, size);
  position_ += size;
  return true;
}

bool LinkReader::Text(bool* present, std::u16string* text)
{
  uint32_t flag;
  std::vector<uint8_t> bytes;
  if (!U32(&flag) || !Bytes(&bytes) || bytes.size() % sizeof(char16_t))
    return false;
  *present = flag != 0;
  text->assign(bytes.size() / sizeof(char16_t), u'\0');
  if (!bytes.empty())
    std::memcpy(text->data(), bytes.data(), bytes.size());
  return true;
}

bool LinkReader::Bytes(std::vector<uint8_t>* bytes)
{
  uint32_t size;
  if (!U32(&size) || data_.size() - position_ < size)
    return false;
  bytes->assign(data_.begin() + static_cast<long>(position_), data_.begin() + static_cast<long>(position_ + size));
  position_ += size;
  return true;
}

bool CallProcess(DWORD processId, LinkRequest request, const std::vector<uint8_t>& payload,
                 std::vector<uint8_t>* answer)
{
  if (FolderFd() < 0)
    return false;
  int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0)
    return false;
  sockaddr_un address = AddressOf(processId);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    if (errno == ECONNREFUSED) {
      std::string name = std::to_string(processId) + ".sock";
      ::unlinkat(FolderFd(), name.c_str(), 0);  // its process has ended
    }
    ::close(fd);
    return false;
  }
  uint32_t tag = 0;
  bool ok = WriteFrame(fd, static_cast<uint32_t>(request), payload) && ReadFrame(fd, &tag, answer) &&
            tag == static_cast<uint32_t>(request);
  ::close(fd);
  return ok;
}

std::vector<DWORD> LinkedProcesses()
{
  std::vector<DWORD> processes;
  if (FolderFd() < 0)
    return processes;
  int fd = ::openat(FolderFd(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* folder = fd >= 0 ? ::fdopendir(fd) : nullptr;
  if (!folder) {
    if (fd >= 0)
      ::close(fd);
    return processes;
  }
  while (dirent* entry = ::readdir(folder)) {
    unsigned long id = 0;
    char tail[8] = {};
    if (std::sscanf(entry->d_name, "%lu%7s", &id, tail) == 2 && std::strcmp(tail, ".sock") == 0 && id != 0 &&
        id != CurrentProcessId())
      processes.push_back(static_cast<DWORD>(id));
  }
  ::closedir(folder);
  return processes;
}

void StartListening(LinkHandler handler)
{
  std::call_once(listener().started, [&] {
    Listener& l = listener();
    l.handler = std::move(handler);
    if (FolderFd() < 0)
      return;
    // The socket is bound under a temporary name and renamed once it listens: a peer that finds
    // the name can connect, and a refused connection always means an ended process.
    int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address = AddressOf(CurrentProcessId(), ".new");
    std::string name = std::to_string(CurrentProcessId()) + ".sock";
    std::string pending = name + ".new";
    ::unlinkat(FolderFd(), pending.c_str(), 0);  // left by an ended process with the same id
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(fd, 16) != 0 ||
        ::renameat(FolderFd(), pending.c_str(), FolderFd(), name.c_str()) != 0) {
      if (fd >= 0)
        ::close(fd);
      ::unlinkat(FolderFd(), pending.c_str(), 0);
      return;
    }
    l.fd = fd;
    l.thread = std::thread([fd] {
      for (;;) {
        int connection = ::accept4(fd, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
          if (errno == EINTR || errno == ECONNABORTED)
            continue;
          return;  // shut down
        }
        {
          std::lock_guard held(listener().servingLock);
          listener().running++;
        }
        std::thread(Serve, connection).detach();
      }
    });
    std::atexit(StopListening);
  });
}

}  // namespace user_detail
