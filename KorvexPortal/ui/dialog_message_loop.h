// The message loop of a modal dialog: the class library's loop with a dialog's rules. Messages
// addressed to the dialog's parent go to the dialog; a message that no filter took goes through
// the dialog's keyboard navigation; the release of a soft key (F1, F2) inside the dialog also
// reaches the dialog itself.
#pragma once

#include "atl/atl.h"

class CDialogMessageLoop : public CMessageLoop {
 public:
  CDialogMessageLoop(HWND dialog, HWND parent) : m_hWndDialog(dialog), m_hWndParent(parent) {}

  // Runs until WM_QUIT and returns its wParam. A loop whose dialog window is gone also ends once
  // its queue has run dry, so it never runs on for a dialog that no longer exists.
  int Run();
  // Ends the loop with the result: by posting WM_QUIT when it is the thread's current loop, or,
  // when a loop nested in it runs, as soon as that one has returned.
  void Quit(int result, const CAppModule* module);

  HWND m_hWndDialog;
  HWND m_hWndParent;

 private:
  // Keyboard navigation for the dialog; TRUE when the message was dispatched.
  BOOL PreTranslateDialogMessage(MSG* pMsg);

  bool m_bQuitPending = false;
  int m_quitResult = 0;
};
