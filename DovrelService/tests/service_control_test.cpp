// The service's entry points as the service host calls them: the control codes in the order a
// host and its callers use them, and connections handed over while the service runs or not.
#include "DovrelService.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/errors.h"
#include "base/lasterror.h"
#include "dovrel_test_support.h"
#include "services/connection_handover.h"
#include "services/services.h"

namespace {

using common_test::ReadDeviceFile;
using dovrel_test::BrowserConnection;

constexpr DWORD kUntouched = 0xAAAAAAAA;

struct Call {
  DWORD code;
  DWORD outSize;
  BOOL result;
  DWORD error;     // when it fails
  DWORD output;    // what the output buffer then holds
  DWORD returned;  // what the returned size then holds
};

void Check(const Call& call)
{
  BYTE out[8];
  std::memset(out, 0xAA, sizeof out);
  DWORD returned = kUntouched;
  SetLastError(ERROR_SUCCESS);
  EXPECT_EQ(PAY_IOControl(1, call.code, nullptr, 0, call.outSize ? out : nullptr, call.outSize, &returned),
            call.result);
  if (!call.result) {
    EXPECT_EQ(GetLastError(), call.error);
  }
  DWORD output = 0;
  std::memcpy(&output, out, sizeof output);
  EXPECT_EQ(output, call.output);
  EXPECT_EQ(returned, call.returned);
}

using ServiceControl = dovrel_test::ClientDevice;

TEST_F(ServiceControl, AnswersTheControlCodes)
{
  EXPECT_EQ(PAY_Init(0), 1u);
  const Call script[] = {
      {IOCTL_SERVICE_STATUS, 4, TRUE, 0, SERVICE_STATE_OFF, 4},
      {IOCTL_SERVICE_STATUS, 2, FALSE, ERROR_INVALID_PARAMETER, kUntouched, kUntouched},
      {IOCTL_SERVICE_STATUS, 0, FALSE, ERROR_INVALID_PARAMETER, kUntouched, kUntouched},
      {IOCTL_SERVICE_START, 0, TRUE, 0, kUntouched, kUntouched},
      {IOCTL_SERVICE_REFRESH, 0, TRUE, 0, kUntouched, kUntouched},
      {IOCTL_SERVICE_REGISTER_SOCKADDR, 0, TRUE, 0, kUntouched, kUntouched},
      {IOCTL_SERVICE_SUPPORTED_OPTIONS, 4, TRUE, 0, 0, 4},
      {IOCTL_SERVICE_SUPPORTED_OPTIONS, 3, FALSE, ERROR_INVALID_PARAMETER, kUntouched, kUntouched},
      {IOCTL_SERVICE_STATUS, 4, TRUE, 0, SERVICE_STATE_OFF, 4},  // only STARTED starts it
      {IOCTL_SERVICE_STARTED, 0, TRUE, 0, kUntouched, kUntouched},
      {IOCTL_SERVICE_STATUS, 8, TRUE, 0, SERVICE_STATE_ON, 4},
      {IOCTL_SERVICE_STARTED, 0, FALSE, ERROR_SERVICE_ALREADY_RUNNING, kUntouched, kUntouched},
      {IOCTL_SERVICE_STATUS, 4, TRUE, 0, SERVICE_STATE_ON, 4},
      {IOCTL_SERVICE_DEREGISTER_SOCKADDR, 0, TRUE, 0, kUntouched, kUntouched},
      {IOCTL_SERVICE_STOP, 0, TRUE, 0, kUntouched, kUntouched},
      {IOCTL_SERVICE_STATUS, 4, TRUE, 0, SERVICE_STATE_OFF, 4},  // stopped means stopped
      {IOCTL_SERVICE_STARTED, 0, TRUE, 0, kUntouched, kUntouched},
      {IOCTL_SERVICE_STATUS, 4, TRUE, 0, SERVICE_STATE_ON, 4},
      {0x01040040, 4, FALSE, ERROR_INVALID_PARAMETER, kUntouched, kUntouched},
      {IOCTL_SERVICE_CONNECTION, 0, FALSE, ERROR_INVALID_PARAMETER, kUntouched, kUntouched},  // no input
  };
  for (size_t i = 0; i < std::size(script); ++i) {
    SCOPED_TRACE("call " + std::to_string(i));
    Check(script[i]);
  }

  // Every call writes an entry of its own and one for its code.
  std::string before = ReadDeviceFile(u"\\Temp\\dovrel_tests.exe.1.log");
  Check({IOCTL_SERVICE_REFRESH, 0, TRUE, 0, kUntouched, kUntouched});
  std::string added = ReadDeviceFile(u"\\Temp\\dovrel_tests.exe.1.log").substr(before.size());
  EXPECT_EQ(added.find(".\\DovrelService.cpp("), 0u);
  EXPECT_NE(added.find(".\\DovrelService.cpp(", 1), std::string::npos);

  BYTE stream[4] = {};
  EXPECT_EQ(PAY_Read(1, stream, 4), 0u);
  EXPECT_EQ(PAY_Write(1, stream, 4), 0u);
  EXPECT_EQ(PAY_Deinit(1), FALSE);
}

TEST_F(ServiceControl, ServesConnectionsOnlyWhileRunning)
{
  struct Case {
    const char* what;
    DWORD state;
    DWORD inputSize;
    BOOL result;
    DWORD error;
    std::string answer;
  } cases[] = {
      {"not running: closed at once", IOCTL_SERVICE_STOP, 4, FALSE, ERROR_SERVICE_CANNOT_ACCEPT_CTRL, ""},
      {"an input of 2 bytes: refused, and the host closes it", IOCTL_SERVICE_STARTED, 2, FALSE,
       ERROR_INVALID_PARAMETER, ""},
      {"running: the order is served on a thread of its own", IOCTL_SERVICE_STARTED, 4, TRUE, 0, "T77"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PAY_IOControl(1, c.state, nullptr, 0, nullptr, 0, nullptr);
    BrowserConnection connection;
    connection.Send("GET /gateway.do?service=order_pay&fake=paid&data=T77 HTTP/1.1\r\n\r\n");
    DWORD number = services::HandOverConnection(connection.Release());
    ASSERT_NE(number, 0u);
    SetLastError(ERROR_SUCCESS);
    BOOL result = PAY_IOControl(1, IOCTL_SERVICE_CONNECTION, reinterpret_cast<PBYTE>(&number), c.inputSize, nullptr,
                                0, nullptr);
    DWORD error = GetLastError();
    services::ReclaimConnection(number);  // as the host does after every hand-over
    EXPECT_EQ(result, c.result);
    if (!result) {
      EXPECT_EQ(error, c.error);
    }
    EXPECT_EQ(connection.ReadAll(), c.answer);
    EXPECT_EQ(ReadDeviceFile(u"\\Temp\\fake_client.txt").empty(), c.answer.empty()) << "a client ran";
  }
}

}  // namespace
