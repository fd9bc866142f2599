#include "program_entry.h"

#include "com/init.h"
#include "html/html_viewer.h"
#include "html/web_browser.h"
#include "korvex_portal_dialog.h"
#include "log_writer.h"
#include "selvane/selvane.h"
#include "shell/dialog.h"

namespace {

constexpr const WCHAR* kAxHostClasses[] = {u"AtlAxWin80", u"AtlAxWinLic80"};

}  // namespace

void StartClientServices(CKorvexPortalShellApp& app, HINSTANCE instance)
{
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);
  SHInitExtraControls();
  app.Init(instance);
  AtlAxWinInit();
  InitHTMLControl(instance);
  if (!SelvaneInitialize(0))
    WRITE_LOG_ENTRY(u"");
}

void StopClientServices(CKorvexPortalShellApp& app)
{
  for (const WCHAR* className : kAxHostClasses)
    UnregisterClassW(className, app.GetModuleInstance());
  app.Term();
  SelvaneUninitialize();
  CoUninitialize();
}

int RunClientProgram(CKorvexPortalShellApp& app, HINSTANCE instance, const WCHAR* commandLine, int showCommand)
{
  CStringW line = commandLine ? commandLine : u"";
  if (!IsOrderPayCommandLine(line) && CKorvexPortalDialog::ActivatePreviousInstance(instance, line))
    return 1;

  StartClientServices(app, instance);
  if (app.GetResourceLibrary()) {
    app.Run(line, showCommand);
  } else {
    // No screen can be made from templates: the user learns why nothing shows.
    WRITE_LOG_ENTRY(u"no screen-size resource library: the client cannot show its screens");
    MessageBoxW(nullptr, u"缺少界面资源文件，请重新安装 Korvex 钱包。", u"Korvex 钱包", MB_OK | MB_ICONERROR);
  }

  StopClientServices(app);
  // The process ends here with 0 whatever the run gave; the order-pay result travels in the
  // hand-off block.
  TerminateProcess(GetCurrentProcess(), 0);
  return 0;
}
