// Another copy of the client on the same device, for the message box's cross-process test: an
// order-pay run beside the client. It makes its own application object and shared box, arms
// the box's wait and ends it, and closes the box. Exit status 0 when each step worked.
#include <cstdlib>

#include "app_services.h"
#include "kernel/entry.h"
#include "testing/ui_harness.h"
#include "thread_message_box.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
  if (!std::getenv("KORVEX_DEVICE_ROOT"))
    return 2;
  kvtest::SetScreenSize(240, 320);
  CKorvexPortalApp app;
  app.SetResourceLibrary(LoadLibraryW(u"ModelRes_240x320"));
  CThreadMessageBox& box = CThreadMessageBox::Instance();
  if (!box.HasWindow())
    return 3;
  box.ArmWait();
  box.EndWait();
  CThreadMessageBox::DestroyInstance();
  return 0;
}
