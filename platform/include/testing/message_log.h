// Recording the messages that windows receive and checking them against the platform's
// orders, written as tables of {window, message, how, wParam, lParam}.
#pragma once

#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "user/user.h"

namespace kvtest {

// How a message came, and which fields an expected entry checks.
enum MessageFlags : unsigned {
  sent = 1,        // sent to the window's procedure (within or across threads)
  posted = 2,      // taken from the queue and dispatched
  defwinproc = 4,  // sent while the window's default procedure ran
  wparam = 8,      // check wParam
  lparam = 16,     // check lParam
  optional = 32,   // may be missing
};

struct ExpectedMessage {
  const char* window;  // the name the window is recorded under; null: any window
  UINT message;
  unsigned flags;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

struct RecordedMessage {
  std::string window;
  UINT message;
  unsigned how;
  WPARAM wParam;
  LPARAM lParam;
};

class MessageLog {
 public:
  // Subclasses a window so that every message it receives is recorded under the name before
  // it goes on to the window's own procedure.
  void Watch(HWND hwnd, const std::string& name);
  // Messages never recorded.
  void Ignore(UINT message);
  void Record(const std::string& window, UINT message, WPARAM wParam, LPARAM lParam);
  void Clear();
  std::vector<RecordedMessage> Messages() const;
  // Empty when the log holds the expected messages in order (optional ones may be missing);
  // else the first difference, with the context and the whole log.
  std::string Mismatch(const std::vector<ExpectedMessage>& expected, const std::string& context) const;

 private:
  mutable std::mutex lock_;
  std::vector<RecordedMessage> messages_;
  std::set<UINT> ignored_;
};

// A window of a recording class: every message it receives is recorded under the name, then
// handled by the handler when it returns a result, else by DefWindowProc.
using MessageHandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;
struct RecordingWindowSpec {
  std::string name;
  DWORD style = WS_POPUP;
  DWORD exStyle = 0;
  HWND parent = nullptr;
  RECT rect{0, 0, 100, 100};
  int id = 0;
  bool doubleTaps = false;  // a class with CS_DBLCLKS
  MessageHandler handler = nullptr;
};
HWND CreateRecordingWindow(MessageLog& log, const RecordingWindowSpec& spec);

// "WM_ACTIVATE" and so on; "0x1234" for a number without a name.
std::string MessageName(UINT message);

}  // namespace kvtest
