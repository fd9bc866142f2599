// The order-pay hand-off: how the gateway service hears the outcome of one merchant order from
// the client it started for it. The service makes a shared block and a manual-reset event, both
// named from the client's process id, before the client runs; the client writes the outcome
// into the block and sets the event.
//
// Block (4095 bytes; integers 32-bit little-endian):
//   offset 0   reserved, written as 0
//          4   status: 0 paid, 4 failed or cancelled
//          8   header length: 16; the payload starts there
//          12  payload length in bytes (even)
//          16  payload: UTF-16LE text without terminator; the trade data of a paid order or
//              "result=successed", empty for status 4
// Both sides check the sizes: the writer never writes past the block and the reader takes
// nothing the header places outside it.
#pragma once

#include "base/types.h"
#include "text/cstring.h"

inline constexpr DWORD kHandoffBlockSize = 4095;
inline constexpr DWORD kHandoffHeaderLength = 16;
inline constexpr DWORD kHandoffMaxPayload = kHandoffBlockSize - kHandoffHeaderLength;
inline constexpr DWORD kHandoffPaid = 0;
inline constexpr DWORD kHandoffFailed = 4;
// What a paid order hands back when it has no trade data, or more than the block holds.
inline constexpr WCHAR kHandoffPaidWithoutData[] = u"result=successed";

struct OrderPayHandoffHeader {
  DWORD reserved;
  DWORD status;
  DWORD headerLength;
  DWORD payloadLength;
};
static_assert(sizeof(OrderPayHandoffHeader) == kHandoffHeaderLength);

// The name of the block and of the event: "KORVEX" and the process id in lower-case
// hexadecimal, padded on the left with blanks to 8 characters ("KORVEX    1a2b").
CStringW HandoffObjectName(DWORD processId);

// The client's side: writes the header and the payload (payloadLength bytes; null when there is
// none) into the block named from this process and sets the event. A paid outcome whose payload
// does not fit the block hands back "result=successed" instead; a failed one hands back no
// payload. FALSE, with a log entry and nothing written, when the service's block or event does
// not exist (a block this call would make new is not used), and with ERROR_INVALID_PARAMETER for
// a header length other than 16, an odd payload length or a missing payload.
BOOL WriteHandoff(const OrderPayHandoffHeader& header, const BYTE* payload);

// The service's side: reads a written block of blockSize bytes. Fills header and copies the
// payload into text (capacity characters, terminator not counted) and terminates it. false, with
// text empty, when the header does not describe a payload inside the block or the payload does
// not fit text.
bool ReadHandoffBlock(const BYTE* block, DWORD blockSize, OrderPayHandoffHeader* header, WCHAR* text,
                      DWORD capacity);
