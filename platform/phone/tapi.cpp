#include "phone/tapi.h"

#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "kernel/device_settings.h"
#include "kernel/event.h"
#include "kernel/handle.h"
#include "kernel/handle_table.h"

namespace {

constexpr char16_t kLineName[] = u"Cellular Line";
constexpr DWORD kLowestApiVersion = 0x00010004;
constexpr DWORD kExtVersion = 0x00010000;
constexpr LINEEXTENSIONID kExtensionId = {0x0E52A5C1, 0x4D7B1F20, 0x9A3C6E11, 0x5B21D0F4};
constexpr DWORD kMediaModes = LINEMEDIAMODE_INTERACTIVEVOICE | LINEMEDIAMODE_DATAMODEM | LINEMEDIAMODE_UNKNOWN;

// A registered telephony application: its line devices as counted when it registered, its event
// and its open lines.
struct LineApp : kernel::Object {
  bool ClosedByCloseHandle() const override { return false; }

  DWORD deviceCount = 0;
  HANDLE event = nullptr;
  std::mutex mutex;  // guards what follows
  bool shutDown = false;
  std::vector<HLINE> lines;
};

struct Line : kernel::Object {
  bool ClosedByCloseHandle() const override { return false; }

  HLINEAPP app = nullptr;
};

std::shared_ptr<LineApp> FindApp(HLINEAPP app) {
  return std::dynamic_pointer_cast<LineApp>(kernel::LookupHandle(reinterpret_cast<HANDLE>(app)));
}

std::shared_ptr<Line> FindLine(HLINE line) {
  return std::dynamic_pointer_cast<Line>(kernel::LookupHandle(reinterpret_cast<HANDLE>(line)));
}

// The phone's general information, in the order of LINEGENERALINFO; a field the settings leave
// out, or leave empty, is missing.
struct GeneralInfoTexts {
  std::u16string texts[5];
};

std::optional<GeneralInfoTexts> ReadPhone() {
  const std::optional<device::PhoneIdentity>& phone = device::Settings().phone;
  if (!phone) return std::nullopt;
  GeneralInfoTexts info;
  const std::optional<std::u16string>* fields[] = {&phone->manufacturer, &phone->model, &phone->revision,
                                                   &phone->serialNumber, &phone->subscriberNumber};
  for (size_t i = 0; i < 5; ++i) info.texts[i] = fields[i]->value_or(std::u16string());
  return info;
}

bool IsSupportedApiVersion(DWORD version) { return version >= kLowestApiVersion && version <= TAPI_CURRENT_VERSION; }

// Checks the application and device for a call on one line device.
LONG CheckDevice(HLINEAPP hLineApp, DWORD dwDeviceID) {
  const std::shared_ptr<LineApp> app = FindApp(hLineApp);
  if (!app) return LINEERR_INVALAPPHANDLE;
  if (dwDeviceID >= app->deviceCount) return LINEERR_BADDEVICEID;
  return 0;
}

// Writes texts after a variable-size structure's fixed part. Each text is UTF-16 with its
// terminator; a missing (empty) text gets size and offset 0.
class VariablePart {
 public:
  // The caller has checked that the texts fit.
  VariablePart(void* structure, DWORD fixedSize) : base_(static_cast<BYTE*>(structure)), used_(fixedSize) {}

  static DWORD SizeOf(const std::u16string& text) {
    return text.empty() ? 0 : static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
  }

  void Place(const std::u16string& text, DWORD& size, DWORD& offset) {
    size = offset = 0;
    if (text.empty()) return;
    size = SizeOf(text);
    offset = used_;
    std::memcpy(base_ + used_, text.c_str(), size);
    used_ += size;
  }

  DWORD Used() const { return used_; }

 private:
  BYTE* base_;
  DWORD used_;
};

}  // namespace

LONG lineInitializeEx(LPHLINEAPP lphLineApp, HINSTANCE /*hInstance*/, LINECALLBACK lpfnCallback,
                      LPCWSTR /*lpszFriendlyAppName*/, LPDWORD lpdwNumDevs, LPDWORD lpdwAPIVersion,
                      LPLINEINITIALIZEEXPARAMS lpLineInitializeExParams) {
  if (lphLineApp == nullptr || lpdwNumDevs == nullptr || lpdwAPIVersion == nullptr ||
      lpLineInitializeExParams == nullptr) {
    return LINEERR_INVALPOINTER;
  }
  LINEINITIALIZEEXPARAMS& params = *lpLineInitializeExParams;
  if (params.dwTotalSize < sizeof(LINEINITIALIZEEXPARAMS)) return LINEERR_STRUCTURETOOSMALL;
  if (params.dwOptions != LINEINITIALIZEEXOPTION_USEEVENT || lpfnCallback != nullptr) return LINEERR_INVALPARAM;
  if (*lpdwAPIVersion < kLowestApiVersion) return LINEERR_INCOMPATIBLEAPIVERSION;

  auto app = std::make_shared<LineApp>();
  app->deviceCount = ReadPhone().has_value() ? 1 : 0;
  app->event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (app->event == nullptr) return LINEERR_NOMEM;
  const HANDLE handle = kernel::InsertHandle(app);
  if (handle == nullptr) {
    CloseHandle(app->event);
    return LINEERR_NOMEM;
  }
  params.dwNeededSize = params.dwUsedSize = sizeof(LINEINITIALIZEEXPARAMS);
  params.Handles.hEvent = app->event;
  *lphLineApp = reinterpret_cast<HLINEAPP>(handle);
  *lpdwNumDevs = app->deviceCount;
  *lpdwAPIVersion = TAPI_CURRENT_VERSION;
  return 0;
}

LONG lineShutdown(HLINEAPP hLineApp) {
  const std::shared_ptr<LineApp> app = FindApp(hLineApp);
  if (!app) return LINEERR_INVALAPPHANDLE;
  kernel::RemoveHandle(reinterpret_cast<HANDLE>(hLineApp));
  std::lock_guard<std::mutex> lock(app->mutex);
  app->shutDown = true;
  for (HLINE line : app->lines) kernel::RemoveHandle(reinterpret_cast<HANDLE>(line));
  app->lines.clear();
  CloseHandle(app->event);
  return 0;
}

LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion, DWORD dwAPIHighVersion,
                             LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID) {
  if (const LONG checked = CheckDevice(hLineApp, dwDeviceID)) return checked;
  if (lpdwAPIVersion == nullptr || lpExtensionID == nullptr) return LINEERR_INVALPOINTER;
  if (dwAPILowVersion > dwAPIHighVersion || dwAPIHighVersion < kLowestApiVersion ||
      dwAPILowVersion > TAPI_CURRENT_VERSION) {
    return LINEERR_INCOMPATIBLEAPIVERSION;
  }
  *lpdwAPIVersion = dwAPIHighVersion < TAPI_CURRENT_VERSION ? dwAPIHighVersion : TAPI_CURRENT_VERSION;
  *lpExtensionID = kExtensionId;
  return 0;
}

LONG lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtLowVersion,
                             DWORD dwExtHighVersion, LPDWORD lpdwExtVersion) {
  if (const LONG checked = CheckDevice(hLineApp, dwDeviceID)) return checked;
  if (lpdwExtVersion == nullptr) return LINEERR_INVALPOINTER;
  if (!IsSupportedApiVersion(dwAPIVersion)) return LINEERR_INCOMPATIBLEAPIVERSION;
  if (dwExtLowVersion > kExtVersion || dwExtHighVersion < kExtVersion) return LINEERR_INCOMPATIBLEEXTVERSION;
  *lpdwExtVersion = kExtVersion;
  return 0;
}

LONG lineGetDevCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtVersion,
                    LPLINEDEVCAPS lpLineDevCaps) {
  if (const LONG checked = CheckDevice(hLineApp, dwDeviceID)) return checked;
  if (lpLineDevCaps == nullptr) return LINEERR_INVALPOINTER;
  if (!IsSupportedApiVersion(dwAPIVersion)) return LINEERR_INCOMPATIBLEAPIVERSION;
  if (dwExtVersion != 0 && dwExtVersion != kExtVersion) return LINEERR_INCOMPATIBLEEXTVERSION;
  const DWORD total = lpLineDevCaps->dwTotalSize;
  if (total < sizeof(LINEDEVCAPS)) return LINEERR_STRUCTURETOOSMALL;

  const std::u16string name = kLineName;
  LINEDEVCAPS caps{};
  caps.dwTotalSize = total;
  caps.dwNeededSize = sizeof(LINEDEVCAPS) + VariablePart::SizeOf(name);
  caps.dwPermanentLineID = dwDeviceID + 1;
  caps.dwStringFormat = STRINGFORMAT_UNICODE;
  caps.dwAddressModes = LINEADDRESSMODE_ADDRESSID;
  caps.dwNumAddresses = 1;
  caps.dwBearerModes = LINEBEARERMODE_VOICE | LINEBEARERMODE_DATA;
  caps.dwMediaModes = kMediaModes;
  caps.dwMaxNumActiveCalls = 1;
  VariablePart texts(lpLineDevCaps, sizeof(LINEDEVCAPS));
  if (total >= caps.dwNeededSize) texts.Place(name, caps.dwLineNameSize, caps.dwLineNameOffset);
  caps.dwUsedSize = texts.Used();
  std::memcpy(lpLineDevCaps, &caps, sizeof caps);
  return 0;
}

LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD dwExtVersion,
              DWORD_PTR /*dwCallbackInstance*/, DWORD dwPrivileges, DWORD dwMediaModes, const void* /*lpCallParams*/) {
  const std::shared_ptr<LineApp> app = FindApp(hLineApp);
  if (!app) return LINEERR_INVALAPPHANDLE;
  if (dwDeviceID >= app->deviceCount) return LINEERR_BADDEVICEID;
  if (lphLine == nullptr) return LINEERR_INVALPOINTER;
  if (!IsSupportedApiVersion(dwAPIVersion)) return LINEERR_INCOMPATIBLEAPIVERSION;
  if (dwExtVersion != 0 && dwExtVersion != kExtVersion) return LINEERR_INCOMPATIBLEEXTVERSION;
  // NONE alone, or MONITOR and OWNER in any combination.
  const bool privilegesValid =
      dwPrivileges == LINECALLPRIVILEGE_NONE ||
      (dwPrivileges != 0 && (dwPrivileges & ~(LINECALLPRIVILEGE_MONITOR | LINECALLPRIVILEGE_OWNER)) == 0);
  if (!privilegesValid) return LINEERR_INVALPRIVSELECT;
  if ((dwPrivileges & LINECALLPRIVILEGE_OWNER) && (dwMediaModes == 0 || (dwMediaModes & ~kMediaModes) != 0)) {
    return LINEERR_INVALMEDIAMODE;
  }

  auto line = std::make_shared<Line>();
  line->app = hLineApp;
  std::lock_guard<std::mutex> lock(app->mutex);
  if (app->shutDown) return LINEERR_INVALAPPHANDLE;
  const HANDLE handle = kernel::InsertHandle(line);
  if (handle == nullptr) return LINEERR_NOMEM;
  app->lines.push_back(reinterpret_cast<HLINE>(handle));
  *lphLine = reinterpret_cast<HLINE>(handle);
  return 0;
}

LONG lineClose(HLINE hLine) {
  const std::shared_ptr<Line> line = FindLine(hLine);
  if (!line) return LINEERR_INVALLINEHANDLE;
  kernel::RemoveHandle(reinterpret_cast<HANDLE>(hLine));
  if (const std::shared_ptr<LineApp> app = FindApp(line->app)) {
    std::lock_guard<std::mutex> lock(app->mutex);
    std::erase(app->lines, hLine);
  }
  return 0;
}

LONG lineGetGeneralInfo(HLINE hLine, LPLINEGENERALINFO lpLineGeneralInfo) {
  if (!FindLine(hLine)) return LINEERR_INVALLINEHANDLE;
  if (lpLineGeneralInfo == nullptr) return LINEERR_INVALPOINTER;
  const std::optional<GeneralInfoTexts> phone = ReadPhone();
  if (!phone) return LINEERR_OPERATIONFAILED;

  DWORD needed = sizeof(LINEGENERALINFO);
  for (const std::u16string& text : phone->texts) needed += VariablePart::SizeOf(text);

  const DWORD total = lpLineGeneralInfo->dwTotalSize;
  if (total < sizeof(LINEGENERALINFO)) {
    if (total >= 2 * sizeof(DWORD)) lpLineGeneralInfo->dwNeededSize = needed;
    return LINEERR_STRUCTURETOOSMALL;
  }
  LINEGENERALINFO info{};
  info.dwTotalSize = total;
  info.dwNeededSize = needed;
  VariablePart part(lpLineGeneralInfo, sizeof(LINEGENERALINFO));
  if (total >= needed) {
    DWORD* fields[][2] = {{&info.dwManufacturerSize, &info.dwManufacturerOffset},
                          {&info.dwModelSize, &info.dwModelOffset},
                          {&info.dwRevisionSize, &info.dwRevisionOffset},
                          {&info.dwSerialNumberSize, &info.dwSerialNumberOffset},
                          {&info.dwSubscriberNumberSize, &info.dwSubscriberNumberOffset}};
    for (size_t i = 0; i < 5; ++i) part.Place(phone->texts[i], *fields[i][0], *fields[i][1]);
  }
  info.dwUsedSize = part.Used();
  std::memcpy(lpLineGeneralInfo, &info, sizeof info);
  return total >= needed ? 0 : LINEERR_STRUCTURETOOSMALL;
}
