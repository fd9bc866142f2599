#include "order_pay_handoff.h"

#include <cstring>

#include "base/errors.h"
#include "base/lasterror.h"
#include "kernel/event.h"
#include "kernel/handle.h"
#include "kernel/mapping.h"
#include "kernel/process.h"
#include "log_writer.h"

namespace {

// Opens an object the service made: the handle when it already existed, else null (a handle
// this call made new is closed again).
HANDLE KeepIfExisted(HANDLE handle)
{
  if (handle != nullptr && GetLastError() != ERROR_ALREADY_EXISTS) {
    CloseHandle(handle);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
  }
  return handle;
}

}  // namespace

CStringW HandoffObjectName(DWORD processId)
{
  CStringW name;
  name.Format(u"KORVEX%8x", processId);
  return name;
}

BOOL WriteHandoff(const OrderPayHandoffHeader& header, const BYTE* payload)
{
  if (header.headerLength != kHandoffHeaderLength || header.payloadLength % 2 != 0 ||
      (header.payloadLength > 0 && payload == nullptr)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  OrderPayHandoffHeader written = header;
  written.reserved = 0;
  if (written.payloadLength > kHandoffMaxPayload) {
    // Trade data the block cannot hold: a paid order still reads as paid.
    bool paid = header.status == kHandoffPaid;
    payload = paid ? reinterpret_cast<const BYTE*>(kHandoffPaidWithoutData) : nullptr;
    written.payloadLength = paid ? sizeof kHandoffPaidWithoutData - sizeof(WCHAR) : 0;
  }

  CStringW name = HandoffObjectName(GetCurrentProcessId());
  HANDLE block = KeepIfExisted(CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE | SEC_COMMIT, 0,
                                                  kHandoffHeaderLength + written.payloadLength, name));
  if (block == nullptr) {
    WRITE_LOG_ENTRY(u"");
    return FALSE;
  }
  auto* view = static_cast<BYTE*>(MapViewOfFile(block, FILE_MAP_WRITE, 0, 0, 0));
  HANDLE event = view ? KeepIfExisted(CreateEventW(nullptr, TRUE, FALSE, name)) : nullptr;
  if (event == nullptr) {
    WRITE_LOG_ENTRY(u"");
    if (view) {
      UnmapViewOfFile(view);
    }
    CloseHandle(block);
    return FALSE;
  }
  std::memcpy(view, &written, sizeof written);
  if (written.payloadLength > 0) {
    std::memcpy(view + kHandoffHeaderLength, payload, written.payloadLength);
  }
  SetEvent(event);
  CloseHandle(event);
  UnmapViewOfFile(view);
  CloseHandle(block);
  return TRUE;
}

bool ReadHandoffBlock(const BYTE* block, DWORD blockSize, OrderPayHandoffHeader* header, WCHAR* text,
                      DWORD capacity)
{
  text[0] = u'\0';
  if (blockSize < kHandoffHeaderLength) {
    return false;
  }
  std::memcpy(header, block, sizeof *header);
  DWORD offset = header->headerLength;
  DWORD length = header->payloadLength;
  if (offset < kHandoffHeaderLength || offset > blockSize || length > blockSize - offset || length % 2 != 0 ||
      length / sizeof(WCHAR) > capacity) {
    return false;
  }
  std::memcpy(text, block + offset, length);
  text[length / sizeof(WCHAR)] = u'\0';
  return true;
}
