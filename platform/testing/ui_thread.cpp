#include "testing/ui_thread.h"

#include "testing/ui_harness.h"

#include <future>
#include <memory>
#include <mutex>

namespace kvtest {
namespace {

constexpr UINT kRunTask = WM_APP + 0x3F00;
constexpr char16_t kInvokerClass[] = u"KvTestInvoker";

using Task = std::function<void()>;

LRESULT InvokerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (message == kRunTask) {
    std::unique_ptr<Task> task(reinterpret_cast<Task*>(lParam));
    (*task)();
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void RegisterInvokerClass()
{
  static std::once_flag once;
  std::call_once(once, [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = InvokerProc;
    wc.lpszClassName = kInvokerClass;
    RegisterClassW(&wc);
  });
}

}  // namespace

UiThread::UiThread()
{
  RegisterInvokerClass();
  std::promise<void> ready;
  thread_ = std::thread([this, &ready] {
    threadId_ = 0;
    // A hidden window that cannot be activated carries the tasks, so they run inside any
    // modal loop the thread may be in.
    invoker_ = CreateWindowExW(WS_EX_NOACTIVATE, kInvokerClass, u"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               nullptr, nullptr);
    threadId_ = GetWindowThreadProcessId(invoker_, nullptr);
    // Counted as a user-interface thread from here: a task posted before its loop begins keeps
    // running until idle waiting.
    MSG none;
    PeekMessageW(&none, nullptr, 0, 0, PM_NOREMOVE);
    ready.set_value();
    Main();
  });
  ready.get_future().wait();
}

UiThread::~UiThread()
{
  stopping_ = true;
  PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

void UiThread::Main()
{
  MSG msg;
  while (!stopping_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0 || got == -1)
      continue;  // a WM_QUIT of some inner loop's making, or the one that ends this loop
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  DestroyThreadWindows();
  DestroyWindow(invoker_);
}

void UiThread::Invoke(const std::function<void()>& function)
{
  Task task = function;
  SendMessageW(invoker_, kRunTask, 0, reinterpret_cast<LPARAM>(new Task(std::move(task))));
}

void UiThread::Post(std::function<void()> function)
{
  auto* task = new Task(std::move(function));
  if (!PostMessageW(invoker_, kRunTask, 0, reinterpret_cast<LPARAM>(task)))
    delete task;
}

}  // namespace kvtest
