// The reply receivers of the shared box.
#include "box_reply_receivers.h"

#include <algorithm>
#include <mutex>

namespace {

constexpr WCHAR kReceiverClass[] = u"KvBoxReplyReceiver";

bool RegisterReceiverClass(WNDPROC proc)
{
  static std::once_flag once;
  static bool registered = false;
  std::call_once(once, [&] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = proc;
    wc.lpszClassName = kReceiverClass;
    registered = RegisterClassW(&wc) != 0;
  });
  return registered;
}

}  // namespace

HWND CBoxReplyReceivers::Add(HWND box)
{
  if (!RegisterReceiverClass(ReceiverProc))
    return nullptr;
  HWND receiver = CreateWindowExW(0, kReceiverClass, u"", WS_CHILD | WS_DISABLED, 0, 0, 0, 0, box, nullptr,
                                  nullptr, nullptr);
  if (!receiver)
    return nullptr;
  SetWindowLongPtrW(receiver, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_receivers.push_back(receiver);
  return receiver;
}

void CBoxReplyReceivers::Drop(HWND receiver)
{
  m_receivers.erase(std::remove(m_receivers.begin(), m_receivers.end(), receiver), m_receivers.end());
  DestroyWindow(receiver);
}

LRESULT CALLBACK CBoxReplyReceivers::ReceiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
  auto* self = reinterpret_cast<CBoxReplyReceivers*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self && message == self->m_replyMessage) {
    self->Receive(hwnd, wParam, reinterpret_cast<HttpReplySlot*>(lParam));
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

void CBoxReplyReceivers::Receive(HWND receiver, WPARAM result, HttpReplySlot* slot)
{
  auto answered = std::find(m_receivers.begin(), m_receivers.end(), receiver);
  if (answered != m_receivers.end()) {
    for (auto it = m_receivers.begin(); it != answered + 1; ++it)
      DestroyWindow(*it);
    m_receivers.erase(m_receivers.begin(), answered + 1);
  }
  m_handler(receiver, result, slot);
}
