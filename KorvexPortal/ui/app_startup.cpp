// The application object's start-up: the module, the command line, the screen-size resource
// library, the widget library's path and the service facade.
#include "app_services.h"

#include "log_writer.h"
#include "module_helpers.h"
#include "payment_service.h"
#include "split_words.h"
#include "user/metrics.h"

namespace {

// The product the gateway knows the client as.
constexpr const WCHAR* kProductId = u"KORVEX_WM_PPC";

}  // namespace

int CKorvexPortalApp::Init(HINSTANCE instance)
{
  int result = CAppModule::Init(nullptr, instance) == S_OK ? 0 : -1;

  ParseCommandLine(GetCommandLineW());

  HMODULE library = LoadModelResources();
  if (!library) {
    WRITE_LOG_ENTRY(u"");
    result = -1;
  }
  SetResourceLibrary(library);

  m_strWidgetLibraryPath = GetModuleDirectory(nullptr) + u"WidgetRes.dll";

  DeviceIdentity identity{};
  GetDeviceInfo(identity);
  CStringW clientId;
  JoinPair(clientId);
  if (!m_pPaymentService) {
    m_pPaymentService = RegisterServiceCommands(kProductId, clientId.GetString());
    m_pOwnedPaymentService = m_pPaymentService;
  }
  return result;
}

HMODULE CKorvexPortalApp::LoadModelResources()
{
  CStringW folder = GetModuleDirectory(nullptr);
  CStringW name;
  // Width first: a device started in landscape asks for its landscape library.
  name.Format(u"ModelRes_%dx%d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  if (HMODULE library = LoadLibraryWrapper((folder + name).GetString()))
    return library;
  return LoadLibraryWrapper((folder + u"ModelRes_240x320.dll").GetString());
}

void CKorvexPortalApp::ParseCommandLine(const CStringW& commandLine)
{
  for (const CStringW& word : SplitWords(commandLine, -1)) {
    // Two pieces at most: later colons stay in the value ("/ORDERPAY:a:b" gives "a:b").
    std::vector<CStringW> parts = SplitOnChar(word, u':', 2);
    if (parts.size() == 1)
      m_commandLine[parts[0]] = CStringW();
    else if (parts.size() == 2)
      m_commandLine[parts[0]] = parts[1];
  }
}

bool CKorvexPortalApp::GetCommandLineValue(const CStringW& key, CStringW& value) const
{
  auto found = m_commandLine.find(key);
  if (found == m_commandLine.end())
    return false;
  value = found->second;
  return true;
}

bool CKorvexPortalApp::GetResourceDllPath(CStringW& path) const
{
  path = m_strWidgetLibraryPath;
  return !path.IsEmpty();
}
