// Windows of other processes of the device: find, post, send (WM_COPYDATA with its data
// copied into the receiver), thread of a window, foreground.
#include <atomic>
#include <thread>

#include "class_table.h"
#include "internal/user/test_hooks.h"
#include "process_link.h"
#include "window_internal.h"

namespace user_detail {
namespace {

uint64_t Value(HWND hwnd)
{
  return reinterpret_cast<uintptr_t>(hwnd);
}

HWND Handle(uint64_t value)
{
  return reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
}

std::atomic<bool (*)(const std::string&)> screenshotWriter{nullptr};

// A window of this process that another process may address: only windows that exist.
bool IsLocalWindow(HWND hwnd)
{
  Lock held(state().lock);
  return Find(held, hwnd) != nullptr;
}

std::vector<uint8_t> AnswerRequest(LinkRequest request, const std::vector<uint8_t>& payload)
{
  LinkReader in(payload);
  LinkWriter out;
  uint64_t target = 0;
  switch (request) {
  case LinkRequest::find: {
    bool hasClass, hasName;
    std::u16string className, windowName;
    HWND found = nullptr;
    if (in.Text(&hasClass, &className) && in.Text(&hasName, &windowName)) {
      Lock held(state().lock);
      auto cls = hasClass ? FindClass(held, className.c_str()) : nullptr;
      if (!hasClass || cls) {
        for (HWND top : state().topLevel) {
          auto window = Find(held, top);
          if (window && window->state != WindowState::creating && (!cls || window->cls == cls) &&
              (!hasName || EqualNoCase(window->text, windowName))) {
            found = top;
            break;
          }
        }
      }
    }
    out.U64(Value(found));
    break;
  }
  case LinkRequest::post: {
    uint32_t message;
    uint64_t wParam, lParam;
    bool ok = in.U64(&target) && in.U32(&message) && in.U64(&wParam) && in.U64(&lParam) &&
              IsLocalWindow(Handle(target)) &&
              PostMessageW(Handle(target), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
    out.U32(ok ? 1 : 0);
    break;
  }
  case LinkRequest::send: {
    uint32_t message, hasData;
    uint64_t wParam, lParam, dataTag;
    std::vector<uint8_t> data;
    bool ok = in.U64(&target) && in.U32(&message) && in.U64(&wParam) && in.U64(&lParam) && in.U32(&hasData) &&
              in.U64(&dataTag) && in.Bytes(&data) && IsLocalWindow(Handle(target));
    LRESULT result = 0;
    if (ok) {
      COPYDATASTRUCT copy{static_cast<ULONG_PTR>(dataTag), static_cast<DWORD>(data.size()),
                          data.empty() ? nullptr : data.data()};
      if (message == WM_COPYDATA)
        lParam = hasData ? reinterpret_cast<uintptr_t>(&copy) : 0;
      result = SendMessageW(Handle(target), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
    }
    out.U32(ok ? 1 : 0);
    out.U64(static_cast<uint64_t>(result));
    break;
  }
  case LinkRequest::thread: {
    DWORD thread = in.U64(&target) && IsLocalWindow(Handle(target)) ? GetWindowThreadProcessId(Handle(target), nullptr)
                                                                     : 0;
    out.U32(thread);
    break;
  }
  case LinkRequest::list: {
    Lock held(state().lock);
    std::vector<HWND> windows;
    for (HWND top : state().topLevel) {
      auto window = Find(held, top);
      if (window && window->state != WindowState::creating)
        windows.push_back(top);
    }
    out.U32(static_cast<uint32_t>(windows.size()));
    for (HWND window : windows)
      out.U64(Value(window));
    break;
  }
  case LinkRequest::input: {
    uint32_t kind = 0, value = 0;
    bool ok = in.U32(&kind) && in.U32(&value) && kind <= static_cast<uint32_t>(user_test::RemoteInput::character);
    if (ok && kind == static_cast<uint32_t>(user_test::RemoteInput::character))
      user_test::InjectCharacter(static_cast<char16_t>(value));
    else if (ok)
      user_test::InjectKey(value, kind == static_cast<uint32_t>(user_test::RemoteInput::keyDown));
    out.U32(ok ? 1 : 0);
    break;
  }
  case LinkRequest::idle: {
    uint32_t bound = 0;
    bool idle = in.U32(&bound) && user_test::WaitUntilOtherThreadsIdle(bound);
    out.U32(idle ? 1 : 0);
    break;
  }
  case LinkRequest::keyboard: {
    HWND target = user_test::KeyboardTarget();
    // Only a shown window counts: a screen still being made (hidden) is not ready for the user.
    out.U32(static_cast<uint32_t>(target && IsWindowVisible(target) ? GetDlgCtrlID(target) : -1));
    break;
  }
  case LinkRequest::screenshot: {
    std::vector<uint8_t> path;
    auto writer = screenshotWriter.load();
    bool ok = in.Bytes(&path) && !path.empty() && writer && writer(std::string(path.begin(), path.end()));
    out.U32(ok ? 1 : 0);
    break;
  }
  case LinkRequest::foreground: {
    bool ok = in.U64(&target) && IsLocalWindow(Handle(target)) && SetForegroundWindow(Handle(target));
    out.U32(ok ? 1 : 0);
    break;
  }
  }
  return out.Data();
}

// Calls another process on a helper thread while the calling thread waits as a sender does,
// answering sends made to it meanwhile (unless answerSends is false), until the device clock
// reaches the deadline. On a time-out the call goes on without a waiter; *timedOut tells.
bool CallAndWait(DWORD process, LinkRequest request, const std::vector<uint8_t>& payload,
                 std::vector<uint8_t>* answer, uint64_t deadline = UINT64_MAX, bool answerSends = true,
                 bool* timedOut = nullptr)
{
  struct Call {
    std::vector<uint8_t> answer;
    bool ok = false;
  };
  auto call = std::make_shared<Call>();
  auto item = std::make_shared<SentItem>();
  Lock held(state().lock);
  item->sender = CurrentQueue(held);
  std::thread([call, item, process, request, payload] {
    std::vector<uint8_t> received;
    bool answered = CallProcess(process, request, payload, &received);
    Lock inner(state().lock);
    call->answer = std::move(received);
    call->ok = answered;
    Answer(inner, *item, 0);
  }).detach();
  bool inTime = WaitForAnswerUntil(held, item, deadline, answerSends);
  if (timedOut)
    *timedOut = !inTime;
  if (!inTime)
    return false;
  *answer = std::move(call->answer);
  return call->ok;
}

}  // namespace

void EnsureProcessListener()
{
  StartListening(AnswerRequest);
}

HWND FindInOtherProcesses(LPCWSTR className, LPCWSTR windowName)
{
  LinkWriter request;
  request.Text(className);
  request.Text(windowName);
  for (DWORD process : LinkedProcesses()) {
    std::vector<uint8_t> answer;
    uint64_t found = 0;
    if (CallProcess(process, LinkRequest::find, request.Data(), &answer) && LinkReader(answer).U64(&found) && found)
      return Handle(found);
  }
  return nullptr;
}

std::vector<HWND> TopLevelWindowsOfOtherProcesses()
{
  std::vector<HWND> windows;
  for (DWORD process : LinkedProcesses()) {
    std::vector<uint8_t> answer;
    if (!CallProcess(process, LinkRequest::list, {}, &answer))
      continue;
    LinkReader reader(answer);
    uint32_t count = 0;
    uint64_t window = 0;
    for (reader.U32(&count); count > 0 && reader.U64(&window); --count)
      windows.push_back(Handle(window));
  }
  return windows;
}

BOOL PostToProcess(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  LinkWriter request;
  request.U64(Value(hwnd));
  request.U32(message);
  request.U64(wParam);
  request.U64(static_cast<uint64_t>(lParam));
  std::vector<uint8_t> answer;
  uint32_t ok = 0;
  if (!CallProcess(ProcessOfHandle(hwnd), LinkRequest::post, request.Data(), &answer) ||
      !LinkReader(answer).U32(&ok) || !ok) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return TRUE;
}

LRESULT SendToProcess(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  LRESULT result = 0;
  SendToProcessUntil(hwnd, message, wParam, lParam, UINT64_MAX, true, &result);
  return result;
}

bool SendToProcessUntil(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, uint64_t deadline, bool answerSends,
                        LRESULT* result)
{
  *result = 0;
  LinkWriter request;
  request.U64(Value(hwnd));
  request.U32(message);
  request.U64(wParam);
  request.U64(static_cast<uint64_t>(lParam));
  auto* copy = message == WM_COPYDATA ? reinterpret_cast<const COPYDATASTRUCT*>(lParam) : nullptr;
  request.U32(copy ? 1 : 0);
  request.U64(copy ? copy->dwData : 0);
  request.Bytes(copy && copy->lpData ? copy->lpData : nullptr, copy && copy->lpData ? copy->cbData : 0);
  std::vector<uint8_t> answer;
  uint32_t delivered = 0;
  uint64_t answered = 0;
  LinkReader reader(answer);
  bool timedOut = false;
  if (!CallAndWait(ProcessOfHandle(hwnd), LinkRequest::send, request.Data(), &answer, deadline, answerSends,
                   &timedOut) ||
      !reader.U32(&delivered) || !reader.U64(&answered) || !delivered) {
    SetLastError(timedOut ? ERROR_TIMEOUT : ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  *result = static_cast<LRESULT>(answered);
  return true;
}

DWORD RemoteWindowThread(HWND hwnd)
{
  LinkWriter request;
  request.U64(Value(hwnd));
  std::vector<uint8_t> answer;
  uint32_t thread = 0;
  if (!CallProcess(ProcessOfHandle(hwnd), LinkRequest::thread, request.Data(), &answer) ||
      !LinkReader(answer).U32(&thread))
    return 0;
  return thread;
}

BOOL RemoteSetForeground(HWND hwnd)
{
  LinkWriter request;
  request.U64(Value(hwnd));
  std::vector<uint8_t> answer;
  uint32_t ok = 0;
  if (!CallProcess(ProcessOfHandle(hwnd), LinkRequest::foreground, request.Data(), &answer) ||
      !LinkReader(answer).U32(&ok) || !ok) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  LoseForeground();  // the keyboard went to the other process
  return TRUE;
}

}  // namespace user_detail

namespace {

// One request to the process that owns the window; its 32-bit answer is 1.
bool AskProcessOf(HWND window, user_detail::LinkRequest request, const user_detail::LinkWriter& payload)
{
  std::vector<uint8_t> answer;
  uint32_t ok = 0;
  DWORD process = user_detail::ProcessOfHandle(window);
  return process != 0 && user_detail::CallProcess(process, request, payload.Data(), &answer) &&
         user_detail::LinkReader(answer).U32(&ok) && ok == 1;
}

}  // namespace

bool user_test::InjectInProcessOf(HWND window, RemoteInput kind, uint32_t value)
{
  user_detail::LinkWriter request;
  request.U32(static_cast<uint32_t>(kind));
  request.U32(value);
  return AskProcessOf(window, user_detail::LinkRequest::input, request);
}

bool user_test::WaitUntilProcessIdle(HWND window, uint32_t boundMs)
{
  user_detail::LinkWriter request;
  request.U32(boundMs);
  return AskProcessOf(window, user_detail::LinkRequest::idle, request);
}

bool user_test::SaveScreenshotInProcessOf(HWND window, const std::string& hostPath)
{
  user_detail::LinkWriter request;
  request.Bytes(hostPath.data(), static_cast<uint32_t>(hostPath.size()));
  return AskProcessOf(window, user_detail::LinkRequest::screenshot, request);
}

void user_test::SetScreenshotWriter(bool (*writer)(const std::string& hostPath))
{
  user_detail::screenshotWriter.store(writer);
}

int user_test::KeyboardTargetIdInProcessOf(HWND window)
{
  std::vector<uint8_t> answer;
  uint32_t id = 0;
  DWORD process = user_detail::ProcessOfHandle(window);
  if (process == 0 || !user_detail::CallProcess(process, user_detail::LinkRequest::keyboard, {}, &answer) ||
      !user_detail::LinkReader(answer).U32(&id))
    return -1;
  return static_cast<int>(id);
}
