// Telephony line devices (TAPI 2.0) and the phone's general information. The device has one line
// device, "Cellular Line", when its settings describe a phone, and none otherwise. Every call
// returns 0 or a LINEERR_ code.
//
// Variable-size structures: the caller sets dwTotalSize to the size of its buffer, which holds the
// fixed structure and room after it; the call sets dwNeededSize to the size everything needs and
// dwUsedSize to what it wrote. Each text lies inside the buffer at its Offset from the structure's
// start, Size bytes long (UTF-16 with its terminator); a missing text has Size and Offset 0.
#pragma once

#include "base/types.h"

DECLARE_HANDLE(HLINEAPP);
DECLARE_HANDLE(HLINE);
typedef HLINEAPP* LPHLINEAPP;
typedef HLINE* LPHLINE;

#define TAPI_CURRENT_VERSION 0x00020000

#define LINEERR_BADDEVICEID (static_cast<LONG>(0x80000002u))
#define LINEERR_INCOMPATIBLEAPIVERSION (static_cast<LONG>(0x8000000Cu))
#define LINEERR_INCOMPATIBLEEXTVERSION (static_cast<LONG>(0x8000000Du))
#define LINEERR_INVALAPPHANDLE (static_cast<LONG>(0x80000014u))
#define LINEERR_INVALLINEHANDLE (static_cast<LONG>(0x8000002Bu))
#define LINEERR_INVALMEDIAMODE (static_cast<LONG>(0x8000002Fu))
#define LINEERR_INVALPARAM (static_cast<LONG>(0x80000032u))
#define LINEERR_INVALPOINTER (static_cast<LONG>(0x80000035u))
#define LINEERR_INVALPRIVSELECT (static_cast<LONG>(0x80000036u))
#define LINEERR_NOMEM (static_cast<LONG>(0x80000044u))
#define LINEERR_OPERATIONFAILED (static_cast<LONG>(0x80000048u))
#define LINEERR_STRUCTURETOOSMALL (static_cast<LONG>(0x8000004Du))

// How the application learns of telephony events: only by event is offered.
#define LINEINITIALIZEEXOPTION_USEHIDDENWINDOW 0x00000001
#define LINEINITIALIZEEXOPTION_USEEVENT 0x00000002
#define LINEINITIALIZEEXOPTION_USECOMPLETIONPORT 0x00000003

#define LINECALLPRIVILEGE_NONE 0x00000001
#define LINECALLPRIVILEGE_MONITOR 0x00000002
#define LINECALLPRIVILEGE_OWNER 0x00000004

#define LINEMEDIAMODE_UNKNOWN 0x00000002
#define LINEMEDIAMODE_INTERACTIVEVOICE 0x00000004
#define LINEMEDIAMODE_DATAMODEM 0x00000010

#define LINEBEARERMODE_VOICE 0x00000001
#define LINEBEARERMODE_DATA 0x00000020
#define LINEADDRESSMODE_ADDRESSID 0x00000001
#define STRINGFORMAT_UNICODE 0x00000003

typedef void (*LINECALLBACK)(DWORD hDevice, DWORD dwMessage, DWORD_PTR dwInstance, DWORD_PTR dwParam1,
                             DWORD_PTR dwParam2, DWORD_PTR dwParam3);

struct LINEINITIALIZEEXPARAMS {
  DWORD dwTotalSize;  // at least sizeof(LINEINITIALIZEEXPARAMS)
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwOptions;
  union {
    HANDLE hEvent;  // out: signalled when telephony messages wait; closed by lineShutdown
    HANDLE hCompletionPort;
  } Handles;
  DWORD dwCompletionKey;
};
typedef LINEINITIALIZEEXPARAMS* LPLINEINITIALIZEEXPARAMS;

struct LINEEXTENSIONID {
  DWORD dwExtensionID0;
  DWORD dwExtensionID1;
  DWORD dwExtensionID2;
  DWORD dwExtensionID3;
};
typedef LINEEXTENSIONID* LPLINEEXTENSIONID;

struct LINEDIALPARAMS {
  DWORD dwDialPause;
  DWORD dwDialSpeed;
  DWORD dwDigitDuration;
  DWORD dwWaitForDialtone;
};

struct LINEDEVCAPS {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwProviderInfoSize;
  DWORD dwProviderInfoOffset;
  DWORD dwSwitchInfoSize;
  DWORD dwSwitchInfoOffset;
  DWORD dwPermanentLineID;
  DWORD dwLineNameSize;
  DWORD dwLineNameOffset;
  DWORD dwStringFormat;
  DWORD dwAddressModes;
  DWORD dwNumAddresses;
  DWORD dwBearerModes;
  DWORD dwMaxRate;
  DWORD dwMediaModes;
  DWORD dwGenerateToneModes;
  DWORD dwGenerateToneMaxNumFreq;
  DWORD dwGenerateDigitModes;
  DWORD dwMonitorToneMaxNumFreq;
  DWORD dwMonitorToneMaxNumEntries;
  DWORD dwMonitorDigitModes;
  DWORD dwGatherDigitsMinTimeout;
  DWORD dwGatherDigitsMaxTimeout;
  DWORD dwMedCtlDigitMaxListSize;
  DWORD dwMedCtlMediaMaxListSize;
  DWORD dwMedCtlToneMaxListSize;
  DWORD dwMedCtlCallStateMaxListSize;
  DWORD dwDevCapFlags;
  DWORD dwMaxNumActiveCalls;
  DWORD dwAnswerMode;
  DWORD dwRingModes;
  DWORD dwLineStates;
  DWORD dwUUIAcceptSize;
  DWORD dwUUIAnswerSize;
  DWORD dwUUIMakeCallSize;
  DWORD dwUUIDropSize;
  DWORD dwUUISendUserUserInfoSize;
  DWORD dwUUICallInfoSize;
  LINEDIALPARAMS MinDialParams;
  LINEDIALPARAMS MaxDialParams;
  LINEDIALPARAMS DefaultDialParams;
  DWORD dwNumTerminals;
  DWORD dwTerminalCapsSize;
  DWORD dwTerminalCapsOffset;
  DWORD dwTerminalTextEntrySize;
  DWORD dwTerminalTextSize;
  DWORD dwTerminalTextOffset;
  DWORD dwDevSpecificSize;
  DWORD dwDevSpecificOffset;
  DWORD dwLineFeatures;
  DWORD dwSettableDevStatus;
  DWORD dwDeviceClassesSize;
  DWORD dwDeviceClassesOffset;
  GUID PermanentLineGuid;
  DWORD dwAddressTypes;
  GUID ProtocolGuid;
  DWORD dwAvailableTracking;
};
typedef LINEDEVCAPS* LPLINEDEVCAPS;

struct LINEGENERALINFO {
  DWORD dwTotalSize;
  DWORD dwNeededSize;
  DWORD dwUsedSize;
  DWORD dwManufacturerSize;
  DWORD dwManufacturerOffset;
  DWORD dwModelSize;
  DWORD dwModelOffset;
  DWORD dwRevisionSize;
  DWORD dwRevisionOffset;
  DWORD dwSerialNumberSize;    // the IMEI
  DWORD dwSerialNumberOffset;
  DWORD dwSubscriberNumberSize;  // the IMSI
  DWORD dwSubscriberNumberOffset;
};
typedef LINEGENERALINFO* LPLINEGENERALINFO;

// Registers a telephony application. *lpdwAPIVersion is the highest version the application
// knows on entry and TAPI_CURRENT_VERSION on return; *lpdwNumDevs the number of line devices.
// Only LINEINITIALIZEEXOPTION_USEEVENT is offered (else LINEERR_INVALPARAM).
LONG lineInitializeEx(LPHLINEAPP lphLineApp, HINSTANCE hInstance, LINECALLBACK lpfnCallback,
                      LPCWSTR lpszFriendlyAppName, LPDWORD lpdwNumDevs, LPDWORD lpdwAPIVersion,
                      LPLINEINITIALIZEEXPARAMS lpLineInitializeExParams);
// Ends the application's use of telephony: its open lines are closed and its event released.
LONG lineShutdown(HLINEAPP hLineApp);

// The highest version in [low, high] that the device supports, with the line's extension id.
LONG lineNegotiateAPIVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPILowVersion, DWORD dwAPIHighVersion,
                             LPDWORD lpdwAPIVersion, LPLINEEXTENSIONID lpExtensionID);
// The line's extension version 0x00010000 when the bounds include it.
LONG lineNegotiateExtVersion(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtLowVersion,
                             DWORD dwExtHighVersion, LPDWORD lpdwExtVersion);

// The line's capabilities. dwTotalSize must cover the fixed structure (else
// LINEERR_STRUCTURETOOSMALL); when it does not cover the texts as well, the call succeeds with the
// fixed fields only and dwNeededSize tells the size to ask again with.
LONG lineGetDevCaps(HLINEAPP hLineApp, DWORD dwDeviceID, DWORD dwAPIVersion, DWORD dwExtVersion,
                    LPLINEDEVCAPS lpLineDevCaps);

// Opens a line device. Privileges: LINECALLPRIVILEGE_NONE alone, or MONITOR and OWNER in any
// combination (else LINEERR_INVALPRIVSELECT); an owner names media modes the line offers (voice,
// data modem, unknown; else LINEERR_INVALMEDIAMODE). Call parameters are not used.
LONG lineOpen(HLINEAPP hLineApp, DWORD dwDeviceID, LPHLINE lphLine, DWORD dwAPIVersion, DWORD dwExtVersion,
              DWORD_PTR dwCallbackInstance, DWORD dwPrivileges, DWORD dwMediaModes, const void* lpCallParams);
LONG lineClose(HLINE hLine);

// The phone's manufacturer, model, revision, serial number (IMEI) and subscriber number (IMSI),
// from the device settings; a field the settings leave out (or empty) is missing. Unlike the
// other calls, a buffer that holds the fixed structure but not the texts fails with
// LINEERR_STRUCTURETOOSMALL (dwNeededSize set, no texts written).
LONG lineGetGeneralInfo(HLINE hLine, LPLINEGENERALINFO lpLineGeneralInfo);
