// Window procedures: closures behind WNDPROC values, CallWindowProc and the record of how
// each message reached a procedure.
#include <algorithm>
#include <memory>
#include <unordered_map>
#include <vector>

#include "internal/user/test_hooks.h"
#include "window_internal.h"

namespace user_detail {
namespace {

// Closure values are addresses inside this block: data, so never a function's address.
constexpr size_t kClosureSlots = 1 << 20;
char g_closureSpace[kClosureSlots];

struct ClosureTable {
  std::mutex lock;
  std::unordered_map<size_t, std::shared_ptr<WindowProcFunction>> closures;
  size_t next = 0;
};

ClosureTable& closures()
{
  static ClosureTable* table = new ClosureTable;
  return *table;
}

bool IsClosure(WNDPROC proc)
{
  auto address = reinterpret_cast<uintptr_t>(proc);
  auto base = reinterpret_cast<uintptr_t>(g_closureSpace);
  return address >= base && address < base + kClosureSlots;
}

std::shared_ptr<WindowProcFunction> ClosureOf(WNDPROC proc)
{
  size_t slot = reinterpret_cast<uintptr_t>(proc) - reinterpret_cast<uintptr_t>(g_closureSpace);
  std::lock_guard<std::mutex> guard(closures().lock);
  auto it = closures().closures.find(slot);
  return it == closures().closures.end() ? nullptr : it->second;
}

struct Frame {
  HWND hwnd;
  unsigned delivery;
  bool defaultProc;
};

// The procedure calls in progress on this thread, innermost last. Plain storage, so that it
// outlives every other thread-local object (procedures may run while a thread ends); frames
// nested deeper than the array are counted but not kept.
constexpr int kMaxFrames = 128;
thread_local Frame t_frames[kMaxFrames];
thread_local int t_depth = 0;

const Frame* Innermost()
{
  return t_depth > 0 && t_depth <= kMaxFrames ? &t_frames[t_depth - 1] : nullptr;
}

struct FrameScope {
  explicit FrameScope(Frame frame)
  {
    if (t_depth < kMaxFrames)
      t_frames[t_depth] = frame;
    ++t_depth;
  }
  ~FrameScope() { --t_depth; }
};

}  // namespace

LRESULT Deliver(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, unsigned delivery)
{
  WNDPROC proc;
  {
    Lock held(state().lock);
    auto window = Find(held, hwnd);
    if (!window)
      return 0;
    proc = window->proc;
  }
  if (const Frame* inner = Innermost(); inner && inner->defaultProc && inner->hwnd == hwnd)
    delivery |= user_test::defwinproc;
  FrameScope frame({hwnd, delivery, false});
  return CallWindowProcW(proc, hwnd, message, wParam, lParam);
}

DefaultProcScope::DefaultProcScope(HWND hwnd)
{
  if (t_depth < kMaxFrames)
    t_frames[t_depth] = Frame{hwnd, 0, true};
  ++t_depth;
}

DefaultProcScope::~DefaultProcScope()
{
  --t_depth;
}

}  // namespace user_detail

using namespace user_detail;

WNDPROC MakeWindowProc(WindowProcFunction function)
{
  auto shared = std::make_shared<WindowProcFunction>(std::move(function));
  std::lock_guard<std::mutex> guard(closures().lock);
  auto& table = closures();
  if (table.closures.size() >= kClosureSlots)
    return nullptr;
  // Slots are handed out in turn, so a freed closure's value comes back as late as possible.
  while (table.closures.count(table.next))
    table.next = (table.next + 1) % kClosureSlots;
  size_t slot = table.next;
  table.next = (table.next + 1) % kClosureSlots;
  table.closures.emplace(slot, std::move(shared));
  return reinterpret_cast<WNDPROC>(reinterpret_cast<uintptr_t>(g_closureSpace) + slot);
}

void FreeWindowProc(WNDPROC proc)
{
  if (!IsClosure(proc))
    return;
  size_t slot = reinterpret_cast<uintptr_t>(proc) - reinterpret_cast<uintptr_t>(g_closureSpace);
  std::shared_ptr<WindowProcFunction> released;  // destroyed after the table's lock is let go
  std::lock_guard<std::mutex> guard(closures().lock);
  auto it = closures().closures.find(slot);
  if (it != closures().closures.end()) {
    released = std::move(it->second);
    closures().closures.erase(it);
  }
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  if (!proc)
    return 0;
  if (IsClosure(proc)) {
    auto function = ClosureOf(proc);  // kept alive for the call even if freed meanwhile
    return function && *function ? (*function)(hwnd, message, wParam, lParam) : 0;
  }
  return proc(hwnd, message, wParam, lParam);
}

BOOL InSendMessage()
{
  Lock held(state().lock);
  auto queue = CurrentQueue(held);
  return !queue->handling.empty();
}

unsigned user_test::CurrentDelivery()
{
  for (int i = std::min(t_depth, kMaxFrames) - 1; i >= 0; --i)
    if (!t_frames[i].defaultProc)
      return t_frames[i].delivery;
  return 0;
}
