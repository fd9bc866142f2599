#include "testing/message_log.h"

#include <cstdio>
#include <memory>

#include "internal/user/test_hooks.h"

namespace kvtest {
namespace {

constexpr unsigned kHowFlags = sent | posted | defwinproc;

std::string Describe(const char* window, UINT message, unsigned how, WPARAM wParam, LPARAM lParam,
                     bool showParams)
{
  std::string text = MessageName(message) + " to " + (window ? std::string("'") + window + "'" : "any window");
  text += (how & posted) ? " (posted" : (how & sent) ? " (sent" : " (";
  if (how & defwinproc)
    text += ", through DefWindowProc";
  text += ")";
  if (showParams) {
    char params[64];
    std::snprintf(params, sizeof params, " wParam=0x%llx lParam=0x%llx", static_cast<unsigned long long>(wParam),
                  static_cast<unsigned long long>(lParam));
    text += params;
  }
  return text;
}

std::string Describe(const RecordedMessage& m)
{
  return Describe(m.window.c_str(), m.message, m.how, m.wParam, m.lParam, true);
}

std::string Describe(const ExpectedMessage& e)
{
  std::string text = Describe(e.window, e.message, e.flags, 0, 0, false);
  char params[64];
  if (e.flags & wparam) {
    std::snprintf(params, sizeof params, " wParam=0x%llx", static_cast<unsigned long long>(e.wParam));
    text += params;
  }
  if (e.flags & lparam) {
    std::snprintf(params, sizeof params, " lParam=0x%llx", static_cast<unsigned long long>(e.lParam));
    text += params;
  }
  return text;
}

bool Matches(const ExpectedMessage& e, const RecordedMessage& m)
{
  if (e.message != m.message || (e.window && m.window != e.window))
    return false;
  if ((e.flags & (sent | posted)) && (e.flags & (sent | posted)) != (m.how & (sent | posted)))
    return false;
  if (((e.flags & defwinproc) != 0) != ((m.how & defwinproc) != 0))
    return false;
  if ((e.flags & wparam) && e.wParam != m.wParam)
    return false;
  if ((e.flags & lparam) && e.lParam != m.lParam)
    return false;
  return true;
}

// What a recording window keeps: its log, name and handler.
struct Recorder {
  MessageLog* log;
  std::string name;
  MessageHandler handler;
  bool* attached;  // told when the window took the recorder over
};

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto* recorder = reinterpret_cast<Recorder*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    recorder = static_cast<Recorder*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(recorder));
    *recorder->attached = true;
  }
  if (!recorder)
    return DefWindowProcW(hwnd, message, wParam, lParam);
  recorder->log->Record(recorder->name, message, wParam, lParam);
  std::optional<LRESULT> handled = recorder->handler ? recorder->handler(hwnd, message, wParam, lParam) : std::nullopt;
  LRESULT result = handled ? *handled : DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete recorder;
  }
  return result;
}

LPCWSTR RecordingClass(bool doubleTaps)
{
  static const bool registered = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = u"KvRecorder";
    RegisterClassW(&wc);
    wc.style = CS_DBLCLKS;
    wc.lpszClassName = u"KvRecorderDbl";
    RegisterClassW(&wc);
    return true;
  }();
  (void)registered;
  return doubleTaps ? u"KvRecorderDbl" : u"KvRecorder";
}

}  // namespace

void MessageLog::Record(const std::string& window, UINT message, WPARAM wParam, LPARAM lParam)
{
  unsigned how = user_test::CurrentDelivery();
  std::lock_guard<std::mutex> guard(lock_);
  if (!ignored_.count(message))
    messages_.push_back(RecordedMessage{window, message, how, wParam, lParam});
}

void MessageLog::Watch(HWND hwnd, const std::string& name)
{
  auto previous = std::make_shared<WNDPROC>(nullptr);
  auto self = std::make_shared<WNDPROC>(nullptr);
  *self = MakeWindowProc([this, name, previous, self](HWND h, UINT message, WPARAM wParam, LPARAM lParam) {
    Record(name, message, wParam, lParam);
    LRESULT result = CallWindowProcW(*previous, h, message, wParam, lParam);
    if (message == WM_NCDESTROY)
      FreeWindowProc(*self);
    return result;
  });
  *previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(*self)));
}

void MessageLog::Ignore(UINT message)
{
  std::lock_guard<std::mutex> guard(lock_);
  ignored_.insert(message);
}

void MessageLog::Clear()
{
  std::lock_guard<std::mutex> guard(lock_);
  messages_.clear();
}

std::vector<RecordedMessage> MessageLog::Messages() const
{
  std::lock_guard<std::mutex> guard(lock_);
  return messages_;
}

std::string MessageLog::Mismatch(const std::vector<ExpectedMessage>& expected, const std::string& context) const
{
  std::vector<RecordedMessage> actual = Messages();
  size_t e = 0;
  size_t a = 0;
  std::string difference;
  while (e < expected.size()) {
    if (a < actual.size() && Matches(expected[e], actual[a])) {
      ++e;
      ++a;
      continue;
    }
    if (expected[e].flags & optional) {
      ++e;
      continue;
    }
    difference = "message " + std::to_string(a + 1) + ": expected " + Describe(expected[e]) + ", got " +
                 (a < actual.size() ? Describe(actual[a]) : std::string("nothing more"));
    break;
  }
  if (difference.empty() && a < actual.size())
    difference = "message " + std::to_string(a + 1) + ": unexpected " + Describe(actual[a]);
  if (difference.empty())
    return std::string();
  std::string text = context + ": " + difference + "\nrecorded:\n";
  for (const auto& m : actual)
    text += "  " + Describe(m) + "\n";
  return text;
}

HWND CreateRecordingWindow(MessageLog& log, const RecordingWindowSpec& spec)
{
  bool attached = false;
  auto* recorder = new Recorder{&log, spec.name, spec.handler, &attached};
  std::u16string title(spec.name.begin(), spec.name.end());
  HWND hwnd = CreateWindowExW(spec.exStyle, RecordingClass(spec.doubleTaps), title.c_str(), spec.style,
                              spec.rect.left, spec.rect.top, spec.rect.right - spec.rect.left,
                              spec.rect.bottom - spec.rect.top, spec.parent,
                              reinterpret_cast<HMENU>(static_cast<intptr_t>(spec.id)), nullptr, recorder);
  if (!attached)
    delete recorder;  // otherwise the window frees it with WM_NCDESTROY
  return hwnd;
}

}  // namespace kvtest
