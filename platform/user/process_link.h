// The link between processes of one device: each process with top-level windows answers on a
// Unix socket named by its process id in the device root's window folder; a request is one
// connection carrying one framed message and its answer.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/types.h"

namespace user_detail {

// input, idle and keyboard serve the test harness (internal/user/test_hooks.h) only.
enum class LinkRequest : uint32_t { find = 1, post = 2, send = 3, thread = 4, foreground = 5, list = 6, input = 7, idle = 8,
                                    keyboard = 9, screenshot = 10 };

// Little-endian framing of the request fields.
class LinkWriter {
 public:
  void U32(uint32_t value) { Put(&value, sizeof value); }
  void U64(uint64_t value) { Put(&value, sizeof value); }
  void Text(const char16_t* text);
  void Bytes(const void* data, uint32_t size);
  const std::vector<uint8_t>& Data() const { return data_; }

 private:
  void Put(const void* data, size_t size);
  std::vector<uint8_t> data_;
};

class LinkReader {
 public:
  explicit LinkReader(const std::vector<uint8_t>& data) : data_(data) {}
  bool U32(uint32_t* value) { return Get(value, sizeof *value); }
  bool U64(uint64_t* value) { return Get(value, sizeof *value); }
  // A text field: present (possibly empty) or absent (null on the sender's side).
  bool Text(bool* present, std::u16string* text);
  bool Bytes(std::vector<uint8_t>* bytes);

 private:
  bool Get(void* out, size_t size);
  const std::vector<uint8_t>& data_;
  size_t position_ = 0;
};

// Sends a request to a process and reads its answer; false when the process does not answer
// (it has ended: its stale socket is removed).
bool CallProcess(DWORD processId, LinkRequest request, const std::vector<uint8_t>& payload,
                 std::vector<uint8_t>* answer);
// The processes of the device that answer requests, except this one.
std::vector<DWORD> LinkedProcesses();
// Starts this process's listener (once); each request runs on a thread of its own.
using LinkHandler = std::function<std::vector<uint8_t>(LinkRequest, const std::vector<uint8_t>&)>;
void StartListening(LinkHandler handler);

}  // namespace user_detail
