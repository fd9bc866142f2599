#include "script_heap.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "script_text.h"

namespace kv::html::script {
namespace {

// Each block carries its size in front, for the memory count.
constexpr size_t kHeader = alignof(std::max_align_t);

size_t SizeOf(void* pointer)
{
  size_t size;
  std::memcpy(&size, static_cast<char*>(pointer) - kHeader, sizeof size);
  return size;
}

}  // namespace

ScriptHeap::ScriptHeap(ScriptLimits limits) : limits_(limits), udata_{{&ScriptHeap::Expired}, this}
{
  ctx_ = duk_create_heap(&ScriptHeap::Allocate, &ScriptHeap::Reallocate, &ScriptHeap::Free, &udata_,
                         &ScriptHeap::Fatal);
  if (!ctx_)
    Fatal(nullptr, "the script heap could not be made");
}

ScriptHeap::~ScriptHeap()
{
  duk_destroy_heap(ctx_);
}

ScriptHeap& ScriptHeap::Of(duk_context* ctx)
{
  duk_memory_functions functions;
  duk_get_memory_functions(ctx, &functions);
  return *static_cast<Udata*>(functions.udata)->heap;
}

std::u16string ScriptHeap::Run(const std::function<void(duk_context*)>& body, Clock::time_point latest)
{
  const Clock::time_point outerDeadline = deadline_;
  const int outerPaused = paused_;
  deadline_ = std::min(Clock::now() + limits_.time, latest);
  paused_ = 0;
  ++depth_;
  struct Call {
    const std::function<void(duk_context*)>* body;
  } call{&body};
  const duk_idx_t top = duk_get_top(ctx_);
  const duk_int_t result = duk_safe_call(
      ctx_,
      [](duk_context* ctx, void* udata) -> duk_ret_t {
        (*static_cast<Call*>(udata)->body)(ctx);
        return 0;
      },
      &call, 0, 1);
  std::u16string error;
  if (result != DUK_EXEC_SUCCESS)
    error = TextAt(ctx_, -1);
  duk_set_top(ctx_, top);
  --depth_;
  deadline_ = outerDeadline;
  paused_ = outerPaused;
  return error.empty() && result != DUK_EXEC_SUCCESS ? u"Error" : error;
}

void ScriptHeap::Pause()
{
  if (paused_++ == 0)
    pausedAt_ = Clock::now();
}

void ScriptHeap::Resume()
{
  if (paused_ > 0 && --paused_ == 0 && deadline_ != Clock::time_point::max())
    deadline_ += Clock::now() - pausedAt_;
}

int ScriptHeap::Expired(kv_duktape_budget* budget)
{
  ScriptHeap& heap = *reinterpret_cast<Udata*>(budget)->heap;
  return heap.paused_ == 0 && Clock::now() > heap.deadline_;
}

void* ScriptHeap::Allocate(void* udata, duk_size_t size)
{
  ScriptHeap& heap = *static_cast<Udata*>(udata)->heap;
  if (size > heap.limits_.memory - heap.allocated_ || heap.allocated_ > heap.limits_.memory)
    return nullptr;
  char* block = static_cast<char*>(std::malloc(size + kHeader));
  if (!block)
    return nullptr;
  std::memcpy(block, &size, sizeof size);
  heap.allocated_ += size;
  return block + kHeader;
}

void* ScriptHeap::Reallocate(void* udata, void* pointer, duk_size_t size)
{
  if (!pointer)
    return Allocate(udata, size);
  ScriptHeap& heap = *static_cast<Udata*>(udata)->heap;
  const size_t old = SizeOf(pointer);
  if (size > old && size - old > heap.limits_.memory - heap.allocated_)
    return nullptr;
  char* block = static_cast<char*>(std::realloc(static_cast<char*>(pointer) - kHeader, size + kHeader));
  if (!block)
    return nullptr;
  std::memcpy(block, &size, sizeof size);
  heap.allocated_ = heap.allocated_ - old + size;
  return block + kHeader;
}

void ScriptHeap::Free(void* udata, void* pointer)
{
  if (!pointer)
    return;
  ScriptHeap& heap = *static_cast<Udata*>(udata)->heap;
  heap.allocated_ -= SizeOf(pointer);
  std::free(static_cast<char*>(pointer) - kHeader);
}

void ScriptHeap::Fatal(void*, const char* message)
{
  std::fprintf(stderr, "page script engine: fatal error: %s\n", message ? message : "");
  std::abort();
}

}  // namespace kv::html::script
