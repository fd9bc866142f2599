// Who the client is: the phone's identity (read once a run), the client id the gateway knows it
// by, the program's file version and the product name of the resource library.
#include "app_services.h"

#include <new>

#include "kernel/module.h"
#include "log_writer.h"
#include "module_helpers.h"
#include "resource_values.h"

namespace {

// The gateway expects 15 characters in each field; a phone that reports fewer (or none) is
// filled up with the field's own digit.
constexpr int kIdentityDigits = 15;
constexpr int kVersionLength = 64;
constexpr UINT kProductIdString = 136;

void PadField(WCHAR* field, WCHAR fill)
{
  int length = 0;
  while (length < kIdentityDigits && field[length] != 0)
    ++length;
  if (length >= kIdentityDigits)
    return;
  for (; length < kIdentityDigits; ++length)
    field[length] = fill;
  field[kIdentityDigits] = 0;
}

}  // namespace

const DeviceIdentity& CKorvexPortalApp::GetDeviceInfo(DeviceIdentity& identity, CStringW* deviceText)
{
  if (m_strDeviceText.IsEmpty()) {
    auto* line = new (std::nothrow) CTapiLine;
    if (!line || !line->Initialize()) {
      m_strDeviceText = u"korvex";
    } else {
      CDeviceInfo::GetGeneralInfoText(*line, m_identity, m_strDeviceText);
      if (m_strDeviceText.IsEmpty())
        m_strDeviceText = u"korvex";
    }
    delete line;
  }
  if (deviceText)
    *deviceText = m_strDeviceText;
  PadField(m_identity.serialDigits, u'3');
  PadField(m_identity.subscriberDigits, u'1');
  identity = m_identity;
  return identity;
}

CStringW& CKorvexPortalApp::JoinPair(CStringW& clientId)
{
  clientId.Format(u"%s|%s", m_identity.subscriberDigits, m_identity.serialDigits);
  return clientId;
}

CStringW& CKorvexPortalApp::GetVersionText(CStringW& version)
{
  if (m_strVersion.IsEmpty()) {
    WCHAR path[MAX_PATH + 1] = {};
    WCHAR text[kVersionLength] = {};
    if (GetModuleFileNameW(nullptr, path, MAX_PATH) == 0 || !GetFileVersionString(path, text, kVersionLength))
      WRITE_LOG_ENTRY(u"");
    else
      m_strVersion = text;
  }
  version = m_strVersion;
  return version;
}

CStringW& CKorvexPortalApp::ProductIdToText(CStringW& text)
{
  text = LoadResourceString(kProductIdString);
  if (text.IsEmpty())
    text = u"Unknown ProductID";
  return text;
}
