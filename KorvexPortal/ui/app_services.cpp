// The application object's module registration and resource library.
#include "app_services.h"

#include <atomic>

namespace {

std::atomic<CKorvexPortalApp*> g_app{nullptr};

}  // namespace

CKorvexPortalApp::CKorvexPortalApp()
{
  g_app = this;
}

CKorvexPortalApp::~CKorvexPortalApp()
{
  CKorvexPortalApp* self = this;
  g_app.compare_exchange_strong(self, nullptr);
}

void CKorvexPortalApp::SetResourceLibrary(HMODULE library)
{
  HINSTANCE previous = SetResourceInstance(library);
  if (!m_hPreviousResourceInstance)
    m_hPreviousResourceInstance = previous;
  m_hResourceLibrary = library;
}

CKorvexPortalApp* GetKorvexPortalApp()
{
  return g_app.load();
}
