// The service's side of one order's hand-off (handoff/order_pay_handoff.h): the block, its view
// and the event, made before the client runs and closed with the object.
#pragma once

#include "base/types.h"
#include "handoff/order_pay_handoff.h"

class HandoffChannel {
 public:
  HandoffChannel() = default;
  ~HandoffChannel() { Close(); }
  HandoffChannel(const HandoffChannel&) = delete;
  HandoffChannel& operator=(const HandoffChannel&) = delete;

  // Makes the block (4095 bytes, mapped whole) and the unsignalled manual-reset event named from
  // the client's process id. false, with nothing kept, when one cannot be made or already
  // exists: an object left by someone else could hold an outcome that is not this order's.
  bool Create(DWORD clientProcessId);
  void Close();

  HANDLE Event() const { return event_; }
  // Once the event is set: resets it and reads the block into header and text (capacity
  // characters, terminator not counted). false, with text empty, for a block the header does
  // not describe.
  bool Take(OrderPayHandoffHeader* header, WCHAR* text, DWORD capacity);

 private:
  HANDLE block_ = nullptr;
  BYTE* view_ = nullptr;
  HANDLE event_ = nullptr;
};
