// The phone's identity as the gateway knows it: the subscriber number (IMSI) and the serial
// number (IMEI) of the cellular line, read through telephony.
#pragma once

#include "base/types.h"
#include "phone/tapi.h"
#include "text/cstring.h"

// What GetGeneralInfoText found: valid is 1 when the information was read; the digit fields
// hold up to 15 ASCII digits of each number, zero-terminated.
struct DeviceIdentity {
  int32_t valid;
  WCHAR subscriberDigits[128];
  WCHAR serialDigits[128];
};
static_assert(sizeof(DeviceIdentity) == 516);

// The phone's cellular line ("Cellular Line"), opened for reading its general information.
class CTapiLine {
 public:
  CTapiLine() = default;
  // Closes the line and ends the use of telephony when they were opened.
  ~CTapiLine();
  CTapiLine(const CTapiLine&) = delete;
  CTapiLine& operator=(const CTapiLine&) = delete;

  // Starts telephony and opens the cellular line with the extension version 1.0. FALSE, with
  // telephony ended again, when there is no such line or it cannot be opened.
  BOOL Initialize();
  // The device index of the last line with exactly this name, or -1.
  int FindLineByName(const WCHAR* name);
  // "Unknown Error: 0x%X" for a telephony error code, into size bytes of buffer; the device
  // has no message texts for them.
  static void FormatError(WCHAR* buffer, DWORD size, DWORD error);
  // The manufacturer, model, revision, serial and subscriber numbers as
  // "Manufacturer: %s|Model: %s|Revision: %s|Serial No: %s|Subscriber No: %s|" ("Unavailable"
  // for a missing one) into text, and the identity. On a telephony error a log entry is written,
  // text is left alone and the identity is cleared (valid 0).
  DeviceIdentity GetGeneralInfoText(CStringW& text);

 private:
  DWORD numDevices = 0;
  DWORD apiVersion = 0x00020000;
  HLINEAPP lineApp = nullptr;
  HLINE line = nullptr;
  DWORD extVersion = 0;
  int lineIndex = -1;
};

// The form the application's screens use: the identity of an opened line, also into record.
class CDeviceInfo {
 public:
  static DeviceIdentity& GetGeneralInfoText(CTapiLine& line, DeviceIdentity& record, CStringW& text);
};
