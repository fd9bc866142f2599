// The windows that take the HTTP replies of the shared box's requests: one hidden child of the
// box for each request, so a reply says by its window which request it answers, and a reply to a
// request the box no longer waits for is known as stale however late it comes.
//
// The HTTP client answers its requests strictly one after another, and the box's thread takes
// the replies in the order they were posted, so once a reply arrives no earlier receiver will be
// answered any more: those windows go then. A receiver is never destroyed while a reply to it
// may still come, so no reply (and its slot) is lost with a window.
#pragma once

#include <deque>
#include <functional>

#include "http_client.h"
#include "windows.h"

class CBoxReplyReceivers {
 public:
  // Called on the box's thread for every reply: the receiver it came to, the HTTP result and
  // the slot holding the text.
  using Handler = std::function<void(HWND receiver, WPARAM result, HttpReplySlot* slot)>;

  // The receivers take the reply message (the one given to the HTTP client).
  CBoxReplyReceivers(UINT replyMessage, Handler handler) : m_replyMessage(replyMessage), m_handler(std::move(handler))
  {
  }
  CBoxReplyReceivers(const CBoxReplyReceivers&) = delete;
  CBoxReplyReceivers& operator=(const CBoxReplyReceivers&) = delete;

  // A new receiver for the next request, on the calling (the box's) thread; null on failure.
  HWND Add(HWND box);
  // Destroys the newest receiver when nothing was queued for it after all.
  void Drop(HWND receiver);
  // Forgets every receiver (their windows went with the box's).
  void Clear() { m_receivers.clear(); }

 private:
  static LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Destroys the receiver and every older one, then hands the reply on.
  void Receive(HWND receiver, WPARAM result, HttpReplySlot* slot);

  UINT m_replyMessage;
  Handler m_handler;
  std::deque<HWND> m_receivers;  // oldest first
};
