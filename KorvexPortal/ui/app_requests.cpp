// The application object's start-up, settings, identity and request operations. Placeholders
// that keep every caller building; the application shell's work replaces them.
#include "app_services.h"

int CKorvexPortalApp::Init(HINSTANCE instance)
{
  return CAppModule::Init(nullptr, instance) == S_OK ? 0 : -1;
}

HMODULE CKorvexPortalApp::LoadModelResources()
{
  return nullptr;
}

void CKorvexPortalApp::ParseCommandLine(const CStringW&) {}

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

CIniFile* CKorvexPortalApp::GetConfigFile()
{
  return m_pConfig;
}

BOOL CKorvexPortalApp::GetConfig(const WCHAR*, CStringW&)
{
  return FALSE;
}

BOOL CKorvexPortalApp::SetConfig(const WCHAR*, const CStringW&)
{
  return FALSE;
}

const DeviceIdentity& CKorvexPortalApp::GetDeviceInfo(DeviceIdentity& identity, CStringW* deviceText)
{
  identity = m_identity;
  if (deviceText)
    *deviceText = m_strDeviceText;
  return identity;
}

CStringW& CKorvexPortalApp::JoinPair(CStringW& clientId)
{
  clientId.Format(u"%s|%s", m_identity.subscriberDigits, m_identity.serialDigits);
  return clientId;
}

CStringW& CKorvexPortalApp::GetVersionText(CStringW& version)
{
  version = m_strVersion;
  return version;
}

CStringW& CKorvexPortalApp::ProductIdToText(CStringW& text)
{
  text = u"Unknown ProductID";
  return text;
}

int CKorvexPortalApp::SendRequestAndWait(HWND, UINT, const CStringW&, const CStringW&, CStringW, UINT, int)
{
  return 1002;
}

int CKorvexPortalApp::OnSessionResult(CResponseMap&)
{
  return 0;
}

int CKorvexPortalApp::SubmitActivation(IServiceListener*)
{
  return 0;
}

int HandleCommonStatus(int, const CStringW&)
{
  return 0;
}
