#include "futex.h"
#include "shared_object.h"
#include "thread_object.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/handle_table.h"
#include "kernel/thread.h"

#include <cerrno>
#include <pthread.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace kernel {

DWORD Thread::ExitCode() const
{
  return ended_.load() ? exitCode_.load() : STILL_ACTIVE;
}

void Thread::Started(DWORD id, WakeWord* wakeWord)
{
  wakeWord_ = wakeWord;
  id_.store(id);
  id_.notify_all();
}

bool Thread::RequestTermination(DWORD code)
{
  if (!wakeWord_) {
    return false;
  }
  if (!terminating_.exchange(true)) {
    SetExitCode(code);
  }
  // Wake it wherever it sleeps: on its own word, or on the device's.
  WakeAll(*wakeWord_, false);
  WakeDeviceWaiters();
  return true;
}

DWORD Thread::Resume()
{
  int gate = gate_.exchange(-1);
  if (gate < 0) {
    return 0;
  }
  char go = 1;
  ssize_t written;
  do {
    written = write(gate, &go, 1);
  } while (written < 0 && errno == EINTR);
  close(gate);
  return 1;
}

// A process never resumed stays held until this object goes (with its creator, which watches
// the process until it ends); the closed gate then ends it before its program ran.
Thread::~Thread()
{
  if (int gate = gate_.exchange(-1); gate >= 0) {
    close(gate);
  }
}

void Thread::Ended()
{
  ended_.store(true);
  NotifyWaiters();
}

namespace {

// The thread object of the calling thread when CreateThread started it.
thread_local Thread* currentThread = nullptr;

struct StartInfo {
  std::shared_ptr<Thread> thread;
  LPTHREAD_START_ROUTINE routine;
  LPVOID parameter;
};

// Marks the thread ended when its routine returns and when ExitThread unwinds its stack. What
// runs after (its thread-exit handlers) runs as a thread of no object, which may be gone.
struct EndOnExit {
  Thread& thread;
  ~EndOnExit()
  {
    currentThread = nullptr;
    thread.Ended();
  }
};

void* RunThread(void* argument)
{
  std::unique_ptr<StartInfo> start(static_cast<StartInfo*>(argument));
  std::shared_ptr<Thread> thread = std::move(start->thread);
  currentThread = thread.get();
  thread->Started(GetCurrentThreadId(), &ThreadWakeWord());
  EndOnExit endOnExit{*thread};
  DWORD code = start->routine(start->parameter);
  if (!thread->TerminationRequested()) {
    thread->SetExitCode(code);
  }
  return nullptr;
}

// The threads CreateThread started that nobody has joined yet. A thread is joined once its
// routine has ended: by a later CreateThread when it has gone, and at exit, so that no thread
// is still freeing its per-thread state (its thread-exit handlers) while the process ends.
struct Unjoined {
  std::mutex lock;
  std::vector<std::pair<pthread_t, std::shared_ptr<Thread>>> threads;
};

Unjoined& UnjoinedThreads()
{
  static Unjoined* unjoined = new Unjoined;  // lives through exit, for the exit handler
  return *unjoined;
}

// How long the exit handler waits in all for ended threads to be gone.
constexpr long kExitJoinSeconds = 5;

void JoinEndedThreadsAtExit()
{
  std::vector<std::pair<pthread_t, std::shared_ptr<Thread>>> ended;
  {
    Unjoined& unjoined = UnjoinedThreads();
    std::lock_guard<std::mutex> held(unjoined.lock);
    std::erase_if(unjoined.threads, [&](auto& entry) {
      if (!entry.second->IsSignalled())
        return false;
      ended.push_back(std::move(entry));
      return true;
    });
  }
  timespec deadline{};
  clock_gettime(CLOCK_REALTIME, &deadline);
  deadline.tv_sec += kExitJoinSeconds;
  for (const auto& [thread, object] : ended)
    pthread_timedjoin_np(thread, nullptr, &deadline);
}

// Keeps the new thread for joining, joining the ended ones that have gone meanwhile.
void KeepForJoining(pthread_t id, std::shared_ptr<Thread> thread)
{
  static std::once_flag handler;
  std::call_once(handler, [] { std::atexit(JoinEndedThreadsAtExit); });
  Unjoined& unjoined = UnjoinedThreads();
  std::lock_guard<std::mutex> held(unjoined.lock);
  std::erase_if(unjoined.threads, [](const auto& entry) {
    return entry.second->IsSignalled() && pthread_tryjoin_np(entry.first, nullptr) == 0;
  });
  unjoined.threads.emplace_back(id, std::move(thread));
}

}  // namespace

void EndThreadIfTerminated()
{
  if (currentThread && currentThread->TerminationRequested()) {
    pthread_exit(nullptr);
  }
}

}  // namespace kernel

// The stack size is left to the system: the device's small stacks do not fit code built with
// the sanitizers, and no caller depends on the limit.
HANDLE CreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE lpStartAddress, LPVOID lpParameter,
                    DWORD dwCreationFlags, LPDWORD lpThreadId)
{
  if (!lpStartAddress || dwCreationFlags != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto thread = std::make_shared<kernel::Thread>();
  HANDLE handle = kernel::InsertHandle(thread);
  if (!handle) {
    return nullptr;
  }
  auto* start = new kernel::StartInfo{thread, lpStartAddress, lpParameter};
  pthread_t id;
  int error = pthread_create(&id, nullptr, kernel::RunThread, start);
  if (error != 0) {
    delete start;
    kernel::RemoveHandle(handle);
    SetLastError(error == EAGAIN ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  kernel::KeepForJoining(id, thread);
  thread->WaitUntilStarted();
  if (lpThreadId) {
    *lpThreadId = thread->Id();
  }
  return handle;
}

void ExitThread(DWORD dwExitCode)
{
  if (kernel::currentThread) {
    kernel::currentThread->SetExitCode(dwExitCode);
  }
  pthread_exit(nullptr);
}

BOOL TerminateThread(HANDLE hThread, DWORD dwExitCode)
{
  auto thread = kernel::LookupHandleAs<kernel::Thread>(hThread);
  if (!thread) {
    return FALSE;
  }
  if (thread.get() == kernel::currentThread) {
    ExitThread(dwExitCode);
  }
  if (!thread->IsSignalled() && !thread->RequestTermination(dwExitCode)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

DWORD ResumeThread(HANDLE hThread)
{
  auto thread = kernel::LookupHandleAs<kernel::Thread>(hThread);
  if (!thread) {
    return 0xFFFFFFFFu;
  }
  return thread->Resume();
}

BOOL GetExitCodeThread(HANDLE hThread, LPDWORD lpExitCode)
{
  auto thread = kernel::LookupHandleAs<kernel::Thread>(hThread);
  if (!thread || !lpExitCode) {
    SetLastError(thread ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  *lpExitCode = thread->ExitCode();
  return TRUE;
}

// The Linux thread id: unique among the running threads of the device.
DWORD GetCurrentThreadId()
{
  thread_local DWORD id = static_cast<DWORD>(syscall(SYS_gettid));
  return id;
}
