// The unread-message count listener of the program: registered with the service facade when the
// desktop becomes active and kept for the run. It takes only the count replies (code 32) and
// posts each count to the desktop it points at, whose user-interface thread sets the caption.
#pragma once

#include <atomic>

#include "service_listener.h"
#include "windows.h"

class CPaymentService;

// Posted to the desktop with a new unread count in wParam.
#define WM_KV_DESKTOP_COUNT 0x626

class CDesktopCountListener : public IServiceListener {
 public:
  static constexpr int kCountCode = 32;

  static CDesktopCountListener& Instance();

  // Registers the listener with the facade, once however often it is called.
  void RegisterWith(CPaymentService* service);
  // The desktop that takes the counts from now on; Forget clears it when it is that desktop.
  void PointAt(HWND desktop) { m_desktop = desktop; }
  void Forget(HWND desktop);

  int OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR* memo) override;

 private:
  CDesktopCountListener() = default;

  std::atomic<HWND> m_desktop{nullptr};
};
