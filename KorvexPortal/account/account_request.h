// One facade request of an account screen behind the shared wait box: a listener that keeps the
// answer of the screen's own operation only (the unread counts of the desktop and every other
// operation are ignored before anything is stored), the wait box while it runs, and a cancel of
// the command when the user cancels the box.
#pragma once

#include <functional>

#include "text/cstring.h"

class CServiceCommand;

struct AccountAnswer {
  enum Outcome {
    kAnswered,    // the operation answered: status and memo hold its answer
    kCancelled,   // the user cancelled the wait (or no answer came): nothing more to do
    kNotStarted,  // no command was made: nothing was sent
  };
  Outcome outcome = kNotStarted;
  // 100 for the success code; the reply's status for a refusal; 0 for a transport failure.
  int status = 0;
  CStringW memo;
};

// Runs start() behind the wait box with the text, listening for the operation's success code and
// failure code only.
AccountAnswer RunAccountRequest(int successCode, int failureCode, const std::function<CServiceCommand*()>& start,
                                const CStringW& waitText);

// The memo, or the network text when the failure came without one.
CStringW FailureText(const CStringW& memo);
