// The per-thread message loops while modal dialogs run: a modal dialog's loop takes the place of
// the thread's loop in the application module for its run, and the loop it replaced comes back
// on every way out of the dialog, failures included.
#pragma once

#include "atl/atl.h"

class ModalLoopScope {
 public:
  // Removes the calling thread's loop from the module (a null module: nothing to do).
  explicit ModalLoopScope(CAppModule* module);
  // Removes the dialog's loop and registers the replaced one again.
  ~ModalLoopScope();
  ModalLoopScope(const ModalLoopScope&) = delete;
  ModalLoopScope& operator=(const ModalLoopScope&) = delete;

  // Registers the loop the dialog runs as the thread's loop.
  void Register(CMessageLoop* loop);

 private:
  CAppModule* m_module;
  CMessageLoop* m_replaced = nullptr;
  CMessageLoop* m_registered = nullptr;
};

// Whether the loop still exists: the thread's registered loop, or one that a modal dialog of the
// thread runs or has taken the place of.
bool IsLiveMessageLoop(const CAppModule* module, const CMessageLoop* loop);
