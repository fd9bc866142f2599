// A stand-in for the client in order-pay mode, started by the service as "KorvexPortal.exe" with
// "/ORDERPAY:<order>". It writes its command line to "\Temp\fake_client.txt", then does what the
// order's parameter "fake" says:
//   paid       hands back status 0 with the order's "data" text ("result=successed" without one)
//   failed     hands back status 4 without payload
//   silent     ends without handing anything back
//   abort      dies (SIGABRT) without handing anything back
//   oversize   hands back status 0 with 5000 bytes of trade data, more than the block holds
//   slow       waits for the device's event "FakeClientGo", then does as "paid"
// and with "signal=NAME" it first sets the existing event NAME (the benchmark's start mark). It
// ends with 0, as the client does, whatever happened.
#include <cstdlib>
#include <string>

#include "handoff/order_pay_handoff.h"
#include "kernel/entry.h"
#include "windows.h"

namespace {

// The value of name in the order's "a=b&c=d" text; empty when missing.
std::u16string Parameter(const std::u16string& order, const std::u16string& name)
{
  size_t start = 0;
  while (start <= order.size()) {
    size_t end = order.find(u'&', start);
    std::u16string piece = order.substr(start, end == std::u16string::npos ? std::u16string::npos : end - start);
    if (piece.compare(0, name.size() + 1, name + u"=") == 0) {
      return piece.substr(name.size() + 1);
    }
    if (end == std::u16string::npos) {
      break;
    }
    start = end + 1;
  }
  return {};
}

void WriteText(const char16_t* path, const std::u16string& text)
{
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(char16_t)), &written, nullptr);
  CloseHandle(file);
}

void SetExistingEvent(const std::u16string& name)
{
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    SetEvent(event);
  }
  CloseHandle(event);
}

void HandBack(DWORD status, const std::u16string& payload)
{
  OrderPayHandoffHeader header = {0, status, kHandoffHeaderLength,
                                  static_cast<DWORD>(payload.size() * sizeof(char16_t))};
  WriteHandoff(header, reinterpret_cast<const BYTE*>(payload.data()));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPWSTR lpCmdLine, int)
{
  std::u16string line = lpCmdLine;
  WriteText(u"\\Temp\\fake_client.txt", line);
  std::u16string order = line.substr(line.find(u':') == std::u16string::npos ? line.size() : line.find(u':') + 1);
  if (std::u16string signal = Parameter(order, u"signal"); !signal.empty()) {
    SetExistingEvent(signal);
  }
  std::u16string mode = Parameter(order, u"fake");
  std::u16string data = Parameter(order, u"data");
  if (mode == u"slow") {
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"FakeClientGo");
    WaitForSingleObject(go, INFINITE);
    CloseHandle(go);
    mode = u"paid";
  }
  if (mode == u"paid") {
    HandBack(kHandoffPaid, data.empty() ? kHandoffPaidWithoutData : data);
  } else if (mode == u"failed") {
    HandBack(kHandoffFailed, u"");
  } else if (mode == u"oversize") {
    HandBack(kHandoffPaid, std::u16string(2500, u'x'));
  } else if (mode == u"abort") {
    std::abort();
  }
  return 0;
}
