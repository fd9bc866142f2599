#include "desktop_count_listener.h"

#include "payment_service.h"

CDesktopCountListener& CDesktopCountListener::Instance()
{
  static CDesktopCountListener listener;
  return listener;
}

void CDesktopCountListener::RegisterWith(CPaymentService* service)
{
  if (!service)
    return;
  // Taken out first, so the facade holds it once.
  service->RemoveListener(this);
  service->AddListener(this);
}

void CDesktopCountListener::Forget(HWND desktop)
{
  HWND expected = desktop;
  m_desktop.compare_exchange_strong(expected, nullptr);
}

int CDesktopCountListener::OnServiceNotify(int code, HRESULT hr, LPARAM value, const WCHAR*)
{
  // A failed count request leaves the caption as it is.
  if (code != kCountCode || FAILED(hr))
    return 0;
  if (HWND desktop = m_desktop.load())
    ::PostMessageW(desktop, WM_KV_DESKTOP_COUNT, static_cast<WPARAM>(value), 0);
  return 0;
}
