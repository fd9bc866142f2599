// The kernel object model shared by the pieces of the layer. Every object a handle can name
// derives from Object; objects a wait can name derive from Waitable. Objects of this process
// derive from LocalWaitable, which wakes the threads that wait on them.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <vector>

namespace kernel {

struct WakeWord;

class Object {
 public:
  virtual ~Object() = default;
  // FALSE for objects that have their own closing call (FindClose, FreeLibrary): CloseHandle
  // refuses them.
  virtual bool ClosedByCloseHandle() const { return true; }
};

// One thread blocked in a wait. Whatever may end the wait (a change of an object's state, the
// virtual clock) calls Wake; the thread then checks its objects again. A waiter on any
// device-wide object sleeps on the device's wake word, which every device-wide change bumps.
class Waiter {
 public:
  explicit Waiter(bool deviceWide);
  Waiter(const Waiter&) = delete;
  Waiter& operator=(const Waiter&) = delete;

  // The current wake count; read before checking the objects.
  uint32_t Count() const;
  // Blocks until a Wake after Count() returned seen, or until realMilliseconds passed
  // (negative: no limit). May return early; the caller checks again.
  void Block(uint32_t seen, int64_t realMilliseconds) const;
  void Wake() const;

 private:
  WakeWord* word_;
  bool deviceWide_;
};

class Waitable : public Object {
 public:
  // Whether the object is signalled now, without taking it.
  virtual bool IsSignalled() const = 0;
  // Takes the object when it is signalled: an auto-reset event resets, a thread or process
  // that ended stays signalled. Returns whether it was signalled.
  virtual bool TryAcquire() = 0;
  // Gives back what TryAcquire took (a wait for all objects that could not take them all).
  virtual void Undo() {}
  // Registers a waiter to be woken whenever the object may have become signalled.
  virtual void Subscribe(Waiter& waiter) = 0;
  virtual void Unsubscribe(Waiter& waiter) = 0;
  // Device-wide objects change in other processes; their waiters sleep on the wake word.
  virtual bool IsDeviceWide() const { return false; }
};

// A waitable object of this process. Subclasses call NotifyWaiters after a change that may
// signal them.
class LocalWaitable : public Waitable {
 public:
  void Subscribe(Waiter& waiter) override;
  void Unsubscribe(Waiter& waiter) override;

 protected:
  void NotifyWaiters();

 private:
  std::mutex mutex_;
  std::vector<Waiter*> waiters_;
};

}  // namespace kernel
