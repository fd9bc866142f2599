// Dialog objects the application has replaced. A dialog may be replaced from inside one of its own
// handlers (a reply it is handling ends the session and opens a new login): its window is closed
// at once, but the object is deleted only once none of its handlers runs any more, at the next
// sweep from the top of the message loop.
#pragma once

#include <memory>
#include <vector>

#include "base_dlg.h"

class CRetiredDialogs {
 public:
  CRetiredDialogs() = default;
  CRetiredDialogs(const CRetiredDialogs&) = delete;
  CRetiredDialogs& operator=(const CRetiredDialogs&) = delete;

  // Closes the dialog's window (when it has one) and deletes the object now when it is handling
  // no message, or keeps it for a later sweep.
  void Retire(std::unique_ptr<CBaseDlg> dialog, int closeResult);
  // Deletes the kept objects that handle no message any more.
  void Sweep();
  // How many objects wait to be deleted.
  size_t Pending() const { return m_dialogs.size(); }

  // Whether one of the dialog's handlers is running (on this thread, further up the stack).
  static bool IsDispatching(const CBaseDlg& dialog) { return dialog.m_pCurrentMsg != nullptr; }

 private:
  std::vector<std::unique_ptr<CBaseDlg>> m_dialogs;
};
