// The settings of "appconfig.dat": every value of section "main" is stored as its Base64 text.
// The file reaches the disk only when a caller saves it (the login dialog, the unpaid-trade list).
#include "app_services.h"

#include "ini_file.h"
#include "log_writer.h"
#include "text_helpers.h"

namespace {

constexpr const WCHAR* kConfigFileName = u"appconfig.dat";
constexpr const WCHAR* kMainSection = u"main";

}  // namespace

CIniFile* CKorvexPortalApp::GetConfigFile()
{
  if (!m_pConfig)
    m_pConfig = new CIniFile(kConfigFileName);
  return m_pConfig;
}

BOOL CKorvexPortalApp::GetConfig(const WCHAR* key, CStringW& value)
{
  CIniFile* config = GetConfigFile();
  if (!key)
    return FALSE;
  CStringW stored;
  if (!config->GetValue(kMainSection, key, stored))
    return FALSE;
  if (stored.IsEmpty()) {
    value.Empty();
    return TRUE;
  }
  CStringW decoded;
  if (Base64DecodeString(stored.GetString(), decoded))
    value = decoded;
  else
    WRITE_LOG_ENTRY(u"");
  // A value that does not decode still counts as present; the caller's text stays as it was.
  return TRUE;
}

BOOL CKorvexPortalApp::SetConfig(const WCHAR* key, const CStringW& value)
{
  CIniFile* config = GetConfigFile();
  if (!key)
    return FALSE;
  CStringW encoded;
  if (!Base64EncodeString(value.GetString(), encoded)) {
    WRITE_LOG_ENTRY(u"");
    return FALSE;
  }
  return config->SetValue(kMainSection, key, encoded.GetString());
}
