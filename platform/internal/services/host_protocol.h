// How the device's service calls (services/services.h) reach the service host program, for the
// client side in the services library and for the host.
//
// Where: the host listens on a Unix stream socket named "host" in the device root's private
// folder "services" (<root>/.kernel/services/host). A device has at most one host: the host
// holds the lock file "host.lock" beside it while it runs, and a second one does not start
// (ListenAsHost fails with EADDRINUSE).
//
// A call is one connection: the client writes one request, the host writes one answer and
// closes. A message is a u32 byte count, then that many bytes (at most kMaxMessage). Inside,
// integers are little-endian; a text is a u32 count of UTF-16 units, then the units; bytes are a
// u32 count, then the bytes.
//
// Request: u32 kind, then
//   activate   (1): text key name (under HKEY_LOCAL_MACHINE\Services), u32 client info
//   find       (2): text instance name ("PAY0:")
//   deregister (3): u64 instance
//   control    (4): u64 instance, u32 control code, bytes input, u32 output size
// Answer: u32 error (0 done; else the system error the call fails with), then after success
//   activate:   u64 instance
//   find:       u64 instance, text library name
//   deregister: nothing
//   control:    u32 result (the library's BOOL answer; when FALSE, the error above is the last
//               error it set), bytes output (at most the output size), u32 bytes returned
// Instances are the host's numbers for running services: its process id in the high 32 bits
// and a count never reused while it runs, so an instance of an earlier host is unknown to a later
// one (ERROR_INVALID_HANDLE).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace services {

enum class RequestKind : uint32_t { activate = 1, find = 2, deregister = 3, control = 4 };

constexpr uint32_t kMaxMessage = 1u << 20;

class MessageWriter {
 public:
  void U32(uint32_t value);
  void U64(uint64_t value);
  void Text(std::u16string_view text);
  void Bytes(const void* data, uint32_t size);
  const std::vector<uint8_t>& Data() const { return data_; }

 private:
  void Put(const void* data, size_t size);
  std::vector<uint8_t> data_;
};

// Each read fails (false) past the end of the message; a failed read leaves nothing read.
class MessageReader {
 public:
  explicit MessageReader(const std::vector<uint8_t>& data) : data_(data) {}
  bool U32(uint32_t* value) { return Get(value, sizeof *value); }
  bool U64(uint64_t* value) { return Get(value, sizeof *value); }
  bool Text(std::u16string* text);
  bool Bytes(std::vector<uint8_t>* bytes);

 private:
  bool Get(void* out, size_t size);
  const std::vector<uint8_t>& data_;
  size_t position_ = 0;
};

// Writes or reads one whole message on a connected socket (blocking); false when the peer has
// gone or the message is too large.
bool WriteMessage(int fd, const std::vector<uint8_t>& message);
bool ReadMessage(int fd, std::vector<uint8_t>* message);

// The client's side: sends the request to the device's host and reads its answer. Nothing when
// no host answers (none runs, or it went away during the call).
std::optional<std::vector<uint8_t>> CallHost(const std::vector<uint8_t>& request);

// The host's side: the listening socket of the device's host (accept connections on it), or -1
// with errno set: EADDRINUSE when a host already runs on the device. The host's lock is held
// until the process ends.
int ListenAsHost();

}  // namespace services
