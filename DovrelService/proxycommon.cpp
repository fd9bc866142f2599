#include "proxycommon.h"

#include "base/errors.h"
#include "base/lasterror.h"
#include "handoff_channel.h"
#include "install_dir.h"
#include "kernel/handle.h"
#include "kernel/interlocked.h"
#include "kernel/process.h"
#include "kernel/thread.h"
#include "kernel/wait.h"
#include "log_writer.h"
#include "msgbox/message_box.h"
#include "text/format.h"
#include "text/widechar.h"

namespace {

constexpr WCHAR kTitle[] = u"Korvex收银台";
constexpr DWORD kWaitSlice = 1000;

LONG volatile g_ordersInProgress = 0;

// Counts this order as in progress for the life of the object.
class OrderInProgress {
 public:
  OrderInProgress() : first_(InterlockedIncrement(&g_ordersInProgress) == 1) {}
  ~OrderInProgress() { InterlockedDecrement(&g_ordersInProgress); }
  OrderInProgress(const OrderInProgress&) = delete;
  OrderInProgress& operator=(const OrderInProgress&) = delete;
  bool first() const { return first_; }

 private:
  bool first_;
};

void PutText(WCHAR* result, DWORD capacity, const WCHAR* text)
{
  _snwprintf(result, capacity + 1, u"%s", text);
}

int Refuse(const WCHAR* text)
{
  MessageBoxW(nullptr, text, kTitle, MB_OK);
  return kOrderBusyOrNotStarted;
}

// The client, started suspended and resumed only once its hand-off exists, so it can never
// reach the hand-off before the service could read it.
bool StartClient(const WCHAR* path, WCHAR* commandLine, HandoffChannel& channel, PROCESS_INFORMATION& client)
{
  if (!CreateProcessW(path, commandLine, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, nullptr,
                      &client)) {
    return false;
  }
  WRITE_LOG_ENTRY(u"CreateProcess");
  if (!channel.Create(client.dwProcessId)) {
    WRITE_LOG_ENTRY(u"创建交互缓冲区失败,将不输出支付结果的数据");
  } else if (ResumeThread(client.hThread) == 1) {
    return true;
  }
  TerminateProcess(client.hProcess, 0);
  CloseHandle(client.hThread);
  CloseHandle(client.hProcess);
  channel.Close();
  return false;
}

// Waits in slices until the client set the event or ended; the event is looked at once more
// after the end, since the client may set it just before it goes. true when it was set.
bool AwaitHandoff(const HandoffChannel& channel, HANDLE client, DWORD* exitCode)
{
  const HANDLE objects[] = {channel.Event(), client};
  for (;;) {
    DWORD waited = WaitForMultipleObjects(2, objects, FALSE, kWaitSlice);
    if (waited == WAIT_OBJECT_0) {
      return true;
    }
    if (waited != WAIT_TIMEOUT && waited != WAIT_OBJECT_0 + 1) {
      return false;
    }
    if (GetExitCodeProcess(client, exitCode) && *exitCode != STILL_ACTIVE) {
      return WaitForSingleObject(channel.Event(), 0) == WAIT_OBJECT_0;
    }
  }
}

}  // namespace

int RunOrderPay(const WCHAR* order, WCHAR* result, DWORD* capacity)
{
  OrderInProgress inProgress;
  if (!inProgress.first()) {
    int code = Refuse(u"Korvex收银台已经打开,请先完成上次的支付后再进入支付");
    PutText(result, *capacity, u"result=fail");
    return code;
  }

  WCHAR commandLine[MAX_COMMAND_LINE + 1] = {};
  bool orderFits = _snwprintf(commandLine, MAX_COMMAND_LINE + 1, u"%s:%s", u"/ORDERPAY", order) >= 0;
  WCHAR path[MAX_PATH] = {};
  if (!GetMainProgramPath(path)) {
    WRITE_LOG_ENTRY(u"获取支付模块路径失败");
    return Refuse(u"获取支付模块路径失败");
  }
  HandoffChannel channel;
  PROCESS_INFORMATION client = {};
  if (!orderFits || !StartClient(path, commandLine, channel, client)) {
    WRITE_LOG_ENTRY(u"启动支付模块失败");
    return Refuse(u"启动支付模块失败");
  }

  int code = kOrderFailed;
  DWORD exitCode = STILL_ACTIVE;
  if (AwaitHandoff(channel, client.hProcess, &exitCode)) {
    OrderPayHandoffHeader header = {};
    if (!channel.Take(&header, result, *capacity)) {
      WRITE_LOG_ENTRY(u"ReadHandoffBlock");
    } else if (header.status != kHandoffPaid) {
      // Only a paid outcome carries text back.
      result[0] = u'\0';
      code = static_cast<int>(header.status);
    } else {
      code = kOrderPaid;
    }
  } else {
    WRITE_LOG_ENTRY(u"GetExitCodeProcess %d", static_cast<int>(exitCode));
  }
  channel.Close();
  CloseHandle(client.hThread);
  CloseHandle(client.hProcess);
  return code;
}
