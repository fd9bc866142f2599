// Answering message boxes in tests: while a MessageBoxAnswerer lives, MessageBoxW shows nothing;
// each box is recorded and answered by the test's function (by default with the box's default
// button), on the thread that asked.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "base/types.h"

namespace kvtest {

struct MessageBoxCall {
  HWND owner;
  std::u16string text;
  std::u16string caption;
  UINT type;
};

class MessageBoxAnswerer {
 public:
  using Answer = std::function<int(const MessageBoxCall&)>;
  explicit MessageBoxAnswerer(Answer answer = nullptr);
  ~MessageBoxAnswerer();
  MessageBoxAnswerer(const MessageBoxAnswerer&) = delete;
  MessageBoxAnswerer& operator=(const MessageBoxAnswerer&) = delete;

  // The boxes asked for so far, in order.
  std::vector<MessageBoxCall> Calls() const;

 private:
  mutable std::mutex mutex_;
  std::vector<MessageBoxCall> calls_;
};

}  // namespace kvtest
