// A script engine heap with the limits a page's scripts run under: each run (a script block, an
// event handler, a timer, a call from the program) has a time of its own, and the heap a
// memory limit. A run that goes over its time is stopped with an error that no catch in the
// script can hold back; an allocation over the limit fails as running out of memory does.
#pragma once

#include <duktape.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

#include "kv_duktape.h"

namespace kv::html::script {

struct ScriptLimits {
  std::chrono::milliseconds time{2000};
  size_t memory = 32u << 20;
};

class ScriptHeap {
 public:
  explicit ScriptHeap(ScriptLimits limits);
  ~ScriptHeap();
  ScriptHeap(const ScriptHeap&) = delete;
  ScriptHeap& operator=(const ScriptHeap&) = delete;

  duk_context* Context() const { return ctx_; }

  // Runs `body` with the engine's errors caught, under a time of its own that ends no later than
  // `latest`; a run inside a run (a call made while a script waits on a message box) gets its own
  // time too. `body` may leave values on the stack; they are dropped. Returns the error's text,
  // or empty when none.
  using Clock = std::chrono::steady_clock;
  std::u16string Run(const std::function<void(duk_context*)>& body, Clock::time_point latest = Clock::time_point::max());
  // The time each run has.
  std::chrono::milliseconds RunTime() const { return limits_.time; }
  // How many runs are under way.
  int Depth() const { return depth_; }

  // The time spent between Pause and Resume (waiting for the user) is not counted.
  void Pause();
  void Resume();

  // The heap a context belongs to, and the object its native functions work for.
  static ScriptHeap& Of(duk_context* ctx);
  void SetOwner(void* owner) { owner_ = owner; }
  void* Owner() const { return owner_; }

 private:
  struct Udata {
    kv_duktape_budget budget;  // first: the engine finds it at the udata's address
    ScriptHeap* heap;
  };

  static int Expired(kv_duktape_budget* budget);
  static void* Allocate(void* udata, duk_size_t size);
  static void* Reallocate(void* udata, void* pointer, duk_size_t size);
  static void Free(void* udata, void* pointer);
  static void Fatal(void* udata, const char* message);

  ScriptLimits limits_;
  Udata udata_;
  void* owner_ = nullptr;
  duk_context* ctx_ = nullptr;
  size_t allocated_ = 0;
  int depth_ = 0;
  Clock::time_point deadline_ = Clock::time_point::max();
  Clock::time_point pausedAt_{};
  int paused_ = 0;
};

}  // namespace kv::html::script
