#include "state.h"

#include <unistd.h>

#include <algorithm>
#include <string>

#include "kernel/clock.h"
#include "kernel/process.h"
#include "kernel/thread.h"
#include "kernel/wait.h"
#include "window_internal.h"

namespace user_detail {
namespace {

bool ThreadOfProcessAlive(DWORD threadId)
{
  if (threadId == 0)
    return false;
  std::string path = "/proc/self/task/" + std::to_string(threadId);
  return access(path.c_str(), F_OK) == 0;
}

// Tears the thread's part down when the thread ends: its windows go (without messages, the
// thread can no longer run their procedures), senders waiting on it get 0, and nothing more is
// posted to it while it finishes.
void EndThread(const std::shared_ptr<ThreadQueue>& queue)
{
  Lock held(state().lock);
  queue->alive = false;
  auto& ended = state().endedThreads;
  std::erase_if(ended, [](DWORD id) { return !ThreadOfProcessAlive(id); });
  ended.push_back(queue->threadId);
  for (auto& item : queue->sent) {
    item->done = true;
    if (item->sender)
      Wake(*item->sender);
  }
  queue->sent.clear();
  queue->events.clear();
  std::vector<HWND> own;
  for (auto& [generation, window] : state().windows)
    if (window && window->queue == queue && !window->parent)
      own.push_back(window->handle);
  for (auto& [generation, window] : state().windows)
    if (window && window->queue == queue && window->parent && Find(held, window->parent) &&
        Find(held, window->parent)->queue != queue)
      own.push_back(window->handle);
  for (HWND hwnd : own)
    DiscardWindowTree(held, hwnd);
  auto& queues = state().queues;
  queues.erase(std::remove(queues.begin(), queues.end(), queue), queues.end());
  state().idleChanged.notify_all();
}

struct QueueHolder {
  std::shared_ptr<ThreadQueue> queue;
  ~QueueHolder()
  {
    if (queue)
      EndThread(queue);
  }
};
thread_local QueueHolder t_queue;

constexpr uint64_t kIndexBits = 16;
constexpr uint64_t kIndexMask = 0xffff;

}  // namespace

State& state()
{
  static State* shared = new State;
  return *shared;
}

DWORD CurrentThreadId()
{
  return GetCurrentThreadId();
}

DWORD CurrentProcessId()
{
  return GetCurrentProcessId();
}

std::shared_ptr<ThreadQueue> FindQueue(Lock&, DWORD threadId)
{
  for (auto& queue : state().queues)
    if (queue->threadId == threadId)
      return queue;
  return nullptr;
}

std::shared_ptr<ThreadQueue> CurrentQueue(Lock& held)
{
  // The kernel's per-thread wake word must outlive this thread's queue holder, whose end still
  // wakes threads: making a waiter first creates the word before the holder.
  static thread_local bool wordMade = (kernel::Waiter(false), true);
  (void)wordMade;
  if (t_queue.queue)
    return t_queue.queue;
  DWORD id = CurrentThreadId();
  auto queue = FindQueue(held, id);  // made by an early post
  // A thread that ended under this id is gone: this one is new.
  std::erase(state().endedThreads, id);
  if (!queue) {
    queue = std::make_shared<ThreadQueue>();
    queue->threadId = id;
    state().queues.push_back(queue);
  }
  queue->waiter.emplace(false);
  queue->lastLooked = kernel::clock::Now();
  t_queue.queue = queue;
  return queue;
}

std::shared_ptr<ThreadQueue> QueueForPost(Lock& held, DWORD threadId)
{
  if (auto queue = FindQueue(held, threadId))
    return queue;
  if (!ThreadOfProcessAlive(threadId) ||
      std::find(state().endedThreads.begin(), state().endedThreads.end(), threadId) != state().endedThreads.end())
    return nullptr;
  auto queue = std::make_shared<ThreadQueue>();
  queue->threadId = threadId;
  state().queues.push_back(queue);
  return queue;
}

DWORD ProcessOfHandle(HWND hwnd)
{
  return static_cast<DWORD>(reinterpret_cast<uintptr_t>(hwnd) >> 32);
}

bool IsRemoteHandle(HWND hwnd)
{
  DWORD process = ProcessOfHandle(hwnd);
  return process != 0 && process != 0xffffffffu && process != CurrentProcessId();
}

std::shared_ptr<Window> Find(Lock&, HWND hwnd)
{
  uintptr_t value = reinterpret_cast<uintptr_t>(hwnd);
  if (ProcessOfHandle(hwnd) != CurrentProcessId())
    return nullptr;
  size_t index = value & kIndexMask;
  uint16_t generation = static_cast<uint16_t>((value >> kIndexBits) & 0xffff);
  auto& table = state().windows;
  if (index == 0 || index >= table.size() || table[index].first != generation)
    return nullptr;
  return table[index].second;
}

HWND AllocateHandle(Lock&, std::shared_ptr<Window> window)
{
  auto& table = state().windows;
  if (table.empty())
    table.emplace_back(0, nullptr);  // index 0 is never a window
  size_t index;
  if (!state().freeSlots.empty()) {
    index = state().freeSlots.front();
    state().freeSlots.pop_front();
  } else {
    if (table.size() > kIndexMask)
      return nullptr;
    index = table.size();
    table.emplace_back(0, nullptr);
  }
  uint16_t generation = static_cast<uint16_t>(table[index].first + 1);
  if (generation == 0)
    generation = 1;
  table[index] = {generation, std::move(window)};
  uintptr_t value = (static_cast<uintptr_t>(CurrentProcessId()) << 32) |
                    (static_cast<uintptr_t>(generation) << kIndexBits) | index;
  return reinterpret_cast<HWND>(value);
}

void ReleaseHandle(Lock&, HWND hwnd)
{
  size_t index = reinterpret_cast<uintptr_t>(hwnd) & kIndexMask;
  auto& table = state().windows;
  if (index == 0 || index >= table.size())
    return;
  table[index].second = nullptr;
  // Oldest freed slot first, so a stale handle's slot is reused as late as possible.
  state().freeSlots.push_back(static_cast<uint32_t>(index));
}

std::vector<HWND>& SiblingList(Lock& held, Window& window)
{
  if (window.parent)
    if (auto parent = Find(held, window.parent))
      return parent->children;
  return state().topLevel;
}

HWND TopLevelOf(Lock& held, HWND hwnd)
{
  auto window = Find(held, hwnd);
  while (window && window->parent) {
    auto parent = Find(held, window->parent);
    if (!parent)
      break;
    window = parent;
  }
  return window ? window->handle : nullptr;
}

bool IsDescendant(Lock& held, HWND ancestor, HWND hwnd)
{
  auto window = Find(held, hwnd);
  while (window && window->parent) {
    if (window->parent == ancestor)
      return true;
    window = Find(held, window->parent);
  }
  return false;
}

void Wake(ThreadQueue& queue)
{
  if (queue.alive && queue.waiter)
    queue.waiter->Wake();
  if (queue.alive && queue.objectsWaiter)
    queue.objectsWaiter->Wake();
  state().idleChanged.notify_all();
}

void BlockQueue(Lock& held, ThreadQueue& queue, uint64_t due)
{
  // Read under the lock: a Wake for work queued after this point ends the block at once.
  kernel::Waiter& waiter = *queue.waiter;  // only the owning thread blocks on its queue
  uint32_t seen = waiter.Count();
  uint64_t now = kernel::clock::Now();
  if (due <= now)
    return;
  held.unlock();
  {
    DWORD milliseconds = due == UINT64_MAX ? INFINITE : static_cast<DWORD>(std::min<uint64_t>(due - now, INFINITE - 1));
    kernel::clock::Timeout timeout(milliseconds, waiter);
    // The virtual clock may have moved before the time-out was registered with it.
    if (kernel::clock::Now() < due)
      waiter.Block(seen, timeout.RealWait());
  }
  held.lock();
}

}  // namespace user_detail
